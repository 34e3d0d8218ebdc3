# Windows build: the program, its Win32 layer, and the tests that run under Wine.
enable_language(RC)

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp ${CMAKE_SOURCE_DIR}/ui/win32/*.cpp)
add_library(cc_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(cc_win32 PUBLIC cc_core ole32 oleaut32 uuid windowscodecs gdi32 user32 shell32 advapi32 ntdll)
target_compile_definitions(cc_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0502)
target_compile_definitions(cc_core PUBLIC UNICODE _UNICODE)
# Source paths compiled in (assertions' file names) as relative ones: the same
# program from any checkout's folder.
target_compile_options(cc_core PUBLIC -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)

set(CC_RESOURCES ${CMAKE_SOURCE_DIR}/resources/resources.rc)
file(GLOB CC_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/pictures/*)
set_source_files_properties(${CC_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/app.manifest;${CMAKE_SOURCE_DIR}/resources/ResourceIds.h;${CC_PICTURES}")

add_executable(ChengchuanCleaner WIN32 app/WinMain.cpp ${CC_RESOURCES})
target_link_libraries(ChengchuanCleaner PRIVATE cc_win32)
# Terminal Server aware: the system gives it no per-user copies of the Windows folder's files.
target_link_options(ChengchuanCleaner PRIVATE -municode -Wl,--tsaware)
# Every import must be one that Windows XP x64 exports, from a library Windows
# never looks for in the program's folder: checked after each link.
add_custom_command(TARGET ChengchuanCleaner POST_BUILD
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh $<TARGET_FILE:ChengchuanCleaner>
          ${CMAKE_SOURCE_DIR}/cmake/xp64-imports.txt ${CMAKE_SOURCE_DIR}/cmake/allowed-dlls.txt
  VERBATIM)
set_property(TARGET ChengchuanCleaner APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/cmake/xp64-imports.txt ${CMAKE_SOURCE_DIR}/cmake/allowed-dlls.txt)

# GoogleTest, cross-built from Debian's sources.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(CC_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build the tests with")
add_subdirectory(${CC_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's one use of std::mutex, which the win32 thread model lacks, replaced.
target_include_directories(gtest BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/cmake/gtest-win32)

# Tests of the real Win32 layer, run under Wine. They carry the program's
# resources so that the window they build is the real one.
# The in-memory control model the host tests drive serves some Windows and end-to-end tests too.
file(GLOB TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
add_executable(cc_windows_tests ${WINDOWS_TEST_SOURCES} ${TEST_SUPPORT_SOURCES} ${CC_RESOURCES})
target_link_libraries(cc_windows_tests PRIVATE cc_win32 shlwapi comctl32 gtest gtest_main)

# The end-to-end driver: starts the real program and works its window.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*EndToEndTest.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/ProgramDriver.cpp)
add_executable(cc_e2e ${E2E_SOURCES} ${TEST_SUPPORT_SOURCES})
target_link_libraries(cc_e2e PRIVATE cc_win32 gtest shlwapi shell32 ole32 oleacc uuid)
# What the planted-library run puts beside a copy of the program under the system's library names.
add_library(cc_stand_in SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/StandInLibrary.cpp)
set_target_properties(cc_stand_in PROPERTIES PREFIX "")
target_link_options(cc_stand_in PRIVATE -static)
add_dependencies(cc_e2e cc_stand_in ChengchuanCleaner)

include(${CMAKE_SOURCE_DIR}/cmake/Msconfig.cmake)

# Under ctest each runs through the Wine wrapper, in the test prefix.
set(CC_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-test-run.sh)
add_test(NAME windows_platform COMMAND ${CC_WINE_RUN} $<TARGET_FILE:cc_windows_tests>)
add_test(NAME end_to_end COMMAND ${CC_WINE_RUN} $<TARGET_FILE:cc_e2e> $<TARGET_FILE:ChengchuanCleaner> ${CMAKE_SOURCE_DIR}/build/screenshots)
# The table scans again, N: then one volume read two ways (the image mounted with ntfs-3g), where FUSE mounts.
add_test(NAME volume_table_mounted COMMAND ${CMAKE_SOURCE_DIR}/scripts/ntfs-mounted.sh ${CC_WINE_RUN}
  $<TARGET_FILE:cc_windows_tests> --gtest_filter=VolumeTableOnWine.*)
set_tests_properties(windows_platform end_to_end volume_table_mounted PROPERTIES TIMEOUT 600)

# The benchmark of the real program in its real window: a program, run by
# scripts/bench.sh, not a test. It drives the window as the end-to-end tests do.
add_executable(cc_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/RealWindowBench.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/ProgramDriver.cpp)
target_link_libraries(cc_bench PRIVATE cc_win32 psapi)
target_link_options(cc_bench PRIVATE -municode)
