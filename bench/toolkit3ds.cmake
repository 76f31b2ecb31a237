# The toolkit's large-file benchmark program; scripts/bench-toolkit3ds.sh
# runs it against dd.
add_executable(bench-toolkit3ds ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/bench_toolkit3ds.cpp)
target_link_libraries(bench-toolkit3ds PRIVATE toolkit3ds)
