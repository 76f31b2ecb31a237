# The round trips below drive the Linux pallix-cli and Linux programs (assimp,
# osgconv, Blender, the image editors): the Windows build leaves them out.
if(CMAKE_CROSSCOMPILING)
  return()
endif()

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

# Blender edits our glTF, GLB and OBJ files and we take the edit back; the
# test is skipped with a line saying so where Blender is not installed.
foreach(format gltf glb obj)
  add_test(NAME blender_round_trip_${format}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/interop/blender-round-trip.sh $<TARGET_FILE:pallix-cli>
      ${CMAKE_SOURCE_DIR}/samples/demo.bfp 0/1 ${format} pyramid.${format} 6 "-1.5,-1.5,0,1.5,1.5,2.5" "0,0,2.5")
  set_tests_properties(blender_round_trip_${format} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endforeach()

# Textures painted in the image editors modders use (ImageMagick, GIMP,
# Pillow) come back as painted; each editor that is not installed is skipped
# with a line saying so.
add_executable(interop_picturedata ${CMAKE_CURRENT_LIST_DIR}/interop/picturedata.cpp)
target_link_libraries(interop_picturedata PRIVATE bfpbuilder)
if(PALLIX_PYTHON3)
  add_test(NAME interop_paint_round_trip
    COMMAND ${PALLIX_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/interop/paint_round_trip.py
      --cli $<TARGET_FILE:pallix-cli> --data $<TARGET_FILE:interop_picturedata>)
  set_tests_properties(interop_paint_round_trip PROPERTIES TIMEOUT 600)
endif()

# A texture painted in Blender comes back with its glTF or GLB model.
foreach(format gltf glb)
  add_test(NAME blender_paint_round_trip_${format}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/interop/blender-paint-round-trip.sh $<TARGET_FILE:pallix-cli>
      ${CMAKE_SOURCE_DIR}/samples/demo.bfp ${format})
  set_tests_properties(blender_paint_round_trip_${format} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endforeach()
