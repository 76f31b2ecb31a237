# The desktop program: QtTest cases on the offscreen platform, and the scene
# that scripts/screenshot.sh photographs.
if(PALLIX_HAVE_QT)
  add_executable(pallix-screenshot-scene app/screenshotscene.cpp)
  target_link_libraries(pallix-screenshot-scene PRIVATE pallixapp)
endif()
