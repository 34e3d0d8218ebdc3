# Host build: the core and its unit tests with the system's GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp ${CMAKE_SOURCE_DIR}/tests/host/fakes/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_executable(cc_host_tests ${HOST_TEST_SOURCES})
target_link_libraries(cc_host_tests PRIVATE cc_core GTest::gtest GTest::gtest_main)
target_include_directories(cc_host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
target_compile_definitions(cc_host_tests PRIVATE CC_SOURCE_DIR="${CMAKE_SOURCE_DIR}")   # the shortcut corpus and its table
gtest_discover_tests(cc_host_tests DISCOVERY_TIMEOUT 60)

# The tests' NTFS images are written by a tool of their own with libntfs-3g (scripts/ntfs-image.sh runs it).
enable_language(C)
add_executable(ntfs_fixture ${CMAKE_SOURCE_DIR}/tests/fixtures/NtfsFixture.c)
target_link_libraries(ntfs_fixture PRIVATE ntfs-3g)
target_compile_definitions(cc_host_tests PRIVATE CC_SOURCE_DIR="${CMAKE_SOURCE_DIR}" CC_NTFS_FIXTURE="$<TARGET_FILE:ntfs_fixture>")
add_dependencies(cc_host_tests ntfs_fixture)

# The fuzz targets (tests/fuzz, fuzzed by scripts/fuzz.sh with clang's libFuzzer)
# replay their seed corpus and any saved regression inputs as ordinary tests.
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*Fuzz.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(target ${source} NAME_WE)
  add_executable(replay_${target} ${source} ${CMAKE_SOURCE_DIR}/tests/fuzz/Replay.cpp)
  target_link_libraries(replay_${target} PRIVATE cc_core)
  add_test(NAME fuzz_replay_${target} COMMAND replay_${target}
    ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/regressions/${target})
endforeach()
