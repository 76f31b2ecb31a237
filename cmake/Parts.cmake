# Folders grow one piece at a time; these helpers let a folder join the build
# as soon as it has a CMakeLists.txt, and let tests, benchmarks and fuzz
# targets live in per-area files (*.cmake) so that work on one area never
# edits another area's build file.

function(pallix_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

macro(pallix_include_parts)
  file(GLOB _pallix_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _pallix_parts)
  foreach(_part IN LISTS _pallix_parts)
    include(${_part})
  endforeach()
endmacro()
