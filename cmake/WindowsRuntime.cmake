# Where the Windows programs of this build find the DLLs they import: Qt's, the MinGW runtime's and zlib's. The
# packages copy them from here, and on a Linux host the build steps and tests run the programs under Wine with
# these folders on the DLL search path (tools/windows/wine-run.sh).

get_filename_component(VARNOLT_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
set(VARNOLT_QT_PLUGINS "${VARNOLT_QT_PREFIX}/plugins")

set(VARNOLT_WINDOWS_DLL_DIRS "${VARNOLT_QT_PREFIX}/bin")
# The compiler knows where its own runtime lies; the threads library and zlib lie with the target's libraries.
foreach(dll libstdc++-6.dll libwinpthread-1.dll zlib1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${found}" AND EXISTS "${found}")
        get_filename_component(folder "${found}" DIRECTORY)
        list(APPEND VARNOLT_WINDOWS_DLL_DIRS "${folder}")
    endif()
endforeach()
foreach(lib ${CMAKE_FIND_ROOT_PATH})
    if(EXISTS "${lib}/lib/zlib1.dll" OR EXISTS "${lib}/bin/zlib1.dll")
        list(APPEND VARNOLT_WINDOWS_DLL_DIRS "${lib}/lib" "${lib}/bin")
    endif()
endforeach()
list(REMOVE_DUPLICATES VARNOLT_WINDOWS_DLL_DIRS)

if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    string(REPLACE ";" ":" dll_dirs "${VARNOLT_WINDOWS_DLL_DIRS}")
    set(VARNOLT_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Wine prefix for the build steps and the tests")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env VARNOLT_WINE_PREFIX=${VARNOLT_WINE_PREFIX}
        VARNOLT_WINE_DLL_DIRS=${dll_dirs} ${CMAKE_SOURCE_DIR}/tools/windows/wine-run.sh)
endif()
