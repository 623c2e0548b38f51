# Shared by the MinGW-w64 toolchain files; MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)

# GoogleTest needs the posix thread model, whose runtime imports functions that
# Windows XP lacks; the shipped exe is built with the win32 thread model instead.
if(QUENMARK_TESTS)
    set(_threads posix)
else()
    set(_threads win32)
endif()
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-${_threads})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${_threads})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests run their Windows executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
