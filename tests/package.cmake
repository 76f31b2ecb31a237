# The Debian package, built once from this build folder and then met as the
# packaging checks and a user meet it. Only a build with the desktop programs
# and without sanitizers makes the package that ships.
if(PALLIX_HAVE_QT AND NOT PALLIX_SANITIZE AND UNIX AND NOT APPLE)
  set(package_scripts ${CMAKE_CURRENT_SOURCE_DIR}/package)
  set(package_out ${CMAKE_BINARY_DIR}/ctest-package)

  add_test(NAME package.TheDebianPackageBuilds
           COMMAND ${package_scripts}/build-deb.sh ${CMAKE_BINARY_DIR} ${package_out})
  set_tests_properties(package.TheDebianPackageBuilds PROPERTIES FIXTURES_SETUP debian_package TIMEOUT 300)

  add_test(NAME package.LintianFindsNoFault COMMAND ${package_scripts}/lintian.sh ${package_out})
  add_test(NAME package.TheUnpackedProgramsRun
           COMMAND ${package_scripts}/run-unpacked.sh ${package_out} ${PROJECT_VERSION}
                   ${CMAKE_SOURCE_DIR}/samples/demo.bfp)
  set_tests_properties(package.LintianFindsNoFault package.TheUnpackedProgramsRun
                       PROPERTIES FIXTURES_REQUIRED debian_package TIMEOUT 300)

  add_test(NAME package.TheDesktopEntriesAreValid
           COMMAND desktop-file-validate ${PALLIX_PACKAGING_OUT}/pallix.desktop ${PALLIX_PACKAGING_DIR}/vistel.desktop)
endif()
