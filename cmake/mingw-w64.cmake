# Cross-building the Windows programs on Debian with mingw-w64 (GCC, posix
# threads, so that std::thread and std::mutex work), statically linked.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VIMBREL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIMBREL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VIMBREL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VIMBREL_MINGW}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)
# The libraries scripts/windows-deps.sh cross-builds from Debian's sources.
set(CMAKE_FIND_ROOT_PATH /usr/${VIMBREL_MINGW} ${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests and programs run under Wine here.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(ENV{PKG_CONFIG_LIBDIR} "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix/lib/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
