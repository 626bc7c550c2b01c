# Sourced: fetch_debian_source PACKAGE DESTDIR unpacks the bookworm source of
# PACKAGE, with Debian's patches applied, into DESTDIR/<package>-<version>/.
# apt checks the files against the signed index through a private
# configuration; the system's apt sources are never changed.

debian_source_mirror() {
    local mirror
    mirror=$(sed -n 's/^URIs: *\(.*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources \
        2>/dev/null | head -n 1)
    echo "${mirror:-http://deb.debian.org/debian}"
}

fetch_debian_source() {  # fetch_debian_source PACKAGE DESTDIR
    local package=$1 dest=$2
    local apt_dir="${VELMORA_CACHE:-$HOME/.cache/velmora}/apt-src"
    mkdir -p "$apt_dir/lists/partial" "$dest" || return 1
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "$(debian_source_mirror) bookworm main" >"$apt_dir/sources.list"
    local options=(-o Dir::Etc::SourceList="$apt_dir/sources.list"
        -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists="$apt_dir/lists"
        -o APT::Sandbox::User=root)
    if [ ! -e "$apt_dir/lists/.updated" ]; then
        apt-get "${options[@]}" update -q >/dev/null && touch "$apt_dir/lists/.updated" || return 1
    fi
    (cd "$dest" && apt-get "${options[@]}" source -q "$package" >/dev/null)
}
