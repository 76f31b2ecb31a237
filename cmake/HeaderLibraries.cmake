# The header-only libraries of exchange/formats, found by their headers with
# find_path (Debian: libtinygltf-dev, libtinyobjloader-dev,
# nlohmann-json3-dev), each an INTERFACE target to link:
#   pallix::tinygltf  pallix::tinyobjloader  pallix::json
# A cross build may not put the machine's /usr/include on its include path
# (glibc's headers would stand in for Windows' own), so it takes a copy of
# just these headers into the build folder.
function(pallix_header_library target header)
  set(found_var PALLIX_${target}_INCLUDE_DIR)
  if(CMAKE_CROSSCOMPILING)
    find_path(${found_var} ${header} PATHS /usr/local/include /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  else()
    find_path(${found_var} ${header})
  endif()
  if(NOT ${found_var})
    message(FATAL_ERROR "${header} not found: install the ${target} headers (scripts/install-deps.sh)")
  endif()
  set(include_dir ${${found_var}})
  if(CMAKE_CROSSCOMPILING)
    set(copy ${CMAKE_BINARY_DIR}/header-libraries/${target})
    string(FIND ${header} "/" slash)
    if(slash GREATER 0)
      string(SUBSTRING ${header} 0 ${slash} top)
      file(COPY ${include_dir}/${top} DESTINATION ${copy})
    else()
      configure_file(${include_dir}/${header} ${copy}/${header} COPYONLY)
    endif()
    set(include_dir ${copy})
  endif()
  add_library(pallix_${target} INTERFACE)
  target_include_directories(pallix_${target} SYSTEM INTERFACE ${include_dir})
  add_library(pallix::${target} ALIAS pallix_${target})
endfunction()

pallix_header_library(json nlohmann/json.hpp)
pallix_header_library(tinygltf tiny_gltf.h)
pallix_header_library(tinyobjloader tiny_obj_loader.h)
# Debian's tinygltf reads its JSON with nlohmann-json.
target_link_libraries(pallix_tinygltf INTERFACE pallix_json)
