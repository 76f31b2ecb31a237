# `make package`: a Debian package of the installed files, built by CPack.
# Everything about the package is said here; the version is project(VERSION).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pallix)
set(CPACK_PACKAGE_VENDOR "The Quon Data Manager developers")
set(CPACK_PACKAGE_CONTACT "${PALLIX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PALLIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 runtime and the C++ library, as the programs are linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without them the desktop never learns of the .bfp type and the menu entry.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "data manager for the packed data files of Quon
The Quon Data Manager opens the packed data files (.bfp) of the game Quon
and shows their banks of 3-D models and texture bitmaps as a tree. Bitmaps
are exported and imported as BMP files, models viewed as DXF drawings and
exported and imported as 3DS files; the data file is saved byte for byte.
.
The package holds the desktop program pallix, pallix-cli for the same
work from the command line, the DXF viewer vistel and the 3DS tool tds.")

include(CPack)
