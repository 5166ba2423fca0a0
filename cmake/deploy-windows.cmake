# Install step of the Windows build: copies beside the installed client every DLL it needs from the
# Qt and compiler folders, so that the folder runs anywhere. The plugins Qt loads at run time go to
# the folders Qt looks them up in next to the executable (platforms/, imageformats/, styles/).
# The set is derived, not listed: `objdump -p` names the DLLs a PE file imports, and each one found
# in a search folder is copied and looked at in turn; the rest belong to Windows itself.
#
# Set before including: STELVANE_DEPLOY_DIR (the installed folder), STELVANE_DEPLOY_EXE,
# STELVANE_DEPLOY_PLUGINS (paths below the Qt plugin folder), STELVANE_DEPLOY_QT (the Qt prefix),
# STELVANE_DEPLOY_SEARCH (the compiler's DLL folders), STELVANE_DEPLOY_OBJDUMP and
# STELVANE_DEPLOY_STRIP (the DLLs are copied without their debugging information).
cmake_policy(PUSH)
cmake_policy(SET CMP0057 NEW) # if(... IN_LIST ...) in an install script

set(pending "${STELVANE_DEPLOY_EXE}")
foreach(plugin ${STELVANE_DEPLOY_PLUGINS})
    get_filename_component(folder "${plugin}" DIRECTORY)
    file(COPY "${STELVANE_DEPLOY_QT}/plugins/${plugin}" DESTINATION "${STELVANE_DEPLOY_DIR}/${folder}")
    list(APPEND pending "${STELVANE_DEPLOY_QT}/plugins/${plugin}")
endforeach()

set(copied "")
while(pending)
    list(POP_FRONT pending file)
    execute_process(COMMAND "${STELVANE_DEPLOY_OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "Cannot read the imports of ${file}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import ${imports})
        string(REPLACE "DLL Name: " "" dll "${import}")
        if(dll IN_LIST copied)
            continue()
        endif()
        foreach(folder "${STELVANE_DEPLOY_QT}/bin" ${STELVANE_DEPLOY_SEARCH})
            if(EXISTS "${folder}/${dll}")
                message(STATUS "Deploying: ${dll}")
                file(COPY "${folder}/${dll}" DESTINATION "${STELVANE_DEPLOY_DIR}")
                execute_process(COMMAND "${STELVANE_DEPLOY_STRIP}" --strip-unneeded
                                        "${STELVANE_DEPLOY_DIR}/${dll}")
                list(APPEND copied "${dll}")
                list(APPEND pending "${folder}/${dll}")
                break()
            endif()
        endforeach()
    endforeach()
endwhile()
cmake_policy(POP)
