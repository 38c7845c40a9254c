#!/bin/sh
# Builds the Debian package from a build tree, unpacks it into a temporary root,
# checks what it holds and runs the installed programs from there.
# Usage: check-package.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/out" >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/out/kelvane_*.deb)
dpkg-deb -x "$deb" "$root/install"

man1=usr/share/man/man1
for file in usr/bin/kelvane usr/bin/kelvanectl usr/bin/kelvane-board-sim usr/share/applications/kelvane.desktop \
            usr/share/icons/hicolor/scalable/apps/kelvane.svg usr/share/mime/packages/kelvane.xml \
            $man1/kelvane.1.gz $man1/kelvanectl.1.gz $man1/kelvane-board-sim.1.gz; do
    [ -e "$root/install/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
# The menu entry starts a program of the package and shows its icon.
entry=$root/install/usr/share/applications/kelvane.desktop
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -x "$root/install/usr/bin/$exec" ] || { echo "the menu entry runs $exec, which the package lacks"; exit 1; }
[ -e "$root/install/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    { echo "the menu entry shows the icon $icon, which the package lacks"; exit 1; }
# ... and opens the setup files whose type the package declares.
mime=$(sed -n 's/^MimeType=\([^;]*\);$/\1/p' "$entry")
grep -q "<mime-type type=\"$mime\">" "$root/install/usr/share/mime/packages/kelvane.xml" ||
    { echo "the menu entry opens \"$mime\", a type the package does not declare"; exit 1; }
desktop-file-validate "$entry" >"$root/validate.log" 2>&1 || { cat "$root/validate.log"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
    echo "$depends" | grep -q "$lib" || { echo "no dependency on $lib: $depends"; exit 1; }
done

first=$("$root/install/usr/bin/kelvanectl" plan | head -n 1)
[ "$first" = "Fvco 2320.25 MHz" ] || { echo "installed kelvanectl printed: $first"; exit 1; }
for program in kelvanectl kelvane-board-sim; do
    "$root/install/usr/bin/$program" --version | grep -q "^$program [0-9]" || { echo "$program --version"; exit 1; }
done
# The pages must render without a single warning from the formatter ("w":
# every kind of warning groff has).
if command -v man >/dev/null 2>&1; then
    for page in "$root/install/$man1"/*.1.gz; do
        warnings=$(MANWIDTH=80 man --warnings=w -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings"; exit 1; }
    done
else
    echo "man is not installed: the manual pages were not rendered"
fi
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB; Depends: $depends"
