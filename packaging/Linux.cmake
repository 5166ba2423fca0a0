# What a Linux installation adds to the executable: the desktop entry, the icons, the AppStream
# metadata, the manual page, and the copyright file and changelog that a Debian package carries.
# The changelog, the manual page and the metadata are generated from NEWS and the templates in
# packaging/ by packaging/linux-files.sh.

# The application's id names the desktop entry and the metadata: the organisation domain reversed
# and the executable's name, the same id Qt gives the window on Wayland, so that the desktop finds
# the window's entry and icon.
set(STELVANE_APP_ID "example.brimlow-software.stelvane")

set(generated ${CMAKE_CURRENT_BINARY_DIR}/linux-files)
set(generated_files
    ${generated}/changelog.gz ${generated}/stelvane.1.gz ${generated}/${STELVANE_APP_ID}.metainfo.xml)
add_custom_command(OUTPUT ${generated_files}
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux-files.sh ${CMAKE_CURRENT_SOURCE_DIR}
            ${generated} ${PROJECT_VERSION} ${STELVANE_APP_ID} ${STELVANE_MAINTAINER}
    DEPENDS NEWS packaging/linux-files.sh packaging/description.txt packaging/stelvane.1.in
            packaging/${STELVANE_APP_ID}.metainfo.xml.in
    COMMENT "Generating the changelog, the manual page and the AppStream metadata"
    VERBATIM)
add_custom_target(stelvane_linux_files ALL DEPENDS ${generated_files})

install(FILES packaging/${STELVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48x48 256x256)
    install(FILES packaging/icons/${size}/stelvane.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()
install(FILES ${generated}/${STELVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/stelvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/stelvane)
