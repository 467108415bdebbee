# make install and make package: the programs, the desktop entry, the replay type, the icon in every size, the
# AppStream metainfo and the manual page, where desktops and man look for them.
include(GNUInstallDirs)

install(TARGETS quillon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# As Debian's policy has them: the manual page and the changelog gzipped (without a time stamp, so builds agree),
# the copyright beside the changelog.
set(gzipped ${CMAKE_BINARY_DIR}/gzipped)
foreach(source docs/quillon-cli.1 docs/quillon.1 data/debian/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${gzipped}/${name}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${gzipped}
                       COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${gzipped}/${name}
                       COMMAND gzip -9nf ${gzipped}/${name}
                       DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    list(APPEND gzipped_files ${gzipped}/${name}.gz)
endforeach()
add_custom_target(quillon_gzipped_docs ALL DEPENDS ${gzipped_files})
install(FILES ${gzipped}/quillon-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(QUILLON_GUI)
    install(FILES ${gzipped}/quillon.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${gzipped}/changelog.gz ${PROJECT_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillon)

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
set(CPACK_PACKAGE_CONTACT "The Quillon developers <quillon-dev@quillon.github.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Show and rename Warcraft III replays")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads Warcraft III replays of every patch and shows game information,\n players and every action; sums up how a game went; renames replays from\n a rule, one or a whole folder tree, never over an existing file; and\n keeps a searchable library of whole collections.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the Qt and zlib packages the programs link
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
