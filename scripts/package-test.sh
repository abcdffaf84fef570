#!/usr/bin/env bash
# Checks Ornelle as a desktop application, from a build folder (default
# build/test; configured and built here when it is not): `cmake --install`
# into a temporary prefix and the Debian package from `cpack -G DEB` both
# hold exactly the expected files; the desktop entry and the AppStream data
# pass their validators; the package's program, extracted into a throwaway
# root, answers --version and --help without a display and, under Xvfb,
# shows a window titled "Untitled — Ornelle" with an icon and keeps
# running; the polygon files' MIME type reads into a MIME database.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "package test: $*" >&2
    exit 1
}

# Starts program on the display in DISPLAY, waits for its top-level window
# and checks title, icon and that the program is still running.
window_check() {
    local program=$1 id="" pid
    "$program" &
    pid=$!
    for _ in $(seq 1 50); do
        id=$(xwininfo -root -tree | awk '/\("ornelle" "ornelle"\)/ { print $1; exit }')
        [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable' && break
        id=""
        kill -0 "$pid" 2>/dev/null || fail "the installed program ended before showing its window"
        sleep 0.2
    done
    [ -n "$id" ] || fail "no window of the installed program within 10 s"
    # Qt may set the title and the icon just after the window is mapped.
    local titled="" iconed=""
    for _ in $(seq 1 25); do
        xprop -id "$id" _NET_WM_NAME | grep -qx '_NET_WM_NAME(UTF8_STRING) = "Untitled — Ornelle"' && titled=yes
        xprop -len 1000000 -id "$id" _NET_WM_ICON | grep -q 'Icon (256 x 256)' && iconed=yes
        [ -n "$titled" ] && [ -n "$iconed" ] && break
        sleep 0.2
    done
    [ -n "$titled" ] || fail "window title: $(xprop -id "$id" _NET_WM_NAME)"
    [ -n "$iconed" ] || fail "the window has no 256 x 256 icon"
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the installed program ended on its own"
    kill "$pid"
    wait "$pid" || true
    echo "window: \"Untitled — Ornelle\" with its icon, still running after 2 s"
}
build=${1:-build/test}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

work=$(mktemp -d)
chmod 700 "$work"
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work

app=org.ornelle.Ornelle
sizes=(16 32 48 64 128 256)
expected() {
    echo bin/ornelle
    echo share/applications/$app.desktop
    for s in "${sizes[@]}"; do echo "share/icons/hicolor/${s}x${s}/apps/$app.png"; done
    echo share/icons/hicolor/scalable/apps/$app.svg
    echo share/man/man1/ornelle.1.gz
    echo share/metainfo/$app.metainfo.xml
    echo share/mime/packages/$app.xml
    for example in data/examples/*.ornelle; do echo "share/ornelle/examples/${example##*/}"; done
}
expected | sort >"$work/expected"

same_files() { # what, listing file
    diff -u "$work/expected" "$2" >"$work/diff" || { cat "$work/diff" >&2; fail "$1 holds other files than expected"; }
}

echo "== cmake --install"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$work/installed"
same_files "the install prefix" "$work/installed"

# The PNGs' sizes from their headers (width and height, big-endian, at
# byte 16), against the folders they sit in.
for s in "${sizes[@]}"; do
    read -r -a header < <(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${s}x${s}/apps/$app.png")
    w=$(( (header[2] << 8) + header[3] )) h=$(( (header[6] << 8) + header[7] ))
    [ "$w" = "$s" ] && [ "$h" = "$s" ] || fail "the ${s}x${s} icon is ${w}x${h}"
done
gzip -t "$prefix/share/man/man1/ornelle.1.gz" || fail "the man page is not a valid gzip file"

echo "== validators"
desktop-file-validate "$prefix/share/applications/$app.desktop" >"$work/desktop.log" 2>&1 ||
    { cat "$work/desktop.log" >&2; fail "desktop-file-validate failed"; }
if grep -Eq 'error|warning' "$work/desktop.log"; then
    cat "$work/desktop.log" >&2
    fail "desktop-file-validate found problems"
fi
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli validate failed"; }
# Pedantic notes (P:) and infos (I:) pass; errors and warnings do not.
if grep -Eq '^[EW]:' "$work/appstream.log"; then
    cat "$work/appstream.log" >&2
    fail "appstreamcli found errors or warnings"
fi
# update-mime-database refuses a malformed package file and writes one
# file per type it read.
mkdir -p "$work/mime"
cp -r "$prefix/share/mime/packages" "$work/mime/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || { cat "$work/mime.log" >&2; fail "update-mime-database failed"; }
[ -s "$work/mime/application/x-ornelle.xml" ] || { cat "$work/mime.log" >&2; fail "the MIME package defines no application/x-ornelle"; }
grep -q '^MimeType=application/x-ornelle;$' "$prefix/share/applications/$app.desktop" ||
    fail "the desktop entry does not open application/x-ornelle"
echo "desktop entry, AppStream data and MIME type valid"

echo "== Debian package"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$work/deb/ornelle_${version}-1_amd64.deb
[ -f "$deb" ] || fail "cpack made no $deb"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | sort >"$work/packed"
same_files "the package" "$work/packed"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
    fail "the dependencies were not read off the executable: $(dpkg-deb -f "$deb" Depends)"
root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/ornelle

headless() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$@"
}
[ "$(headless "$program" --version)" = "ornelle $version" ] ||
    fail "--version printed '$(headless "$program" --version)'"
headless "$program" --help >"$work/help" || fail "--help failed"
grep -q -- '--version' "$work/help" || fail "--help does not list --version"
echo "ornelle $version: --version and --help answer without a display"

# Xvfb picks a free display itself (-displayfd) and writes its number once
# it accepts clients: no race with other X servers on the machine.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 1 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=:$(head -n 1 "$work/display") QT_QPA_PLATFORM=xcb window_check "$program"
echo "package test passed: $(basename "$deb")"
