# The Debian package of both programs, made by `cpack -G DEB` in the build directory
# (scripts/package). The libraries the binaries link to (libqt6widgets6, libpng16-16, libxcb1 and
# the rest) are found in the binaries themselves by dpkg-shlibdeps; named here is what they load
# or draw with at run time without linking to it: the X11 platform plugin, without which no window
# opens, and a font that has the Chinese captions.
set(FRONTEND_PACKAGE_MAINTAINER "frontlite and frontdual packager <root@localhost>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME subscription-frontends)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${FRONTEND_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "subscription-conversion link composers frontlite and frontdual")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Two small desktop programs with Chinese windows that turn a proxy-subscription link into a
conversion link: a URL asking a subscription-conversion backend to return the subscription in
a client's format (Clash, mixed/Base64, Surfboard, quanx). frontlite addresses a backend on this
computer; frontdual also an online conversion service. They never open a network connection.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei")

include(CPack)
