# Tests of the document, the tree, the commands and pallix-cli.
add_library(pallixtestsupport STATIC
  ${CMAKE_CURRENT_LIST_DIR}/support/picturefiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/testfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/viewfixture.cpp
)
target_include_directories(pallixtestsupport PUBLIC ${PROJECT_SOURCE_DIR})
find_package(PNG REQUIRED)
target_link_libraries(pallixtestsupport PUBLIC pallixview exchange bfpbuilder GTest::gtest PRIVATE PNG::PNG)

file(GLOB PALLIX_CORE_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/core/*.cpp)
if(WIN32)
  # Every case of save_test.cpp forks (kills, dead processes) or checks what
  # Windows does not have (inodes, link counts, modes, owners, FIFOs, utimensat);
  # tests/windows/windows_test.cpp has Windows' own (TerminateProcess, sharing).
  list(FILTER PALLIX_CORE_TESTS EXCLUDE REGEX "/save_test\\.cpp$")
  # Two runs saving one file at once are two forked processes.
  list(FILTER PALLIX_CORE_TESTS EXCLUDE REGEX "/concurrentsave_test\\.cpp$")
endif()
pallix_gtest(pallix_core_tests SOURCES ${PALLIX_CORE_TESTS} LIBS pallixtestsupport pallixcli)
