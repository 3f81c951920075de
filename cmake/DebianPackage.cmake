# The Debian package (cpack -G DEB in the build folder; scripts/package.sh runs it).
# It holds what the install rules put under the prefix, with /usr as prefix.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marquill)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Marquill developers")
set(CPACK_PACKAGE_CONTACT "The Marquill developers <marquill@tollbury.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML editor for writing HTML by hand (Japanese interface)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Marquill colours tags and the quoted values inside them as you type, and
its menu commands and dialogs wrap the selection in HTML elements or insert
elements at the caret: links, fonts, headings, images, lists, tables, form
controls, special characters and the date. Ten tags and ten external tools
of your own can be registered. Its user interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

# The libraries the program links come from dpkg-shlibdeps. Below are what it
# cannot see because Qt loads them at run time, or because they are data:
# - libqt6svg6: the SVG icon engine plugin that draws every icon;
# - qt6-qpa-plugins: the X11 and Wayland platform plugins, without which no
#   window opens (libqt6gui6 only recommends them);
# - qt6-translations-l10n: Qt's own Japanese texts (dialog buttons, the file
#   dialog, the input boxes' context menus);
# - a Japanese font, without which the menus show boxes;
# - libqt6webenginecore6-bin: the page process Qt WebEngine starts for the
#   preview (dpkg-shlibdeps finds libtidy5deb1, which the program links, and
#   Qt WebEngine, which the preview's plugin in lib/marquill links, but no
#   library depends on the process).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk | fonts-japanese-gothic, libqt6webenginecore6-bin")
# xdg-open hands the help, the browser preview and the document folder to the
# desktop's programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)

if(BUILD_TESTING)
    add_test(NAME package COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(package PROPERTIES TIMEOUT 300)
endif()
