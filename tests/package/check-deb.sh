#!/bin/sh
# The Debian package as a user gets it: built by cpack, unpacked with dpkg -x
# into a temporary root, every part in its place, the unpacked workbench
# started offscreen and ended by SIGTERM (exit code 0), the unpacked devsim
# run, and lintian on the .deb without an error (warnings may stay).
#   check-deb.sh <build directory>
set -u
build=$1

skip() {
    echo "SKIP: $1"
    exit 77
}
fail() {
    echo "FAIL: $1"
    exit 1
}
command -v cpack >/dev/null || skip "cpack missing (Debian package cmake)"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps missing (Debian package dpkg-dev)"
command -v lintian >/dev/null || skip "lintian missing (Debian package lintian)"

cd "$build" || fail "no build directory $build"
rm -f dorvane_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; fail "cpack did not build the package"; }
deb=$(ls dorvane_*_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no dorvane .deb"

root=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT
dpkg -x "$deb" "$root" || fail "dpkg -x failed"

app=usr/lib/dorvane
for part in usr/bin/Dorvane usr/bin/dorvane-devsim $app/Dorvane $app/dorvane-devsim \
    usr/lib/libApp.so.1 usr/lib/libCore.so.1 usr/lib/libChannel.so.1 usr/lib/libWdxWidgets.so.1 \
    $app/Data/help/dorvane.html $app/Data/Themes/System.css $app/Data/Themes/Fusion.css \
    $app/Data/Locale/dorvane-en.qm $app/Data/Locale/dorvane-zh-cn.qm $app/Data/Locale/dorvane-zh-tw.qm \
    $app/Data/samples/devsim-modbus-read.dvptc $app/Data/samples/devsim-modbus.dvpts \
    $app/Data/samples/devsim-modbus.dvits $app/Data/samples/devsim-telemetry.dvprx \
    usr/share/applications/dorvane.desktop usr/share/metainfo/com.quorvel.Dorvane.metainfo.xml \
    usr/share/mime/packages/dorvane-mime.xml usr/share/icons/hicolor/scalable/apps/dorvane.svg \
    usr/share/icons/hicolor/16x16/apps/dorvane.png usr/share/icons/hicolor/48x48/apps/dorvane.png \
    usr/share/icons/hicolor/256x256/apps/dorvane.png \
    usr/share/doc/dorvane/copyright usr/share/doc/dorvane/changelog.gz; do
    [ -e "$root/$part" ] || fail "the package lacks $part"
done
for type in dvptc dvpts dvits dvprx; do
    grep -q "\*\.$type" "$root/usr/share/mime/packages/dorvane-mime.xml" || fail "no MIME type for .$type"
done
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/com.quorvel.Dorvane.metainfo.xml" ||
        fail "appstreamcli refuses the metainfo file"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/dorvane.desktop" || fail "the desktop entry is not valid"
fi

# The unpacked programs load the unpacked libraries, not the build tree's.
loaded=$(ldd "$root/$app/Dorvane" | sed -n 's/.*libApp\.so\.1 => \([^ ]*\) .*/\1/p')
[ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$root/usr/lib/libApp.so.1")" ] ||
    fail "Dorvane loads libApp from '$loaded', not from the package"
"$root/usr/bin/dorvane-devsim" --help | grep -q telemetry || fail "the packaged dorvane-devsim does not start"

mkdir -p "$root/home" "$root/run"
chmod 700 "$root/run"
HOME="$root/home" XDG_RUNTIME_DIR="$root/run" QT_QPA_PLATFORM=offscreen \
    "$root/usr/bin/Dorvane" >"$root/dorvane.log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$root/dorvane.log"; fail "the packaged workbench did not stay up"; }
kill -TERM "$pid"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$root/dorvane.log"; fail "the packaged workbench ended with $status on SIGTERM"; }
[ -f "$root/$app/Data/Settings/app.settings" ] || [ -f "$root/home/.local/share/Quorvel/Dorvane/Data/Settings/app.settings" ] ||
    fail "the packaged workbench saved no settings at exit"

lintian --fail-on error "$deb" >lintian.log 2>&1
status=$?
grep -v "running with root privileges" lintian.log
[ "$status" -eq 0 ] || fail "lintian reports errors"
echo "PASS: $deb"
