# The libFuzzer targets, built with clang instead of the tests.
file(GLOB tamvek_fuzzers CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(fuzzer_source ${tamvek_fuzzers})
  get_filename_component(fuzzer_name ${fuzzer_source} NAME_WE)
  add_executable(${fuzzer_name} ${fuzzer_source} tests/fuzz/fuzz_files.cpp)
  target_include_directories(${fuzzer_name} PRIVATE tests)
  target_link_libraries(${fuzzer_name} PRIVATE tamvek_results)
  target_link_options(${fuzzer_name} PRIVATE -fsanitize=fuzzer)
endforeach()
# The readers of model files are tamvek-modflow's own.
if(TARGET model_read_fuzz)
  target_link_libraries(model_read_fuzz PRIVATE tamvek_modflow)
endif()
