# Mesh, material and scene-settings records of the 3DS toolkit.
file(GLOB TOOLKIT3DS_RECORDS_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds_records/*.cpp)
pallix_gtest(toolkit3ds_records_tests
  SOURCES ${TOOLKIT3DS_RECORDS_TEST_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/support.cpp
  LIBS toolkit3ds)
