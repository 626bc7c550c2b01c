# The platform's own code, chosen here and nowhere else.
#
# Where the game meets the system in a different way on each platform, each
# way is a file of its own beside the concern's one header, named after the
# concern and the platform, with no #ifdef for a platform inside:
#     core/LowLevelIo.h    core/LowLevelIoPosix.cpp    core/LowLevelIoWindows.cpp
#     shell/QuitSignals.h  shell/QuitSignalsPosix.cpp  shell/QuitSignalsWindows.cpp
# and the tests of a platform's file beside it in the same way
# (tests/shell/QuitSignalsPosixTest.cpp). This block sets, for each concern,
# which platform's file the build takes, VELMORA_PLATFORM_<CONCERN>; the
# folder's CMakeLists.txt adds <Concern>${VELMORA_PLATFORM_<CONCERN>}.cpp.
#
# A new platform is one more branch: it names a file of its own for a concern
# where it needs one (core/LowLevelIoWeb.cpp beside the others) and another
# platform's where that serves (Emscripten's C library has POSIX descriptors
# and signals). A new concern is one more variable in every branch.
if(EMSCRIPTEN)
    set(VELMORA_PLATFORM Web)
    set(VELMORA_PLATFORM_LOW_LEVEL_IO Web)
    set(VELMORA_PLATFORM_QUIT_SIGNALS Posix)
    set(VELMORA_PLATFORM_FILE_WATCH Polled)
    set(VELMORA_PLATFORM_FILE_URI Posix)
    set(VELMORA_PLATFORM_SCRATCH_FOLDER Posix)
    set(VELMORA_PLATFORM_STANDARD_STREAMS Posix)
    set(VELMORA_PLATFORM_PIXEL_MEMORY Plain)
elseif(WIN32)
    set(VELMORA_PLATFORM Windows)
    set(VELMORA_PLATFORM_LOW_LEVEL_IO Windows)
    set(VELMORA_PLATFORM_QUIT_SIGNALS Windows)
    set(VELMORA_PLATFORM_FILE_WATCH Polled)
    set(VELMORA_PLATFORM_FILE_URI Windows)
    set(VELMORA_PLATFORM_SCRATCH_FOLDER Windows)
    set(VELMORA_PLATFORM_STANDARD_STREAMS Windows)
    set(VELMORA_PLATFORM_PIXEL_MEMORY Plain)
else()
    set(VELMORA_PLATFORM Posix)
    set(VELMORA_PLATFORM_LOW_LEVEL_IO Posix)
    set(VELMORA_PLATFORM_QUIT_SIGNALS Posix)
    set(VELMORA_PLATFORM_FILE_WATCH Linux)
    set(VELMORA_PLATFORM_FILE_URI Posix)
    set(VELMORA_PLATFORM_SCRATCH_FOLDER Posix)
    set(VELMORA_PLATFORM_STANDARD_STREAMS Posix)
    set(VELMORA_PLATFORM_PIXEL_MEMORY Linux)
endif()

# The game draws its text through graphics/freetype_text over FreeType, with
# SDL_ttf's images, instead of SDL_ttf: where SDL_ttf cannot be had.
if(VELMORA_PLATFORM STREQUAL "Windows" OR VELMORA_PLATFORM STREQUAL "Web")
    option(VELMORA_FREETYPE_TEXT "Draw text over FreeType instead of SDL_ttf" ON)
else()
    option(VELMORA_FREETYPE_TEXT "Draw text over FreeType instead of SDL_ttf" OFF)
endif()
message(STATUS "Platform: ${VELMORA_PLATFORM}")
