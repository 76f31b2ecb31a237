# vistel: its DXF reading and camera maths, and with Qt its window.
pallix_gtest(viewer_tests
  SOURCES
    viewer/acicolour_test.cpp
    viewer/camera_test.cpp
    viewer/dxffile_test.cpp
    viewer/dxfparser_test.cpp
    viewer/dxftext.cpp
  LIBS modelscene)

if(PALLIX_HAVE_QT)
  add_executable(vistel_window_test viewer/mainwindow_test.cpp viewer/dxftext.cpp)
  set_target_properties(vistel_window_test PROPERTIES AUTOMOC ON)
  target_link_libraries(vistel_window_test PRIVATE vistelgui Qt6::Test)
  add_test(NAME vistel_window_test COMMAND vistel_window_test)
  set_tests_properties(vistel_window_test PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120)
endif()
