# Sourced by run.sh, test.sh and demo/make-assets.sh: installs missing Debian packages.

BUILD_PACKAGES="cmake ninja-build g++ pkg-config libsdl1.2-dev libsdl-ttf2.0-dev libpng-dev
libvorbis-dev ccache"
# libsdl2-2.0-0 carries sdl12-compat, which the end-to-end tests also run on
# (scripts/sdl12-compat.sh); it sits beside libsdl1.2-dev without conflict.
# FreeType and the DejaVu faces beyond the core ones: the test that holds the
# FreeType text renderer against SDL_ttf. nlohmann-json3-dev: the JSON of
# velmora-lsp, built only when it is found. libgraphviz-dev: the storyboard's
# story map, laid out by Graphviz's dot (with nlohmann-json; written only when
# both are found).
TEST_PACKAGES="googletest libgtest-dev libbenchmark-dev liblua5.4-dev xvfb xdotool x11-apps
fonts-dejavu-core libsdl2-2.0-0 libfreetype-dev fonts-dejavu-extra nlohmann-json3-dev
libgraphviz-dev"
# scripts/runtimes.sh builds SDL 1.2 from Debian's source for velmora-pack's
# Linux package; the package is tried on a minimal Debian made with debootstrap
# and its frames compared with ImageMagick. velmora-pack writes its archives
# with libarchive and is built only when it is found.
RUNTIME_PACKAGES="dpkg-dev autoconf automake libtool libx11-dev libxext-dev libasound2-dev
libpulse-dev"
PACK_PACKAGES="debootstrap imagemagick libarchive-dev"
# The fuzz targets need clang and its libFuzzer and sanitizer run-times.
FUZZ_PACKAGES="clang-14 libclang-rt-14-dev"
# The editor tests: Neovim's LSP client, and unzip to look into the .vsix.
# Node.js and npm come through ensure_node.
EDITOR_PACKAGES="neovim unzip"
# The tests in a real VS Code: Debian's chromium drives code-server, whose
# install (scripts/code-server.sh) builds native modules (kerberos needs
# libkrb5-dev) and takes Debian's ripgrep instead of downloading one. The game
# that "Play from here" starts shows on Xvfb; its window is grabbed with xwd
# and compared with ImageMagick.
VSCODE_PACKAGES="chromium ripgrep libkrb5-dev g++ make python3 tar util-linux xvfb xdotool x11-apps
imagemagick"
# run.sh plays the demo by itself on a virtual display when there is none.
AUTOPLAY_PACKAGES="xvfb xdotool x11-apps imagemagick"
# scripts/windows.sh: the mingw-w64 cross compilers, Debian's sources through
# apt (dpkg-dev), autotools to regenerate SDL's configure as Debian does, and
# Wine on a virtual display for the Windows tests.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev libz-mingw-w64 dpkg-dev autoconf
automake libtool make cmake ninja-build googletest wine wine64 xvfb xdotool zip unzip"
# scripts/web.sh: Debian's emscripten (with node-acorn, which its tools need;
# clang-14 it brings), Debian's sources through apt (dpkg-dev) and patch; the
# web tests: Debian's chromium driven through puppeteer-core, the Linux build
# on Xvfb beside it.
WEB_PACKAGES="emscripten node-acorn dpkg-dev patch cmake ninja-build pkg-config zip unzip chromium
xvfb xdotool x11-apps imagemagick"
# Only demo/make-assets.sh needs these: the demo's files are committed.
ASSET_PACKAGES="imagemagick sox vorbis-tools espeak-ng fonts-dejavu-core"

ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q &&
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
}

# Node.js and npm for the editor tests and the VS Code extension: Debian's
# packages, unless a node and an npm are there already (a newer Node.js
# installed another way is kept; the extension's packager needs 20 or later).
ensure_node() {
    command -v node >/dev/null && command -v npm >/dev/null && return 0
    ensure_packages nodejs npm
}
