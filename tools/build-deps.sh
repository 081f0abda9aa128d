#!/usr/bin/env bash
# Builds the third-party pieces the packages do not ship for mingw, into .deps/ (ignored by git):
#   minizip for both targets, from Debian's zlib source package, linked against the mingw zlib;
#   an import library for sensapi.dll for i686, which the i686 mingw package lacks.
# A second run finds everything in place and does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
DEPS="$PWD/.deps"
mkdir -p "$DEPS"

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"

fetch_zlib_source() {
    [ -f "$DEPS/zlib-src/contrib/minizip/unzip.c" ] && return
    # Source entries are derived from the machine's own binary entries, so no mirror is named here.
    local list=/etc/apt/sources.list.d/veskora-deb-src.sources
    if ! apt-get source --print-uris zlib >/dev/null 2>&1; then
        : > /tmp/veskora-deb-src.$$
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] && [ "$f" != "$list" ] || continue
            sed -e 's/^Types:.*/Types: deb-src/' "$f" >> /tmp/veskora-deb-src.$$
            echo >> /tmp/veskora-deb-src.$$
        done
        $SUDO cp /tmp/veskora-deb-src.$$ "$list"; rm -f /tmp/veskora-deb-src.$$
        if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/veskora-deb-src.list >/dev/null
        fi
        $SUDO apt-get update -qq
    fi
    local work="$DEPS/zlib-fetch"
    rm -rf "$work"; mkdir -p "$work"
    # Not every mirror serves every version's source (security updates often lack it): try each, newest first.
    local v
    for v in $(apt-cache showsrc zlib | sed -n 's/^Version: //p' | sort -urV); do
        (cd "$work" && apt-get source -qq "zlib=$v" >/dev/null 2>&1) && break
        rm -rf "${work:?}"/*
    done
    local dir
    dir=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'zlib-*' | head -n 1)
    [ -n "$dir" ] || { echo "build-deps: could not unpack Debian's zlib source" >&2; exit 1; }
    rm -rf "$DEPS/zlib-src"; mv "$dir" "$DEPS/zlib-src"; rm -rf "$work"
}

build_minizip() { # triple
    local triple=$1 out="$DEPS/$1"
    [ -f "$out/lib/libminizip.a" ] && return
    local src="$DEPS/zlib-src/contrib/minizip"
    mkdir -p "$out/lib" "$out/include/minizip" "$out/obj"
    for c in ioapi unzip iowin32; do
        "$triple-gcc" -O2 -DNOCRYPT -DNOUNCRYPT -c "$src/$c.c" -o "$out/obj/$c.o" -w
    done
    "$triple-ar" rcs "$out/lib/libminizip.a" "$out"/obj/*.o
    cp "$src"/ioapi.h "$src"/unzip.h "$src"/iowin32.h "$out/include/minizip/"
    rm -rf "$out/obj"
}

build_sensapi_i686() {
    local out="$DEPS/i686-w64-mingw32/lib"
    mkdir -p "$out"
    [ -f "$out/libsensapi.a" ] && return
    [ -f /usr/i686-w64-mingw32/lib/libsensapi.a ] && return
    printf 'LIBRARY sensapi.dll\nEXPORTS\nIsNetworkAlive@4\n' > "$out/sensapi.def"
    i686-w64-mingw32-dlltool -k -d "$out/sensapi.def" -l "$out/libsensapi.a"
}

fetch_zlib_source
build_minizip i686-w64-mingw32
build_minizip x86_64-w64-mingw32
build_sensapi_i686
