# Cross-build for 64-bit Windows with Debian's MinGW-w64 (the posix-thread compilers: std::thread and std::mutex
# need them). Qt for Windows comes in through CMAKE_PREFIX_PATH, which is also searched as a find root here;
# moc, rcc and uic come from the host's Qt of the same version (QT_HOST_PATH).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNOLT_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNOLT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOLT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOLT_MINGW}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VARNOLT_MINGW} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The compiler checks read this file again in a project of their own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_PREFIX_PATH)
