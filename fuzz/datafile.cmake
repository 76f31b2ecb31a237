pallix_fuzz_target(fuzz_populate
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/datafile/populate_fuzz.cpp
  LIBS pallixcli
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/datafile/corpus)
