# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads).
# The game's libraries are found in the prefix that scripts/windows.sh builds,
# given as VELMORA_WINDOWS_DEPS (a cache variable or the environment).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

if(NOT VELMORA_WINDOWS_DEPS AND DEFINED ENV{VELMORA_WINDOWS_DEPS})
    set(VELMORA_WINDOWS_DEPS "$ENV{VELMORA_WINDOWS_DEPS}")
endif()
# try_compile projects read this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet} ${VELMORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the Windows libraries only, never the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} "${VELMORA_WINDOWS_DEPS}/lib/pkgconfig:/usr/${triplet}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# The C++ and GCC run-times and winpthreads go into each program, so that the
# only DLLs shipped are the game's libraries. Their symbols are taken from the
# static archives before the driver's own -lpthread could import the DLL.
set(CMAKE_C_STANDARD_LIBRARIES "-static-libgcc -Wl,-Bstatic -lwinpthread -Wl,-Bdynamic")
set(CMAKE_CXX_STANDARD_LIBRARIES
    "-static-libgcc -static-libstdc++ -Wl,-Bstatic -lstdc++ -lwinpthread -Wl,-Bdynamic")
