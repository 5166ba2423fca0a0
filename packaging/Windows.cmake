# What the Windows build adds to the executable and its folder: the icon and the version
# information compiled into stelvane.exe (packaging/stelvane.rc.in), and the zip's README and
# licence texts (packaging/windows-files.sh). The Windows build is a cross build on Debian, whose
# tools make these: ImageMagick and icotool (package icoutils) the icon, the script the texts
# from Debian's licence files.

find_program(STELVANE_ICOTOOL icotool)
if(NOT STELVANE_ICOTOOL)
    message(FATAL_ERROR "icotool makes the Windows icon: install Debian's icoutils package")
endif()
find_program(STELVANE_CONVERT convert)
if(NOT STELVANE_CONVERT)
    message(FATAL_ERROR "ImageMagick draws the small Windows icons: install Debian's imagemagick package")
endif()
# Explorer, the taskbar and the Start menu take the 16, 24, 32, 48 and 256 px images: the small
# ones are drawn for their size (packaging/small-icon.sh), the 256 px one is stored as PNG.
set(STELVANE_ICO ${CMAKE_CURRENT_BINARY_DIR}/stelvane.ico)
set(small_icons "")
foreach(size 16 24 32)
    set(icon ${CMAKE_CURRENT_BINARY_DIR}/stelvane-${size}.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/packaging/small-icon.sh ${size} ${icon}
        DEPENDS packaging/small-icon.sh
        VERBATIM)
    list(APPEND small_icons ${icon})
endforeach()
add_custom_command(OUTPUT ${STELVANE_ICO}
    COMMAND ${STELVANE_ICOTOOL} --create --output=${STELVANE_ICO} ${small_icons}
            ${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/48x48/stelvane.png
            --raw=${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/256x256/stelvane.png
    DEPENDS ${small_icons} packaging/icons/48x48/stelvane.png packaging/icons/256x256/stelvane.png
    VERBATIM)
configure_file(packaging/stelvane.rc.in stelvane.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/stelvane.rc PROPERTIES
    OBJECT_DEPENDS ${STELVANE_ICO})
target_sources(stelvane PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/stelvane.rc ${STELVANE_ICO})

set(generated ${CMAKE_CURRENT_BINARY_DIR}/windows-files)
add_custom_command(OUTPUT ${generated}/README.txt
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows-files.sh ${CMAKE_CURRENT_SOURCE_DIR}
            ${generated} ${PROJECT_VERSION} ${Qt5Core_VERSION}
    DEPENDS packaging/windows-files.sh packaging/README-Windows.txt scripts/build-qt-windows.sh
    COMMENT "Writing the README and the licence texts of the Windows package"
    VERBATIM)
add_custom_target(stelvane_windows_files ALL DEPENDS ${generated}/README.txt)
install(FILES ${generated}/README.txt DESTINATION .)
install(DIRECTORY ${generated}/licences DESTINATION .)

if(BUILD_TESTING)
    add_test(NAME windows_resources COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/windows_resources.sh
        ${CMAKE_RC_COMPILER} $<TARGET_FILE:stelvane> ${PROJECT_VERSION})
endif()

# The installer and the uninstaller show the application's icon.
set(CPACK_NSIS_MUI_ICON ${STELVANE_ICO})
set(CPACK_NSIS_MUI_UNIICON ${STELVANE_ICO})
