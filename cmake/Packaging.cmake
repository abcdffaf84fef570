# The Debian package: `cpack -G DEB` in a build folder packs what
# `cmake --install` puts under /usr, with the dependencies that
# dpkg-shlibdeps reads off the executable.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ornelle)
set(CPACK_PACKAGE_VENDOR "The Ornelle authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of the long description; CPack indents each for the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Place control points with the mouse in an OpenGL view, pick a scheme"
    "(adaptive de Casteljau Bezier, Chaikin, cubic B-spline or the Vantrell"
    "proposed scheme), set level, precision, weight u and open or closed, and"
    "watch the curve follow every edit. The signed areas of the polygon and"
    "the curve are read out beside the view, and the picture exports as PDF,"
    "SVG, EPS or PNG, also from the command line without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the install creates get the usual modes whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ornelle authors <authors@ornelle.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Mesa's EGL draws the EPS figure of --export where no display runs; the
# libraries' own dependencies name only the EGL dispatcher.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libegl-mesa0)

include(CPack)
