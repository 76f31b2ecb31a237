# vistel: its DXF reading and camera maths, and with Qt its window.
pallix_gtest(viewer_tests
  SOURCES
    viewer/acicolour_test.cpp
    viewer/camera_test.cpp
    viewer/dxffile_test.cpp
    viewer/dxfparser_test.cpp
    viewer/dxftext.cpp
  LIBS modelscene)
target_include_directories(viewer_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/viewer)
