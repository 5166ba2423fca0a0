# What the Windows build adds to the executable and its folder: the icon and the version
# information compiled into stelvane.exe (packaging/stelvane.rc.in), the zip's README and licence
# texts (packaging/windows-files.sh), and the installer package. The Windows build is a cross build
# on Debian, whose tools make these: ImageMagick and icotool (package icoutils) the icon, the
# script the texts from Debian's licence files, wixl (package wixl) the installer.

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

# The Windows Installer package, stelvane-<version>-win64.msi, of the files the zip holds
# (packaging/windows-msi.sh, packaging/stelvane.wxs). CPack's WIX generator needs the WiX toolset,
# which runs on Windows only; Debian's wixl compiles the same source language.
find_program(STELVANE_WIXL wixl)
find_program(STELVANE_MSIBUILD msibuild)
if(NOT STELVANE_WIXL OR NOT STELVANE_MSIBUILD)
    message(FATAL_ERROR "wixl and msibuild make the Windows installer: install Debian's wixl and msitools packages")
endif()
set(STELVANE_MSI ${CMAKE_CURRENT_BINARY_DIR}/stelvane-${PROJECT_VERSION}-win64.msi)
add_custom_command(OUTPUT ${STELVANE_MSI}
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows-msi.sh ${CMAKE_CURRENT_BINARY_DIR}
            ${PROJECT_VERSION} ${STELVANE_MSI}
    DEPENDS stelvane ${generated}/README.txt ${STELVANE_ICO} packaging/windows-msi.sh
            packaging/stelvane.wxs cmake/deploy-windows.cmake
    COMMENT "Making the Windows installer stelvane-${PROJECT_VERSION}-win64.msi"
    VERBATIM)
add_custom_target(stelvane_msi ALL DEPENDS ${STELVANE_MSI})
add_dependencies(stelvane_msi stelvane_windows_files)

if(BUILD_TESTING)
    add_test(NAME windows_resources COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/windows_resources.sh
        ${CMAKE_RC_COMPILER} $<TARGET_FILE:stelvane> ${PROJECT_VERSION})
endif()

# The installer and the uninstaller show the application's icon.
set(CPACK_NSIS_MUI_ICON ${STELVANE_ICO})
set(CPACK_NSIS_MUI_UNIICON ${STELVANE_ICO})
