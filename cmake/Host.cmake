# Host build: the core and its unit tests with the system's GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp ${CMAKE_SOURCE_DIR}/tests/host/fakes/*.cpp)
add_executable(cc_host_tests ${HOST_TEST_SOURCES})
target_link_libraries(cc_host_tests PRIVATE cc_core GTest::gtest GTest::gtest_main)
target_include_directories(cc_host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/host)
gtest_discover_tests(cc_host_tests DISCOVERY_TIMEOUT 60)
