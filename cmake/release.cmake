# The release: the program stripped, beside its help page, the translation template and guide, and the
# licence notices of what is linked into it, zipped with fixed dates (the same sources and tools give the same zip)
# and checksummed. `make dist` copies the result to dist/; the release tests check this very zip.
set(QZ_RELEASE qzcl-${PROJECT_VERSION}-win64)
set(QZ_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
set(QZ_STAGE ${QZ_RELEASE_DIR}/${QZ_RELEASE})
# The installer recipes, for vendors to start from.
set(QZ_RECIPES qzcl-example.nsi qzcl-example.wxs qzcl-example-msi.sh qzcl-example.iss)
list(TRANSFORM QZ_RECIPES PREPEND ${CMAKE_SOURCE_DIR}/docs/recipes/ OUTPUT_VARIABLE QZ_RECIPE_SOURCES)
list(TRANSFORM QZ_RECIPES PREPEND recipes/ OUTPUT_VARIABLE QZ_RECIPE_FILES)
set(QZ_RELEASE_FILES qzcl.exe qzcl.html QZCLLang-template.str translation-file.md licences/SQLite.md
                     licences/mingw-w64-runtime.txt licences/gcc-runtime.txt ${QZ_RECIPE_FILES})
list(TRANSFORM QZ_RELEASE_FILES PREPEND ${QZ_RELEASE}/ OUTPUT_VARIABLE QZ_ZIPPED)
add_custom_command(
  OUTPUT ${QZ_RELEASE_DIR}/${QZ_RELEASE}.zip ${QZ_RELEASE_DIR}/SHA256SUMS
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QZ_RELEASE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QZ_STAGE}/licences ${QZ_STAGE}/recipes
  # strip writes the time into the header unless told a fixed one; the linker wrote none.
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} --strip-all -o ${QZ_STAGE}/qzcl.exe
          $<TARGET_FILE:qzcl>
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/qzcl.html ${CMAKE_SOURCE_DIR}/docs/translation-file.md
          ${QZ_TEMPLATE} ${QZ_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${QZ_RECIPE_SOURCES} ${QZ_STAGE}/recipes
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/third_party/sqlite3/LICENSE.md ${QZ_STAGE}/licences/SQLite.md
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/mingw-w64-x86-64-dev/copyright
          ${QZ_STAGE}/licences/mingw-w64-runtime.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright
          ${QZ_STAGE}/licences/gcc-runtime.txt
  # Fixed dates and no extra fields (which would carry the files' status-change times): the same bytes each time.
  COMMAND ${CMAKE_COMMAND} -E chdir ${QZ_RELEASE_DIR} touch -d "2000-01-01 00:00:00 UTC" ${QZ_ZIPPED}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QZ_RELEASE_DIR} ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q ${QZ_RELEASE}.zip
          ${QZ_ZIPPED}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QZ_RELEASE_DIR} sh -c "sha256sum ${QZ_RELEASE}.zip > SHA256SUMS"
  DEPENDS qzcl translation_template_file ${CMAKE_SOURCE_DIR}/docs/qzcl.html ${CMAKE_SOURCE_DIR}/docs/translation-file.md
          ${CMAKE_SOURCE_DIR}/third_party/sqlite3/LICENSE.md ${QZ_RECIPE_SOURCES}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${QZ_RELEASE}.zip"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${QZ_RELEASE_DIR}/${QZ_RELEASE}.zip)

# The release tests: the zip unpacked and run, and the program's imports against what Windows 7 has.
add_test(NAME release.zip_unpacks_and_runs_cmd
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/zip_test.sh ${QZ_RELEASE_DIR} ${QZ_RELEASE} ${PROJECT_VERSION})
add_test(NAME release.imports_only_what_windows_7_has
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/windows7_test.sh $<TARGET_FILE:qzcl> ${CMAKE_BINARY_DIR}/delay
                 ${QZ_STAGE}/qzcl.exe)
# The recipes built with makensis and wixl and run silently under Wine against a demo installation.
add_test(NAME release.recipes_install_and_remove_byte_for_byte
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/recipes_test.sh ${QZ_STAGE})
set_tests_properties(release.zip_unpacks_and_runs_cmd release.imports_only_what_windows_7_has
                     release.recipes_install_and_remove_byte_for_byte PROPERTIES RUN_SERIAL TRUE)
