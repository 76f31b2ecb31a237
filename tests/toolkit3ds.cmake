file(GLOB TOOLKIT3DS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit3ds/*.cpp)
pallix_gtest(toolkit3ds_tests SOURCES ${TOOLKIT3DS_TEST_SOURCES} LIBS toolkit3ds)
target_compile_definitions(toolkit3ds_tests PRIVATE TDS_PATH="${PALLIX_TEST_PATH_PREFIX}$<TARGET_FILE:tds>")
add_dependencies(toolkit3ds_tests tds)
