# Cross build of the 32-bit Windows product with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VANTREL_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER   ${VANTREL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTREL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VANTREL_TRIPLE}-windres)
set(CMAKE_OBJDUMP      ${VANTREL_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTREL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# CTest runs every test executable through Wine; the wrapper sets the locale,
# the prefix inside the build tree and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
