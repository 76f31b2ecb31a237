# Arbitrary bytes read as a 3DS file, every chunk's data read, the tree
# copied and written again. corpus/ holds seeds and past crashers.
pallix_fuzz_target(fuzz_toolkit3ds
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/fuzz_toolkit3ds.cpp
  LIBS toolkit3ds
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/corpus)
