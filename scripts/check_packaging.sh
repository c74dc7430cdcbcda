#!/usr/bin/env bash
# Checks what a build hands to users: the staged installation (desktop entry and
# AppStream metadata validated), the Windows resource script (compiled with windres), that
# orvendale-cli needs no library of Qt but Qt Core, and the two Debian packages (contents and
# dependencies checked, orvendale-cli run from its unpacked package). Run after the build of
# PRESET (release by default; arm64 for the cross build, whose programs run under its emulator).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/${1:-release}
generated=$build/platform/generated
# The package version and the four-part file version, as the build took them from the version
# record; a cross build's architecture, emulator and readelf.
source "$build/version.sh"
arch=${ORVENDALE_DEB_ARCHITECTURE:-$(dpkg --print-architecture)}
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
for expected in "FILEVERSION ${ORVENDALE_FILE_VERSION//./, }" 'BLOCK "040404B0"' \
                'VALUE "ProductName", "Orvendale"' 'VALUE "Translation", 0x404, 1200' 'RT_ICON'; do
  grep -qF "$expected" "$work/decompiled.rc" || { echo "resource lacks: $expected"; exit 1; }
done
echo "  compiled: $(grep -c RT_ICON "$work/decompiled.rc") icon images and the version record"

echo "libraries of orvendale-cli:"
# Nothing of the graphical stack: no Qt Gui or Widgets, OpenGL, EGL or X client libraries. The
# build machine's ldd cannot load another architecture's program: there the libraries it names.
if [ -n "${ORVENDALE_EMULATOR:-}" ]; then
  "$ORVENDALE_READELF" -d "$build/cli/orvendale-cli" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/  \1/p' |
    tee "$work/ldd"
else
  ldd "$build/cli/orvendale-cli" | awk '{print "  " $1}' | tee "$work/ldd"
fi
grep -q libQt6Core "$work/ldd" || { echo "orvendale-cli does not link Qt Core"; exit 1; }
if grep -E 'libQt6(Gui|Widgets)|libGL|libEGL|libOpenGL|libxcb|libX11' "$work/ldd"; then
  echo "orvendale-cli links the graphical stack"
  exit 1
fi

echo "Debian packages:"
# dpkg-shlibdeps finds an arm64 binary's libraries, and their shlibs, among the arm64 packages.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
desktop_deb="$work/deb/orvendale_${ORVENDALE_PACKAGE_VERSION}_$arch.deb"
cli_deb="$work/deb/orvendale-cli_${ORVENDALE_PACKAGE_VERSION}_$arch.deb"
for deb in "$desktop_deb" "$cli_deb"; do
  [ -f "$deb" ] || { echo "missing package: $(basename "$deb")"; ls "$work/deb"; exit 1; }
  echo "$(basename "$deb"):"
  dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Installed-Size|Depends):'
  [ "$(dpkg-deb --field "$deb" Version)" = "$ORVENDALE_PACKAGE_VERSION" ] ||
    { echo "unexpected package version"; exit 1; }
done

# Paths a package must hold, and must not.
check_contents() {
  local deb=$1 expected=$2 unwanted=$3 path
  dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sed 's/^/  /' | tee "$work/contents"
  for path in $expected; do
    grep -qx "  $path" "$work/contents" || { echo "missing from $(basename "$deb"): $path"; exit 1; }
  done
  for path in $unwanted; do
    if grep -qx "  $path" "$work/contents"; then
      echo "$(basename "$deb") should not hold $path"
      exit 1
    fi
  done
}
check_contents "$desktop_deb" "./usr/bin/orvendale \
  ./usr/share/applications/org.orvendale.Orvendale.desktop \
  ./usr/share/metainfo/org.orvendale.Orvendale.metainfo.xml \
  ./usr/share/icons/hicolor/32x32/apps/orvendale.xpm \
  ./usr/share/icons/hicolor/16x16/apps/orvendale.xpm" "./usr/bin/orvendale-cli"
check_contents "$cli_deb" "./usr/bin/orvendale-cli" "./usr/bin/orvendale"

# The dependencies come from the binaries: Qt Core for the CLI, Widgets for the window.
cli_depends=$(dpkg-deb --field "$cli_deb" Depends)
desktop_depends=$(dpkg-deb --field "$desktop_deb" Depends)
if grep -qE 'libqt6(gui|widgets|opengl)|libgl|libegl|libx' <<<"$cli_depends"; then
  echo "orvendale-cli depends on the graphical stack: $cli_depends"
  exit 1
fi
for needed in libqt6core6 libqt6sql6-sqlite libjs-chart.js; do
  grep -q "$needed" <<<"$cli_depends" || { echo "orvendale-cli lacks $needed: $cli_depends"; exit 1; }
done
grep -q 'libqt6widgets6' <<<"$desktop_depends" || { echo "orvendale lacks Qt Widgets: $desktop_depends"; exit 1; }
# The event pump's gate uses Qt's private API, so both need the very Qt they were built with;
# dpkg-shlibdeps adds that from the private symbols the binaries use.
qt_abi="qt6-base-abi (= $(dpkg-query -W -f='${Version}' "libqt6core6:$arch" | sed 's/+.*//'))"
for depends in "$cli_depends" "$desktop_depends"; do
  grep -qF "$qt_abi" <<<"$depends" || { echo "a package does not depend on $qt_abi: $depends"; exit 1; }
done

# The terminal program runs from its unpacked package, against the installed libraries.
dpkg-deb --extract "$cli_deb" "$work/root"
version=$(${ORVENDALE_EMULATOR:-} "$work/root/usr/bin/orvendale-cli" --version)
echo "unpacked orvendale-cli --version: $version"
[[ "$version" == "orvendale-cli (Orvendale) $ORVENDALE_PACKAGE_VERSION, workload revision "* ]] ||
  { echo "unexpected version text"; exit 1; }
echo "packaging checks passed"
