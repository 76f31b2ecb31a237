# Where Windows differs (names in any alphabet, device names, sharing, the
# journal in %LOCALAPPDATA% with killed saves, Documents, long paths): built
# and run in the Windows build only, under Wine.
if(WIN32)
  add_executable(pallix_windows_helper ${CMAKE_CURRENT_LIST_DIR}/windows/windows_helper.cpp)
  target_link_libraries(pallix_windows_helper PRIVATE pallixtestsupport)
  target_link_options(pallix_windows_helper PRIVATE -municode)

  pallix_gtest(pallix_windows_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/windows/windows_test.cpp
    LIBS pallixtestsupport pallixcli)
  target_compile_definitions(pallix_windows_tests PRIVATE
    PALLIX_WINDOWS_HELPER="${PALLIX_TEST_PATH_PREFIX}$<TARGET_FILE:pallix_windows_helper>")
  add_dependencies(pallix_windows_tests pallix_windows_helper)
endif()
