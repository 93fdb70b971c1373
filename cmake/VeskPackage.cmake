# The Debian package (`cpack -G DEB`, see scripts/package.sh): what
# cmake --install puts under /usr, with the libraries the program links found
# by dpkg-shlibdeps and the plugins Qt loads at run time named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vesk developers")
set(CPACK_PACKAGE_CONTACT "The Vesk developers <vesk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Focus sessions on the desktop")
set(CPACK_PACKAGE_DESCRIPTION
    "Vesk blacks out every display except the applications you picked, swallows input outside them and counts \
down a focus session; afterwards it asks for a short reflection and keeps a history.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so dpkg-shlibdeps does not see them: the store's SQLite
# driver. The platform plugins (xcb, offscreen) come with libqt6gui6 and the
# sound backends with libqt6multimedia6, both linked.
# libsodium, which checks the updates' signatures, is linked (and found by
# dpkg-shlibdeps too); named here so that the package says so whatever the
# shlibdeps run finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libsodium23")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-inter, fonts-dejavu-core")
include(CPack)
