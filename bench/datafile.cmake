if(benchmark_FOUND)
  add_executable(bench_populate ${CMAKE_CURRENT_LIST_DIR}/datafile/populate_bench.cpp)
  target_link_libraries(bench_populate PRIVATE pallixcli bfpbuilder benchmark::benchmark)
endif()
