# What "cmake --install" puts under its prefix, and the Debian package made
# from the same rules. The install is relocatable: the game finds its sounds
# in ../share/starmarch/Data beside its own binary, wherever the prefix is.
include(GNUInstallDirs)

# The desktop's name for the game: its menu entry, icons and metainfo.
set(STARMARCH_APP_ID org.starmarch.Starmarch)

install(TARGETS starmarch starmarch-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/Data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/starmarch/Data
        FILES_MATCHING PATTERN "*.wav")

set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/starmarch.desktop.in ${packaging_out}/${STARMARCH_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/starmarch.metainfo.xml.in
               ${packaging_out}/${STARMARCH_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/starmarch.6 ${packaging_out}/starmarch.6 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/starmarch-sim.6 ${packaging_out}/starmarch-sim.6 @ONLY)
install(FILES ${packaging_out}/${STARMARCH_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_out}/${STARMARCH_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_out}/starmarch.6 ${packaging_out}/starmarch-sim.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The emblem at every size the asset generator draws it.
foreach(size 32 48 64 128 256)
    install(FILES ${STARMARCH_DESKTOP_ICONS_DIR}/starmarch-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${STARMARCH_APP_ID}.png)
endforeach()

# cpack -G DEB (or "make deb"): starmarch_<version>_<arch>.deb for /usr, its
# library dependencies read from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME starmarch)
set(CPACK_PACKAGE_VENDOR "The Starmarch developers")
set(CPACK_PACKAGE_CONTACT "The Starmarch developers <developers@starmarch.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D space battle for one player")
set(CPACK_PACKAGE_DESCRIPTION
    "Up to twelve countries, in teams, fight in open space. Each owns a station,\n"
    "with solar panels that repair it and turrets that shoot at fighters, and a\n"
    "squadron of computer-flown fighters. Watch through an orbit camera, give\n"
    "orders to your own fighters, or take the stick of one of them.\n"
    "Includes starmarch-sim, the headless battle lab.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GLX (or EGL) library itself when it makes the window's
# context, so no binary names it; the drivers come with Mesa.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
