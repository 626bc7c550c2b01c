# Builds the game for the web with Debian's emscripten. The game's libraries
# are found in the prefix that scripts/web-deps.sh builds, given as
# VELMORA_WEB_DEPS (a cache variable or the environment).
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT VELMORA_WEB_DEPS AND DEFINED ENV{VELMORA_WEB_DEPS})
    set(VELMORA_WEB_DEPS "$ENV{VELMORA_WEB_DEPS}")
endif()
# try_compile projects read this file again and need the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_WEB_DEPS)
list(APPEND CMAKE_FIND_ROOT_PATH ${VELMORA_WEB_DEPS})

# pkg-config sees the web libraries only, never the machine's own; their -l
# names become the archives' paths, so -lSDL never means Emscripten's own SDL.
set(ENV{PKG_CONFIG_LIBDIR} "${VELMORA_WEB_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Threads everywhere (the libraries were built so); exceptions, which the
# game relies on and Emscripten otherwise ignores.
set(CMAKE_C_FLAGS_INIT "-pthread -fexceptions")
set(CMAKE_CXX_FLAGS_INIT "-pthread -fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-pthread -fexceptions")

# Every emcc link takes long: CMake's checks compile into static libraries
# instead of linking programs.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
