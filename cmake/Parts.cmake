# Tests, benchmarks and fuzz targets live in per-area files (tests/core.cmake,
# bench/toolkit3ds.cmake ...): a folder includes all of its own, so work on
# one area never edits another area's build file.
macro(pallix_include_parts)
  file(GLOB _pallix_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _pallix_parts)
  foreach(_part IN LISTS _pallix_parts)
    include(${_part})
  endforeach()
endmacro()
