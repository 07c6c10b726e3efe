#!/usr/bin/env bash
# The Windows test of one target:
#   run.sh [--build] WINDOWS_BUILD_DIR x86|x64 CAPTURE-TOOL IA32-PROBE [WM-DELETE-HELPER]
# Builds that target's release archive into WINDOWS_BUILD_DIR (scripts/windows-build,
# installing nothing; --build stops there, with the x86 runner's root made too),
# checks it with check_pe.sh and runs windows_test.sh on it:
# the 64-bit programs under this machine's Wine, the 32-bit ones under
# scripts/wine-wow64 (Wine 10's WoW64 mode, from a root kept in
# WINDOWS_BUILD_DIR/wow64). Exit status 77 (skipped) names what is missing, or
# that this machine runs no 32-bit code, which IA32-PROBE (ia32_probe.cpp) tells.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
buildOnly=0
[ "${1:-}" != --build ] || { buildOnly=1; shift; }
build=$1
arch=$2
skip() {
  echo "SKIPPED: the $arch Windows test: $1."
  echo "  (scripts/install-deps windowstest installs mingw-w64, wine64, debootstrap and the X tools)"
  exit 77
}
missing() { skip "$1 is missing"; }
case "$arch" in
  x64) host=x86_64 ;;
  x86) host=i686 ;;
  *) echo "usage: $0 [--build] WINDOWS_BUILD_DIR x86|x64 CAPTURE-TOOL IA32-PROBE [WM-DELETE-HELPER]" >&2; exit 2 ;;
esac
# Asked first: where the kernel runs 64-bit programs only, nothing is built or fetched.
if [ "$arch" = x86 ]; then
  probe=0
  why=$("$4") || probe=$?
  if [ "$probe" -eq 1 ]; then
    echo "SKIPPED: the x86 Windows test: this machine's kernel runs 64-bit user code only${why:+ ($why)}."
    exit 77
  fi
  [ "$probe" -eq 0 ] || { echo "FAIL: the 32-bit code probe $4 ended with status $probe"; exit 1; }
fi
command -v "$host-w64-mingw32-g++-posix" >/dev/null ||
  missing "the cross compiler $host-w64-mingw32-g++-posix (Debian package mingw-w64)"
for tool in Xvfb xdotool xwd; do
  command -v "$tool" >/dev/null || missing "$tool (Debian packages xvfb, xdotool, x11-apps)"
done
[ -x /usr/bin/convert ] || missing "ImageMagick's convert (Debian package imagemagick)"
if [ "$arch" = x64 ]; then
  command -v wine >/dev/null || missing "wine (Debian package wine64)"
else
  [ "$(id -u)" -eq 0 ] || skip "the 32-bit runner scripts/wine-wow64 needs root (chroot and mounts)"
  command -v debootstrap >/dev/null || missing "debootstrap (Debian package debootstrap)"
  export ZOLT_WOW64_ROOT=$build/wow64
  # The runner's root is made (once) while the programs build.
  mkdir -p "$build"
  "$root/scripts/wine-wow64" prepare >"$build/wow64-prepare.log" 2>&1 &
  prepare=$!
fi
# Both exit with status 3 when Debian's mirror cannot be reached.
unreached() { skip "Debian's package mirror could not be reached for $1"; }
echo "Building the $arch Windows programs in $build"
status=0
ZOLT_WINDOWS_BUILD_DIR=$build "$root/scripts/windows-build" --no-install --arch "$host" || status=$?
[ "$status" -ne 3 ] || unreached "SDL's source"
[ "$status" -eq 0 ] || exit 1
if [ -n "${prepare:-}" ]; then
  wait "$prepare" || status=$?
  cat "$build/wow64-prepare.log"
  [ "$status" -ne 3 ] || unreached "the runner's root"
  [ "$status" -eq 0 ] || exit 1
fi
[ "$buildOnly" = 0 ] || exit 0
archive=$(ls "$build"/zolt7707-*-windows-"$arch".zip)
bash "$here/check_pe.sh" "$archive" || exit 1
bash "$here/windows_test.sh" "$archive" "$root/assets/glyphsheet.txt" "$build/wineprefix-$arch" "$3" "${5:-}"
