# Arbitrary bytes read as glTF and as OBJ. corpus-*/ hold seeds and past crashers.
pallix_fuzz_target(fuzz_gltf
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/formats/fuzz_gltf.cpp
  LIBS exchangeformats
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/formats/corpus-gltf)
pallix_fuzz_target(fuzz_obj
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/formats/fuzz_obj.cpp
  LIBS exchangeformats
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/formats/corpus-obj)
pallix_fuzz_target(fuzz_picture
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/formats/fuzz_picture.cpp
  LIBS exchangeformats
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/formats/corpus-picture)
