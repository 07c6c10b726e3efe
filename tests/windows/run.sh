#!/usr/bin/env bash
# The Windows test: run.sh WINDOWS_BUILD_DIR [WM-DELETE-HELPER]. Builds the
# 64-bit release archive into WINDOWS_BUILD_DIR (scripts/windows-build,
# installing nothing), then runs windows_test.sh on it. Exit status 77
# (skipped) names what is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1
skip() {
  echo "SKIPPED: the Windows test: $1 is missing."
  echo "  (scripts/install-deps windowstest installs mingw-w64, wine64 and the X tools)"
  exit 77
}
command -v x86_64-w64-mingw32-g++-posix >/dev/null || skip "the cross compiler x86_64-w64-mingw32-g++-posix (Debian package mingw-w64)"
command -v wine >/dev/null || skip "wine (Debian package wine64)"
for tool in Xvfb xdotool xwd; do
  command -v "$tool" >/dev/null || skip "$tool (Debian packages xvfb, xdotool, x11-apps)"
done
[ -x /usr/bin/convert ] || skip "ImageMagick's convert (Debian package imagemagick)"
echo "Building the 64-bit Windows programs in $build"
ZOLT_WINDOWS_BUILD_DIR=$build "$root/scripts/windows-build" --no-install --arch x86_64
archive=$(ls "$build"/zolt7707-*-windows-x64.zip)
bash "$here/check_pe.sh" "$archive" || exit 1
bash "$here/windows_test.sh" "$archive" "$root/assets/glyphsheet.txt" "$build/wineprefix" "${2:-}"
