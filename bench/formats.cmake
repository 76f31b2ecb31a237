if(benchmark_FOUND)
  add_executable(bench_formats ${CMAKE_CURRENT_LIST_DIR}/formats/formats_bench.cpp)
  target_link_libraries(bench_formats PRIVATE pallixcli exchangeformats bfpbuilder benchmark::benchmark)
endif()
