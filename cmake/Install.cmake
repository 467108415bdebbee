# make install and make package: the programs, the desktop entry, the replay type, the icon in every size, the
# AppStream metainfo and the manual page, where desktops and man look for them.
include(GNUInstallDirs)

install(TARGETS quillon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/quillon-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(QUILLON_GUI)
    install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    add_executable(quillon-install-assets ${PROJECT_SOURCE_DIR}/tools/desktop/InstallAssets.cpp)
    target_link_libraries(quillon-install-assets PRIVATE quillon_gui)
    set(assets ${CMAKE_BINARY_DIR}/install-assets)
    add_custom_command(OUTPUT ${assets}/mime/packages/io.github.quillon.Quillon.xml
                       COMMAND quillon-install-assets ${assets}
                       DEPENDS quillon-install-assets
                       COMMENT "Drawing the icons for the desktop")
    add_custom_target(quillon_install_assets ALL DEPENDS ${assets}/mime/packages/io.github.quillon.Quillon.xml)
    install(DIRECTORY ${assets}/icons ${assets}/mime DESTINATION ${CMAKE_INSTALL_DATADIR})
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/io.github.quillon.Quillon.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/io.github.quillon.Quillon.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/io.github.quillon.Quillon.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "The Quillon developers <quillon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Show and rename Warcraft III replays")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads Warcraft III replays of every patch and shows game information, players and every action;\n renames replays from a rule, one or a whole folder tree, never over an existing file.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the Qt and zlib packages the programs link
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
