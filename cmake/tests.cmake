# The GoogleTest suite, run by CTest.
enable_testing()
find_package(GTest REQUIRED)
file(GLOB_RECURSE tamvek_tests CONFIGURE_DEPENDS tests/*_test.cpp tests/support/*.cpp)
add_executable(tamvek_tests ${tamvek_tests})
target_include_directories(tamvek_tests PRIVATE tests)
target_link_libraries(tamvek_tests PRIVATE tamvek_core GTest::gtest GTest::gtest_main)
target_compile_definitions(tamvek_tests PRIVATE
  TAMVEK_PROGRAM="$<TARGET_FILE:tamvek>" TAMVEK_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
add_dependencies(tamvek_tests tamvek)
include(GoogleTest)
gtest_discover_tests(tamvek_tests DISCOVERY_TIMEOUT 60)
