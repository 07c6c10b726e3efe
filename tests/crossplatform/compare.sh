#!/usr/bin/env bash
# The cross-platform test: compare.sh BUILD_DIR NATIVE_CAPTURE OTHER_CXX OUT_DIR IA32_PROBE.
# The capture tool's --hashes of each key script below, from this build's tool
# (the reference) and from every other platform that can be built and run here,
# must be equal line for line. The platforms: the other native compiler
# (OTHER_CXX; clang++ evaluates arguments in the web build's order), Windows x64
# under wine, Windows x86 under scripts/wine-wow64 as the x86 Windows test runs
# it (it sees only the folders of ZOLT_WOW64_SHARE: every file stays in
# BUILD_DIR, which is added there) and WebAssembly under node; the Windows and
# web builds are those of test_windows_x64, test_windows_x86 and test_web. A
# mismatch names the platform, the script and the first differing frame, and
# writes that frame from both sides into OUT_DIR. A platform that cannot run here is skipped with a line saying what is
# missing (or, for Windows x86, that IA32_PROBE finds no 32-bit code runs here); with none left, so is the test (exit
# status 77).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
native=$2 otherCxx=$3 out=$4 ia32Probe=$5
work=$build/tests/crossplatform/work
rm -rf "$work" "$out" && mkdir -p "$work" "$out"
export ZOLT_WOW64_SHARE=$build${ZOLT_WOW64_SHARE:+:$ZOLT_WOW64_SHARE}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# NAME and arguments. Together they press every key and visit every part twice:
# Space all round the cycle, U I O P, the overlay 8 at 25 and 50 frames per
# second (6, then 5), B and M in several parts, R in both colour-sine passes, a
# star field long enough for a random glyph (frame 31), and Escape during the
# fade that opens a part (a key pressed then is read at the part's first frame).
# The whole cycle runs every part to its end, with the music's mixes.
scripts=(
    "speeds --frames 170 --keys 10:u,20:i,30:o,40:p,50:8,60:6,120:5,130:b,140:m,150:b,160:m"
    "parts --frames 200 --keys 5:space,8:m,12:b,15:space,20:b,25:m,40:space,50:space,55:r,65:space,70:8,80:space,90:space,100:space,110:space,120:space,130:space,140:r,150:space,160:space,170:6,180:space,190:space,191:esc"
    "cycle --frames 7502"
)

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
skip() { echo "SKIPPED: the cross-platform test on $1: $2 is missing."; }

# Builds PLATFORM with the command that follows; on success it joins the platforms compared.
platforms=()
build() {
    local platform=$1 start=$SECONDS
    shift
    if "$@" >"$work/build-$platform.log" 2>&1; then
        echo "note: $platform built in $((SECONDS - start)) s"
        platforms+=("$platform")
    else
        fail "$platform: the build failed:"
        tail -n 30 "$work/build-$platform.log"
    fi
}

# Runs PLATFORM's capture tool with the arguments, inside $work/PLATFORM.
capture() {
    local platform=$1
    shift
    mkdir -p "$work/$platform"
    cd "$work/$platform" || return 1
    case $platform in
    native) "$native" "$@" ;;
    windows-x64) WINEPREFIX=$build/windows/wineprefix-x64 wine "$build/windows/x86_64/tools/capture/zolt7707-capture.exe" "$@" ;;
    windows-x86) WINEPREFIX=$build/windows/wineprefix-x86 "$wow64" wine "$build/windows/i686/tools/capture/zolt7707-capture.exe" "$@" ;;
    wasm) node "$build/web/tools/capture/zolt7707-capture.js" "$@" ;;
    *) "$build/other-compiler/tools/capture/zolt7707-capture" "$@" ;;
    esac
}

