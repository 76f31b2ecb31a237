# Tests of the glTF and OBJ writers and readers, and of the tools that read
# what we write.
file(GLOB PALLIX_FORMATS_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/formats/*.cpp)
pallix_gtest(pallix_formats_tests SOURCES ${PALLIX_FORMATS_TESTS} LIBS exchangeformats pallixtestsupport)
find_package(PNG REQUIRED)
target_link_libraries(pallix_formats_tests PRIVATE pallix::json pallix::tinygltf PNG::PNG)
# Khronos' glTF validator, installed by scripts/install-deps.sh test.
if(DEFINED ENV{PALLIX_TOOLS_DIR})
  set(_pallix_tools_default "$ENV{PALLIX_TOOLS_DIR}")
else()
  set(_pallix_tools_default "$ENV{HOME}/.cache/pallix-tools")
endif()
set(PALLIX_TOOLS_DIR "${_pallix_tools_default}" CACHE PATH "Where install-deps.sh puts the npm test tools")
target_compile_definitions(pallix_formats_tests PRIVATE
  PALLIX_GLTF_VALIDATOR="${PALLIX_TOOLS_DIR}/node_modules/gltf-validator"
  PALLIX_VALIDATE_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/interop/validate-gltf.mjs")
