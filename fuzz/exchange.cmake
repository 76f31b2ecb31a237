# Arbitrary bytes through the import as a whole: a 3DS file through the
# reader and the import rules, a file in the export folder through Import
# All's comparison. corpus-*/ hold seeds and past crashers.
pallix_fuzz_target(fuzz_import3ds
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/import3ds/fuzz_import3ds.cpp
  LIBS exchange
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/corpus)
pallix_fuzz_target(fuzz_importall
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/importall/fuzz_importall.cpp
  LIBS pallixcli bfpbuilder
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/importall/corpus)
# Damaged journals of a save cut short, put back as the next open does.
pallix_fuzz_target(fuzz_journal
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/journal/fuzz_journal.cpp
  LIBS framework
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/journal/corpus)
