# The GoogleTest suite, run by CTest. Without GoogleTest the tests are left out,
# unless they were asked for (TAMVEK_TESTS=ON), so that the program builds on a
# machine that has only a compiler, CMake and make.
if(NOT TAMVEK_TESTS)
  return()
endif()
if(TAMVEK_TESTS STREQUAL "AUTO" AND NOT TARGET GTest::gtest)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    message(STATUS "GoogleTest not found: the tests are left out (make test installs it)")
    return()
  endif()
endif()
enable_testing()
if(NOT TARGET GTest::gtest)  # the Windows cross build compiles its own (cmake/windows.cmake)
  find_package(GTest REQUIRED)
endif()
file(GLOB_RECURSE tamvek_tests CONFIGURE_DEPENDS tests/*_test.cpp tests/support/*.cpp)
add_executable(tamvek_tests ${tamvek_tests})
target_include_directories(tamvek_tests PRIVATE tests)
target_link_libraries(tamvek_tests PRIVATE tamvek_results tamvek_generate_data GTest::gtest GTest::gtest_main)
target_compile_definitions(tamvek_tests PRIVATE
  TAMVEK_PROGRAM="$<TARGET_FILE:tamvek>" TAMVEK_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
add_dependencies(tamvek_tests tamvek)
include(GoogleTest)
if(CMAKE_CROSSCOMPILING AND WIN32)
  tamvek_add_windows_test_groups(tamvek_tests)  # cmake/windows.cmake
else()
  gtest_discover_tests(tamvek_tests DISCOVERY_TIMEOUT 60)
endif()

# The installed program on the installed example data makes what the build's
# program makes of the repository's copy.
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME InstalledExample.RunsAsTheBuildDoes COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
    -DPROGRAM=$<TARGET_FILE:tamvek> -DSCRATCH=${CMAKE_BINARY_DIR}/installed-example
    -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/installed_example_test.cmake)
elseif(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME InstalledExample.WindowsFolderRunsTheExample COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR} "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
    -DSCRATCH=${CMAKE_BINARY_DIR}/installed-example
    -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/windows_folder_test.cmake)
endif()
# The set-up script installs what a make target needs, or names the command.
if(NOT WIN32)
  add_test(NAME EnsurePackages.InstallsOrNamesTheCommand
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/tools/ensure_packages_test.sh)
endif()

# The report's tests run the built tamvek-report.
if(TARGET tamvek-report)
  target_compile_definitions(tamvek_tests PRIVATE TAMVEK_REPORT_PROGRAM="$<TARGET_FILE:tamvek-report>")
  add_dependencies(tamvek_tests tamvek-report)
endif()

# tamvek-modflow's tests run the built program; flopy reads its packages.
if(TARGET tamvek-modflow)
  target_compile_definitions(tamvek_tests PRIVATE TAMVEK_MODFLOW_PROGRAM="$<TARGET_FILE:tamvek-modflow>")
  add_dependencies(tamvek_tests tamvek-modflow)
  tamvek_add_modflow_tests()  # cmake/modflow.cmake
  tamvek_add_regrid_tests()   # cmake/modflow.cmake
endif()

# tamvek-years' tests run the built tamvek-years, which runs the tamvek beside it.
if(TARGET tamvek-years)
  target_compile_definitions(tamvek_tests PRIVATE TAMVEK_YEARS_PROGRAM="$<TARGET_FILE:tamvek-years>")
  target_link_libraries(tamvek_tests PRIVATE tamvek_years)
  add_dependencies(tamvek_tests tamvek-years)
endif()

# The slow and external tests' labels (cmake/test_labels.cmake), once every test is added.
include(cmake/test_labels.cmake)
tamvek_label_tests()
