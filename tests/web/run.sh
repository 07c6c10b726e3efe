#!/usr/bin/env bash
# The browser test: run.sh [--build] WEB_BUILD_DIR OUT_DIR. Builds the web
# version into WEB_BUILD_DIR (scripts/web-build, installing nothing), then runs
# web_test.mjs on its page; --build stops after the build. Exit status 77
# (skipped) names what is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
buildOnly=0
[ "${1:-}" != --build ] || { buildOnly=1; shift; }
web_build=$1
out=$2
skip() {
  echo "SKIPPED: the browser test of the web build: $1 is missing."
  echo "  (scripts/install-deps webtest installs emscripten and chromium; npm ci --prefix tests/web installs playwright-core)"
  exit 77
}
command -v emcc >/dev/null || skip "the web toolchain (emcc, Debian package emscripten)"
[ -x /usr/bin/chromium ] || skip "the browser /usr/bin/chromium (Debian package chromium)"
command -v node >/dev/null || skip "node"
(cd "$here" && node -e "require.resolve('playwright-core')" >/dev/null 2>&1) ||
  skip "playwright-core (npm ci in tests/web)"
echo "Building the web version in $web_build"
ZOLT_WEB_BUILD_DIR=$web_build "$root/scripts/web-build" --no-install
[ "$buildOnly" = 0 ] || exit 0
node "$here/web_test.mjs" "$web_build/src/demo" "$out"
