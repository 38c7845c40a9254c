#!/bin/sh
# Builds the Debian package from a build tree, unpacks it into a temporary root
# and runs the installed kelvanectl from there.
# Usage: check-package.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/out" >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/out/kelvane_*.deb)
dpkg-deb -x "$deb" "$root/install"

for file in usr/bin/kelvane usr/bin/kelvanectl usr/share/applications/kelvane.desktop \
            usr/share/icons/hicolor/scalable/apps/kelvane.svg; do
    [ -e "$root/install/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libqt6widgets6 || { echo "no Qt Widgets dependency: $depends"; exit 1; }
echo "$depends" | grep -q qt6-qpa-plugins || { echo "no platform plugin dependency: $depends"; exit 1; }

first=$("$root/install/usr/bin/kelvanectl" plan | head -n 1)
[ "$first" = "Fv: 2320.25 MHz" ] || { echo "installed kelvanectl printed: $first"; exit 1; }
"$root/install/usr/bin/kelvanectl" --version | grep -q '^kelvanectl [0-9]' || exit 1
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB; Depends: $depends"