# Writes every script's hashes from PLATFORM into $work/PLATFORM/NAME.txt and
# compares them with the reference's (unless PLATFORM is the reference).
check() {
    local platform=$1 start=$SECONDS script name args status line frame what side file
    mkdir -p "$work/$platform"
    for script in "${scripts[@]}"; do
        read -r name args <<<"$script"
        local want=$work/native/$name.txt got=$work/$platform/$name.txt
        # shellcheck disable=SC2086 # the arguments are words
        (capture "$platform" $args --write none --quiet --out "$name" --hashes "$name.txt") >"$work/$platform/$name.log" 2>&1
        status=$?
        # A runner may end well without running the program (wine without its 32-bit half does).
        if [ "$status" -ne 0 ] || [ ! -f "$got" ]; then
            fail "$platform, script $name: the capture tool ended with status $status$([ -f "$got" ] || echo ', no hashes'):"
            cat "$work/$platform/$name.log"
            continue
        fi
        [ "$platform" = native ] && continue
        if cmp -s "$want" "$got"; then
            echo "ok: $platform, script $name: $(wc -l <"$want") lines the same"
            continue
        fi
        # The first line that differs, or the first one past the shorter file.
        line=$(awk 'NR == FNR { want[FNR] = $0; n = FNR; next }
                    !found && $0 != want[FNR] { print FNR; found = 1 }
                    END { if (!found) print (FNR < n ? FNR + 1 : n + 1) }' "$want" "$got")
        read -r frame _ < <(sed -n "${line}p" "$want")
        case $frame in
        [0-9]*) what="frame $frame" ;;
        sound) what="the sound (every frame the same)" ;;
        *) what="the length (line $line)" ;;
        esac
        fail "$platform, script $name: $what differs first: native '$(sed -n "${line}p" "$want")'," \
            "$platform '$(sed -n "${line}p" "$got")'"
        [[ $frame =~ ^[0-9]+$ ]] || continue
        for side in native "$platform"; do
            # shellcheck disable=SC2086
            (capture "$side" $args --write "$frame" --quiet --out "shot-$name-$platform") >/dev/null 2>&1
            for file in "$work/$side/shot-$name-$platform"/frame-*; do
                [ -f "$file" ] && mv "$file" "$out/$name-frame-$frame-$side.${file##*.}"
            done
        done
        echo "  frame $frame from both sides: $out/$name-frame-$frame-{native,$platform}.*"
    done
    echo "note: the $platform captures took $((SECONDS - start)) s"
}

check native
[ "$failures" -eq 0 ] || exit 1

if command -v "$otherCxx" >/dev/null; then
    # shellcheck disable=SC2016 # expanded by the inner shell
    build "$otherCxx" bash -c 'cmake -S "$0" -B "$1" -G Ninja -DCMAKE_CXX_COMPILER="$2" -DCMAKE_BUILD_TYPE=Release \
        -DZOLT_WERROR=ON -DZOLT_TESTS=OFF -DZOLT_BENCH=OFF && cmake --build "$1" --target zolt7707-capture -j "$(nproc)"' \
        "$root" "$build/other-compiler" "$otherCxx"
else
    skip "$otherCxx" "the compiler $otherCxx"
fi
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
    skip windows-x64 "mingw-w64's x86_64-w64-mingw32-g++-posix or wine (Debian packages mingw-w64, wine64)"
else
    build windows-x64 env ZOLT_WINDOWS_BUILD_DIR="$build/windows" "$root/scripts/windows-build" --no-install --arch x86_64
fi
# The 32-bit runner of the x86 Windows test, with the same root.
wow64=$root/scripts/wine-wow64
export ZOLT_WOW64_ROOT=$build/windows/wow64
why=$("$ia32Probe")
probe=$?
if [ "$probe" -eq 1 ]; then
    echo "SKIPPED: the cross-platform test on windows-x86: this machine's kernel runs 64-bit user code only${why:+ ($why)}."
elif [ "$probe" -ne 0 ]; then
    fail "windows-x86: the 32-bit code probe $ia32Probe ended with status $probe"
elif [ "$(id -u)" -ne 0 ] || ! command -v debootstrap >/dev/null; then
    skip windows-x86 "the 32-bit runner's root and debootstrap (scripts/wine-wow64; Debian package debootstrap)"
elif ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
    skip windows-x86 "mingw-w64's i686-w64-mingw32-g++-posix (Debian package mingw-w64)"
else
    build windows-x86 env ZOLT_WINDOWS_BUILD_DIR="$build/windows" "$root/scripts/windows-build" --no-install --arch i686
fi
if ! command -v emcc >/dev/null || ! command -v node >/dev/null; then
    skip wasm "emcc or node (Debian packages emscripten, nodejs)"
else
    build wasm env ZOLT_WEB_BUILD_DIR="$build/web" "$root/scripts/web-build" --no-install
fi

# The platforms' captures run side by side, each in its own folder; their reports
# follow in order, and each report's exit status says whether it failed.
declare -A checks
for platform in "${platforms[@]}"; do
    (failures=0; check "$platform"; [ "$failures" -eq 0 ]) >"$work/check-$platform.txt" 2>&1 &
    checks[$platform]=$!
done
for platform in "${platforms[@]}"; do
    wait "${checks[$platform]}" || failures=$((failures + 1))
    cat "$work/check-$platform.txt"
done
command -v wineserver >/dev/null && WINEPREFIX=$build/windows/wineprefix-x64 wineserver -k 2>/dev/null
[[ " ${platforms[*]} " != *" windows-x86 "* ]] || WINEPREFIX=$build/windows/wineprefix-x86 "$wow64" wineserver -k 2>/dev/null
[ "$failures" -eq 0 ] || exit 1
if [ ${#platforms[@]} -eq 0 ]; then
    echo "SKIPPED: the cross-platform test: no platform besides the native build can be built and run here."
    echo "  (scripts/install-deps all installs clang, mingw-w64, wine64, debootstrap and emscripten)"
    exit 77
fi
