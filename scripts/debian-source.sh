# Sourced by the scripts that build from Debian's sources: the source packages
# through apt alone, SDL 1.2 built from its own, and the licence texts that
# ship beside each library built.
#
# fetch_debian_source PACKAGE DESTDIR: unpacks PACKAGE's bookworm source, with
# Debian's patches applied by dpkg-source, into DESTDIR/<package>-<version>/
# and prints that folder. apt checks every file against the signed index.
# The system's apt sources are never changed: a private configuration under
# ${VELMORA_CACHE:-$HOME/.cache/velmora}/apt holds one deb-src line and its
# own package lists, brought up to date once per run of the script that
# sources this; when the archive cannot be reached, the lists of an earlier
# run are used as they are.
#
# debian_source_version PACKAGE: the version apt-get source would fetch.
#
# keep_licenses NAME SOURCE: Debian's copyright file and the upstream licence
# files of the unpacked SOURCE, into $prefix/licenses/NAME, prefix being the
# caller's.

debian_apt_dir="${VELMORA_CACHE:-$HOME/.cache/velmora}/apt"
debian_apt_ready=""

# The mirror the system already uses for bookworm, from either list format.
debian_mirror() {
    local uri
    uri=$(grep -hE '^URIs:.*debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null |
        head -n 1 | awk '{print $2}')
    [ -z "$uri" ] && uri=$(grep -hE '^deb(-src)? +(\[[^]]*\] +)?[a-z]+://[^ ]+ +bookworm ' \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        sed -E 's/^deb(-src)? +(\[[^]]*\] +)?//' | awk '{print $1}' | head -n 1)
    echo "${uri:-http://deb.debian.org/debian}"
}

# debian_apt <apt-get|apt-cache> <arguments...>. The private folders belong to
# the caller, so apt's download sandbox user is the caller too.
debian_apt() {
    local tool=$1
    shift
    "$tool" -q -o Dir::Etc::SourceList="$debian_apt_dir/sources.list" \
        -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$debian_apt_dir/lists" \
        -o Dir::Cache="$debian_apt_dir/cache" \
        -o APT::Sandbox::User="$(id -un)" "$@"
}

debian_source_update() {
    [ -n "$debian_apt_ready" ] && return 0
    mkdir -p "$debian_apt_dir/lists/partial" "$debian_apt_dir/cache/archives/partial" || return 1
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "$(debian_mirror) bookworm main" >"$debian_apt_dir/sources.list"
    if ! debian_apt apt-get update >/dev/null; then
        compgen -G "$debian_apt_dir/lists/*_Sources*" >/dev/null || return 1
        echo "debian-source: apt-get update failed; using the package lists of an earlier run" >&2
    fi
    debian_apt_ready=1
}

debian_source_version() {
    debian_source_update || return 1
    debian_apt apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2; exit}'
}

fetch_debian_source() {
    local package=$1 dest=$2 version upstream
    version=$(debian_source_version "$package") || return 1
    [ -n "$version" ] || { echo "no source package $package" >&2; return 1; }
    upstream=${version#*:}
    upstream=${upstream%-*}
    local folder="$dest/$package-$upstream"
    if [ ! -d "$folder" ]; then
        mkdir -p "$dest" &&
            (cd "$dest" && debian_apt apt-get source "$package=$version" >/dev/null 2>&1) || {
            echo "apt-get source $package=$version failed" >&2
            return 1
        }
    fi
    [ -d "$folder" ] || { echo "apt-get source $package gave no $folder" >&2; return 1; }
    echo "$folder"
}

# sdl12_build <source folder> <prefix> <configure arguments...>: SDL 1.2 from
# Debian's source (fetch_debian_source), for every target that needs it. Its
# configure is regenerated as Debian does, for Debian's patches to
# configure.in; the caller's environment chooses the compiler and flags, the
# arguments the platform and back ends. Output goes to <source folder>.log.
sdl12_build() {
    local source=$1 prefix=$2
    shift 2
    # Loaded at run time, SDL declares libX11's functions itself; one of them
    # has taken a const since SDL 1.2.15 (Debian links libX11 instead).
    sed -i \
        's/_XData32,(Display \*dpy,register long \*data/_XData32,(Display *dpy,register _Xconst long *data/' \
        "$source/src/video/x11/SDL_x11sym.h" || return 1
    (cd "$source" &&
        AUTOHEADER=true LIBTOOLIZE="libtoolize -fi" \
            ACLOCAL="aclocal --force --install -I /usr/share/aclocal/ -I acinclude" autoreconf -fi &&
        ./configure --prefix="$prefix" --disable-static --disable-rpath "$@" &&
        make -j"${VELMORA_JOBS:-$(nproc)}" && make install) >"$source.log" 2>&1 ||
        { tail -n 30 "$source.log" >&2; return 1; }
}

keep_licenses() {  # keep_licenses <name> <source folder>
    local into=$prefix/licenses/$1
    mkdir -p "$into" && cp "$2/debian/copyright" "$into/copyright" || return 1
    find "$2" -maxdepth 1 -type f \( -iname 'COPYING*' -o -iname 'LICENSE*' \) \
        -exec cp {} "$into/" \;
    [ -d "$2/docs" ] && find "$2/docs" -maxdepth 1 -type f \
        \( -name 'FTL.TXT' -o -name 'GPLv2.TXT' -o -name 'LICENSE.TXT' \) -exec cp {} "$into/" \;
    return 0
}
