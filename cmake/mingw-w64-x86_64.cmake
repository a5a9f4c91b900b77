# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compiler, the
# POSIX-threads flavour (std::thread and std::mutex need it). Everything is
# linked statically so that each .exe runs alone, under Wine or on a machine
# with no MinGW runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KSCGEN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KSCGEN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KSCGEN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KSCGEN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KSCGEN_MINGW_PREFIX})
# Qt for Windows, which scripts/windows-qt.sh builds into a cache folder.
if(KSCGEN_QT_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${KSCGEN_QT_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Release programs carry no symbols or debug sections.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
