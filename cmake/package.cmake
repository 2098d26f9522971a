# The Debian package, made by CPack from the install rules (scripts/package runs it).
set(MANDALIX_MAINTAINER "The mandalix developers <mandalix@mandalix.github.io>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mandalix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${MANDALIX_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MANDALIX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mandalix.github.io/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "painter of random mandala pictures
mandalix paints random mandala pictures in a window. Every pixel's colour
is a function of its distance from the centre and of its angle; the
formulas, their parameters and the palette are drawn at random for each
picture. The user watches each picture being painted in one of four
orders, repeats it, draws new palettes, recolours one colour with two
clicks and saves the picture as a file.
.
mandalix-render paints the same pictures without a window, at up to
sixteen times the density, and paints a saved picture again from its
parameters.
.
mandalix --screensaver paints its slide show as an XScreenSaver hack.")
# The libraries come from the binaries; the window also needs Qt's display plugins
# and its one interface font, which no binary names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# `mandalix --screensaver` is a hack for XScreenSaver, which the package does not need.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")
include(CPack)
