# The translation template, QZCLLang-template.str: every text the program passes through its translator.
# xgettext finds the texts in the sources: the phrases handed to tr, TranslateMessage and RefuseText,
# and those marked with Phrase where a table or a format holds them until later. The program's own store
# then writes them as a translation file (under Wine in the Windows build).
find_program(QZ_XGETTEXT xgettext REQUIRED)
file(GLOB_RECURSE QZ_TRANSLATED_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
list(SORT QZ_TRANSLATED_SOURCES)
set(QZ_TEMPLATE ${CMAKE_BINARY_DIR}/QZCLLang-template.str)
set(QZ_CATALOGUE ${CMAKE_BINARY_DIR}/qzcl.pot)
set(QZ_TOOL_RUNNER)
if(WIN32)
  set(QZ_TOOL_RUNNER ${CMAKE_SOURCE_DIR}/scripts/wine-tool)
endif()
add_custom_command(
  OUTPUT ${QZ_TEMPLATE}
  COMMAND ${QZ_XGETTEXT} --language=C++ --from-code=UTF-8 --sort-output --omit-header --no-wrap --keyword=
          --keyword=tr --keyword=Phrase --keyword=TranslateMessage:1 --keyword=RefuseText:3
          --output=${QZ_CATALOGUE} ${QZ_TRANSLATED_SOURCES}
  # Run from the build folder with plain names: the Windows tool sees them through Wine's drive mapping.
  COMMAND ${QZ_TOOL_RUNNER} $<TARGET_FILE:translation_template> qzcl.pot QZCLLang-template.str
  DEPENDS translation_template ${QZ_TRANSLATED_SOURCES}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Extracting the translation template"
  VERBATIM)
add_custom_target(translation_template_file ALL DEPENDS ${QZ_TEMPLATE})
