# The Windows build: the product, its adapters and the tests that run under Wine.
set(QZ_WIN32_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
set_source_files_properties(src/platform/file_errors_win32.cpp PROPERTIES COMPILE_DEFINITIONS
                                                                          "${QZ_WIN32_DEFINITIONS}")

file(GLOB QZ_WIN32_SOURCES CONFIGURE_DEPENDS src/*/*_win32.cpp)
list(FILTER QZ_WIN32_SOURCES EXCLUDE REGEX "(main|file_errors)_win32\\.cpp$")
add_library(qzwin STATIC ${QZ_WIN32_SOURCES})
target_link_libraries(qzwin PUBLIC qzcore comctl32 user32 gdi32 advapi32 shell32 comdlg32 shlwapi)
target_compile_options(qzwin PRIVATE ${QZ_WARNINGS})
target_compile_definitions(qzwin PUBLIC ${QZ_WIN32_DEFINITIONS})

# Every program is linked whole: it runs under Wine or on a Windows machine without MinGW's DLLs.
function(qz_windows_executable name)
  add_executable(${name} ${ARGN})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

# Every system DLL but kernel32 is delay-loaded into qzcl.exe: an unattended run that shows no window
# never pays for user32, comctl32 or shell32, which cost Wine tens of milliseconds each at start-up.
# MinGW-w64 ships only ordinary import libraries, so the delay-load ones are generated from them.
set(QZ_DELAY_LIBS)
foreach(dll user32 gdi32 comctl32 shell32 comdlg32 advapi32 shlwapi)
  set(out ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  if(NOT EXISTS ${out})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay)
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/cmake/delay-import.sh ${dll} ${out} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  list(APPEND QZ_DELAY_LIBS ${out})
endforeach()

configure_file(res/qzcl.rc.in ${CMAKE_BINARY_DIR}/qzcl.rc @ONLY)
qz_windows_executable(qzcl WIN32 src/app/main_win32.cpp ${CMAKE_BINARY_DIR}/qzcl.rc)
target_include_directories(qzcl PRIVATE res)
# The delay-import libraries come first, so they answer for the system functions.
target_link_libraries(qzcl PRIVATE ${QZ_DELAY_LIBS} qzwin ${QZ_DELAY_LIBS} delayimp)
target_compile_options(qzcl PRIVATE ${QZ_WARNINGS})
# Windows 7 is the oldest Windows the program supports: the header says so, and the release tests check
# that it imports nothing that Windows lacks.
target_link_options(qzcl PRIVATE -Wl,--major-os-version,6,--minor-os-version,1
                    -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
# Sections aligned to pages in the file, as in memory: Wine then maps the image instead of reading all of
# it at every start, which cost an unattended run more than a millisecond, most of its time beyond Wine's
# own. Windows maps either kind; the file grows by a few pages.
target_link_options(qzcl PRIVATE -Wl,--file-alignment,4096)
# No link time in the header: the same sources and tools give the same program, and so the same release zip.
target_link_options(qzcl PRIVATE -Wl,--no-insert-timestamp)
# The help page travels beside the program.
add_custom_command(TARGET qzcl POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/docs/qzcl.html $<TARGET_FILE_DIR:qzcl>/qzcl.html)

# GoogleTest from the sources Debian installs.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_library(qz_win_test_main STATIC tests/win/test_main_win32.cpp)
target_link_libraries(qz_win_test_main PUBLIC gtest)

# Each test is listed and run on its own by ctest, through Wine; they share WIN.INI and the registry, so
# one at a time.
function(qz_add_win_test name)
  qz_windows_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE qzwin qz_win_test_main)
  target_include_directories(${name} PRIVATE tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES RUN_SERIAL TRUE)
endfunction()

file(GLOB QZ_WIN_TESTS CONFIGURE_DEPENDS tests/win/*_test.cpp)
qz_add_win_test(win_tests ${QZ_WIN_TESTS})
# The template is read from where the build writes it, through Wine's mapping of the root folder.
target_compile_definitions(win_tests PRIVATE QZ_TRANSLATION_TEMPLATE="Z:${CMAKE_BINARY_DIR}/QZCLLang-template.str")
add_dependencies(win_tests translation_template_file)

# End-to-end: qzcl.exe driven through its real windows and boxes.
# The driver that operates qzcl.exe from outside, for the end-to-end tests and the window benchmarks.
add_library(qz_e2e_driver INTERFACE)
target_include_directories(qz_e2e_driver INTERFACE tests)
target_link_libraries(qz_e2e_driver INTERFACE qzwin)
file(GLOB QZ_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*_test.cpp)
qz_add_win_test(e2e_tests ${QZ_E2E_TESTS})
target_link_libraries(e2e_tests PRIVATE qz_e2e_driver)
# The Wine tests of the adapters share the driver's stand-in IDE.
target_link_libraries(win_tests PRIVATE qz_e2e_driver)
add_dependencies(e2e_tests qzcl)
# A full disk: qzcl.exe alone runs under a file size limit, which only a Unix shell can set.
add_test(NAME Files.a_full_disk_fails_each_change_and_leaves_the_file_as_it_was
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/full_disk_test.sh $<TARGET_FILE:qzcl>)
set_tests_properties(Files.a_full_disk_fails_each_change_and_leaves_the_file_as_it_was PROPERTIES RUN_SERIAL TRUE)

# Times the editor window with a large section, operating it through the driver.
qz_windows_executable(editor_bench bench/editor_bench_win32.cpp)
target_link_libraries(editor_bench PRIVATE qz_e2e_driver)
add_dependencies(editor_bench qzcl e2e_box_probe)
qz_windows_executable(notes_bench bench/notes_bench_win32.cpp)
target_link_libraries(notes_bench PRIVATE qz_e2e_driver)
add_dependencies(notes_bench qzcl e2e_box_probe)

# Times the lock a file change takes, on the redirection file of a RED.
qz_windows_executable(lock_bench bench/lock_bench_win32.cpp)
target_link_libraries(lock_bench PRIVATE qzwin)

# A minimal static program that exits at once: the yardstick of the start-up benchmark.
qz_windows_executable(exit_at_once WIN32 bench/exit_at_once_win32.cpp)

# Identifies a message box's icon inside the process that shows it (icon handles do not cross processes).
add_library(e2e_box_probe SHARED tests/e2e/box_probe_win32.cpp)
set_target_properties(e2e_box_probe PROPERTIES PREFIX "")
target_include_directories(e2e_box_probe PRIVATE tests)
target_link_libraries(e2e_box_probe PRIVATE user32 gdi32)
target_link_options(e2e_box_probe PRIVATE -static -static-libgcc -static-libstdc++)
add_dependencies(e2e_tests e2e_box_probe)

# The stand-in IDE: a DDE server for the service the program talks to, started by the Wine tests.
qz_windows_executable(stand_in_ide WIN32 tests/e2e/stand_in_ide_win32.cpp)
target_link_libraries(stand_in_ide PRIVATE user32)
target_compile_options(stand_in_ide PRIVATE ${QZ_WARNINGS})
add_dependencies(e2e_tests stand_in_ide)
add_dependencies(win_tests stand_in_ide)

