# The edit round trip through the 3-D programs users edit in, run as black
# boxes; each program that is not installed is skipped with a line saying so.
add_executable(interop_meshfaces ${CMAKE_CURRENT_LIST_DIR}/interop/meshfaces.cpp)
target_link_libraries(interop_meshfaces PRIVATE toolkit3ds)
find_program(PALLIX_PYTHON3 python3)
if(PALLIX_PYTHON3)
  add_test(NAME interop_edit_round_trip
    COMMAND ${PALLIX_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/interop/roundtrip.py
      --cli $<TARGET_FILE:pallix-cli> --faces $<TARGET_FILE:interop_meshfaces>
      --data ${CMAKE_SOURCE_DIR}/samples/demo.bfp)
  set_tests_properties(interop_edit_round_trip PROPERTIES TIMEOUT 600)
endif()
