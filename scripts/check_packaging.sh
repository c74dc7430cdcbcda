#!/usr/bin/env bash
# Checks what the release build hands to users: the staged installation (desktop entry and
# AppStream metadata validated), the Windows resource script (compiled with windres) and the
# Debian package (its contents listed and checked). Run after the release build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/release
generated=$build/ui/generated
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "staged installation:"
cmake --install "$build" --prefix "$work/stage" >/dev/null
(cd "$work/stage" && find . -type f | sort)
desktop-file-validate "$work"/stage/share/applications/*.desktop
appstreamcli validate --no-net "$work"/stage/share/metainfo/*.metainfo.xml

echo "Windows resource script:"
# The plain C preprocessor stands in for the cross compiler's, which the script does not need.
i686-w64-mingw32-windres --preprocessor=cpp -I "$generated" -i "$generated/orvendale.rc" \
  -O res -o "$work/orvendale.res"
i686-w64-mingw32-windres -J res -i "$work/orvendale.res" -O rc >"$work/decompiled.rc"
for expected in 'FILEVERSION 1, 0, 0, 5' 'BLOCK "040404B0"' 'VALUE "ProductName", "Orvendale"' \
                'VALUE "Translation", 0x404, 1200' 'RT_ICON'; do
  grep -qF "$expected" "$work/decompiled.rc" || { echo "resource lacks: $expected"; exit 1; }
done
echo "  compiled: $(grep -c RT_ICON "$work/decompiled.rc") icon images and the version record"

echo "Debian package:"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):'
[ "$(dpkg-deb --field "$deb" Version)" = "1.0.5" ] || { echo "unexpected package version"; exit 1; }
dpkg-deb --contents "$deb" | awk '{print "  " $6}' | tee "$work/contents"
for path in ./usr/bin/orvendale ./usr/bin/orvendale-cli \
            ./usr/share/applications/org.orvendale.Orvendale.desktop \
            ./usr/share/metainfo/org.orvendale.Orvendale.metainfo.xml \
            ./usr/share/icons/hicolor/32x32/apps/orvendale.xpm \
            ./usr/share/icons/hicolor/16x16/apps/orvendale.xpm; do
  grep -qx "  $path" "$work/contents" || { echo "missing from the package: $path"; exit 1; }
done
echo "packaging checks passed"
