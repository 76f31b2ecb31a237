# The desktop program: QtTest cases on the offscreen platform, and the scene
# that scripts/screenshot.sh photographs.
if(PALLIX_HAVE_QT)
  # How the tests, the screenshot scene and the window benchmark start the program.
  add_library(apptestsupport STATIC app/apptestsupport.cpp)
  target_link_libraries(apptestsupport PUBLIC pallixapp Qt6::Test)
  target_compile_definitions(apptestsupport PRIVATE PALLIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

  add_executable(app_tests
    app/main.cpp
    app/handover_test.cpp
    app/messages_test.cpp
    app/platform_test.cpp
    app/preview_test.cpp
    app/progress_test.cpp
    app/shell_test.cpp
    app/treeinteraction_test.cpp)
  set_target_properties(app_tests PROPERTIES AUTOMOC ON)
  target_link_libraries(app_tests PRIVATE apptestsupport bfpbuilder)
  target_compile_definitions(app_tests PRIVATE PALLIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # Nothing the tests do may reach the real user's settings or desktop.
  set(app_test_home ${CMAKE_CURRENT_BINARY_DIR}/app_test_home)
  add_test(NAME app_tests COMMAND app_tests)
  set_tests_properties(app_tests PROPERTIES TIMEOUT 300 ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;PALLIX_NO_SHELL_REGISTRATION=1;XDG_CONFIG_HOME=${app_test_home}/config;XDG_DATA_HOME=${app_test_home}/data;XDG_RUNTIME_DIR=${app_test_home}/runtime")

  add_executable(pallix-screenshot-scene app/screenshotscene.cpp)
  target_link_libraries(pallix-screenshot-scene PRIVATE apptestsupport)
endif()
