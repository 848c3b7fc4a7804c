# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian: mingw-w64), the
# POSIX thread model (std::thread). Libraries are looked for in the MinGW
# root and in KELP_WINDOWS_PREFIX (where scripts/check-windows puts the
# libraries it builds for Windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELP_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELP_MINGW_TRIPLE} ${KELP_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELP_WINDOWS_PREFIX)
