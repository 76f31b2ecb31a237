# Where `cmake --install BUILD --prefix P` and the package put each file.
# The generated files go to BUILD/packaging, never BUILD/share: a build
# folder must not look like an installed program (see RunsFromInstalledLayout).
include(GNUInstallDirs)

set(PALLIX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PALLIX_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(PALLIX_PACKAGE_MAINTAINER "Quon Data Manager developers <pallix@example.org>"
    CACHE STRING "The package's maintainer, as NAME <ADDRESS>")
set(PALLIX_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/pallix)

install(TARGETS pallix-cli tds RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(PALLIX_HAVE_QT)
  # vistel lands beside pallix, where pallix looks for it.
  install(TARGETS pallix vistel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES README.md ${PALLIX_PACKAGING_DIR}/copyright DESTINATION ${PALLIX_DOC_DIR})

# Gzipped without a time stamp so that the same sources give the same package.
function(pallix_gzip_file input output)
  add_custom_command(OUTPUT ${output} COMMAND gzip -9nc ${input} > ${output} DEPENDS ${input} VERBATIM)
endfunction()

if(UNIX AND NOT APPLE)
  # The desktop entry the program writes for itself when run from a folder,
  # here naming the installed program.
  set(PALLIX_EXEC "pallix %f")
  configure_file(${PALLIX_PACKAGING_DIR}/pallix.desktop.in ${PALLIX_PACKAGING_OUT}/pallix.desktop @ONLY)
  install(FILES ${PALLIX_PACKAGING_OUT}/pallix.desktop ${PALLIX_PACKAGING_DIR}/vistel.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${PALLIX_PACKAGING_DIR}/quondata-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages RENAME pallix.xml)

  set(icons ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
  install(DIRECTORY ${PALLIX_PACKAGING_DIR}/icons/hicolor/ DESTINATION ${icons})
  install(FILES ${PALLIX_PACKAGING_DIR}/icons/pallix.svg DESTINATION ${icons}/scalable/apps)
  install(FILES ${PALLIX_PACKAGING_DIR}/icons/application-x-quondata.svg DESTINATION ${icons}/scalable/mimetypes)

  set(compressed)
  foreach(page pallix pallix-cli vistel tds)
    configure_file(${PALLIX_PACKAGING_DIR}/man/${page}.1.in ${PALLIX_PACKAGING_OUT}/${page}.1 @ONLY)
    pallix_gzip_file(${PALLIX_PACKAGING_OUT}/${page}.1 ${PALLIX_PACKAGING_OUT}/${page}.1.gz)
    list(APPEND compressed ${PALLIX_PACKAGING_OUT}/${page}.1.gz)
    install(FILES ${PALLIX_PACKAGING_OUT}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  configure_file(${PALLIX_PACKAGING_DIR}/changelog.in ${PALLIX_PACKAGING_OUT}/changelog @ONLY)
  pallix_gzip_file(${PALLIX_PACKAGING_OUT}/changelog ${PALLIX_PACKAGING_OUT}/changelog.gz)
  install(FILES ${PALLIX_PACKAGING_OUT}/changelog.gz DESTINATION ${PALLIX_DOC_DIR})
  add_custom_target(packagingfiles ALL DEPENDS ${compressed} ${PALLIX_PACKAGING_OUT}/changelog.gz)
endif()
