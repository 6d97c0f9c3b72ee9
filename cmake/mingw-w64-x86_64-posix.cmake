# Debian MinGW-w64, x86_64, posix thread model (std::thread via winpthread), static runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Headers and libraries only from the MinGW sysroot plus the prefix of cross-built deps.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
if(MINGW_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${MINGW_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Target binaries run under Wine through tests/support/wine-test, which gives each test its own
# prefix and display when the test runner asks for it.
set(OST_WINE_TEST ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine-test)
get_filename_component(OST_WINE_TEST ${OST_WINE_TEST} ABSOLUTE)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR OR CMAKE_CROSSCOMPILING_EMULATOR STREQUAL "wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OST_WINE_TEST} CACHE STRING "Runs target binaries" FORCE)
endif()
