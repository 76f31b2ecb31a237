# The version every program, the About box and the package show, taken from
# project(VERSION) alone.
configure_file(${CMAKE_SOURCE_DIR}/programinfo/version.h.in ${CMAKE_BINARY_DIR}/generated/pallixversion.h @ONLY)

add_library(programinfo STATIC ${CMAKE_SOURCE_DIR}/programinfo/programinfo.cpp)
target_include_directories(programinfo PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
