file(GLOB TOOLKIT3DS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/*.cpp)
pallix_gtest(toolkit3ds_tests SOURCES ${TOOLKIT3DS_TEST_SOURCES} LIBS toolkit3ds)
target_include_directories(toolkit3ds_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds)
