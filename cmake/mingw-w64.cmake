# Cross-builds the client and its tests for 64-bit Windows with Debian's MinGW-w64 compilers (the
# "-posix" ones, whose threads the C++ library needs), against a Qt built for Windows by
# scripts/build-qt-windows.sh. Wine runs the test executables, so ctest works as on Linux.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSTELVANE_QT_WINDOWS=<prefix>
#
# The Qt prefix comes from -DSTELVANE_QT_WINDOWS or, when that is not given, from the environment
# variable of the same name.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STELVANE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STELVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STELVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${STELVANE_MINGW}-windres)
set(CMAKE_STRIP /usr/bin/${STELVANE_MINGW}-strip CACHE FILEPATH "")

if(NOT STELVANE_QT_WINDOWS)
    set(STELVANE_QT_WINDOWS "$ENV{STELVANE_QT_WINDOWS}")
endif()
if(NOT EXISTS "${STELVANE_QT_WINDOWS}/lib/cmake/Qt5/Qt5Config.cmake")
    message(FATAL_ERROR "No Qt for Windows at \"${STELVANE_QT_WINDOWS}\": set STELVANE_QT_WINDOWS to "
        "the prefix that scripts/build-qt-windows.sh prints.")
endif()
# Kept for the try_compile projects that CMake configures with this same file.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STELVANE_QT_WINDOWS)

set(CMAKE_FIND_ROOT_PATH /usr/${STELVANE_MINGW} ${STELVANE_QT_WINDOWS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs each test executable through Wine, with what a Qt program needs there.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${STELVANE_QT_WINDOWS})
