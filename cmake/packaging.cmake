# The Debian package: `cpack -G DEB` in the build folder. It installs under
# /usr, strips the programs and lets dpkg-shlibdeps name the libraries.
set(CPACK_PACKAGE_NAME treeweaver)
set(CPACK_PACKAGE_VENDOR "Vellmark Software")
set(CPACK_PACKAGE_CONTACT "Treeweaver developers <treeweaver@vellmark.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build the navigation menu of a web site as static HTML")
# Debian wants the lines of the long description shorter than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Treeweaver edits a web site's navigation menu as a tree of items (caption,
link, target frame), applies a template set, colours, fonts and variables of
the user's own, and writes static HTML: a main file plus one file per submenu,
or the whole menu in one file. The user interface is German.
The package holds the desktop program and the command-line companion
treeweaver-cli.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TW_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's German texts, the fonts the window and its layout page use (Arial is
# served by Liberation Sans), and Qt's SVG plugins for the toolbar images
# (loaded at run time, so not found by shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core, fonts-liberation2, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
