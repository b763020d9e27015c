# The record reader and writer and the overlap table benchmarks, when Google
# Benchmark is there.
if(TAMVEK_BENCH AND NOT TAMVEK_SANITIZE)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    file(GLOB tamvek_benches CONFIGURE_DEPENDS bench/*.cpp)
    if(tamvek_benches)
      add_executable(tamvek_bench ${tamvek_benches})
      target_include_directories(tamvek_bench PRIVATE tests)  # tests/support/read_i2.hpp
      target_link_libraries(tamvek_bench PRIVATE tamvek_core tamvek_modflow benchmark::benchmark
                            benchmark::benchmark_main)
    endif()
  endif()
endif()
