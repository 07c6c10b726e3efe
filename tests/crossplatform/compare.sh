#!/usr/bin/env bash
# The cross-platform test: the demo shows and plays the same, bit for bit,
# wherever it ships. Usage: compare.sh BUILD_DIR NATIVE_CAPTURE OTHER_CXX OUT_DIR
#
# The capture tool writes a hash of every frame and of the soundtrack
# (--hashes) for each key script below: once with this build's tool
# (NATIVE_CAPTURE, the reference) and once on every other platform that can be
# built and run here:
#   OTHER_CXX     the same sources built by the other native compiler (clang++
#                 beside g++: it evaluates function arguments in the web
#                 build's order), in BUILD_DIR/other-compiler
#   windows-x64   zolt7707-capture.exe under wine (scripts/windows-build into
#                 BUILD_DIR/windows, the folder test_windows builds in)
#   windows-x86   the i686 build, run by $ZOLT_WINE32, a command that runs like
#                 wine (such as "scripts/wine-wow64 wine"); it sees only the
#                 folders listed in ZOLT_WOW64_SHARE, so this script adds
#                 BUILD_DIR there and keeps all of its files inside it
#   wasm          zolt7707-capture.js under node (scripts/web-build into
#                 BUILD_DIR/web, the folder test_web builds in)
# Every hash file must equal the reference line for line. A mismatch names the
# platform, the script and the first differing frame, and writes that frame
# from both sides into OUT_DIR. A platform that cannot be built or run here is
# skipped with a line saying what is missing; when none can, so is the test
# (exit status 77).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
native=$2
otherCxx=$3
out=$4
work=$build/tests/crossplatform/work
rm -rf "$work" "$out"
mkdir -p "$work" "$out"
export ZOLT_WOW64_SHARE=$build${ZOLT_WOW64_SHARE:+:$ZOLT_WOW64_SHARE}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# NAME and capture arguments. Together they press every key and pass through
# every part twice: Space all round the cycle, the scroll speeds U I O P, the
# rate overlay 8 at 25 and 50 frames per second (6, then 5), blur B and trails M
# in several parts, R in both passes of the colour sines, a star-field part
# long enough for a random glyph (frame 31), and Escape during the fade that
# opens a part (a key pressed in a fade is read at the part's first frame).
# The whole cycle then runs every part to its end, with the music's mixes.
scripts=(
    "speeds --frames 170 --keys 10:u,20:i,30:o,40:p,50:8,60:6,120:5,130:b,140:m,150:b,160:m"
    "parts --frames 200 --keys 5:space,8:m,12:b,15:space,20:b,25:m,40:space,50:space,55:r,65:space,70:8,80:space,90:space,100:space,110:space,120:space,130:space,140:r,150:space,160:space,170:6,180:space,190:space,191:esc"
    "cycle --frames 7502"
)

failures=0
compared=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
skipped() { echo "SKIPPED: the cross-platform test on $1: $2 is missing."; }
seconds() { echo $((SECONDS - $1)); }

# Builds with the given command, its output in $work/build-PLATFORM.log; false on failure.
build() {
    local platform=$1 start=$SECONDS
    shift
    if ! "$@" >"$work/build-$platform.log" 2>&1; then
        fail "$platform: the build failed:"
        tail -n 30 "$work/build-$platform.log"
        return 1
    fi
    echo "note: $platform built in $(seconds "$start") s"
}

# Runs the capture tool of PLATFORM with the arguments, inside $work/PLATFORM.
capture() {
    local platform=$1
    shift
    (
        cd "$work/$platform" || exit 1
        case $platform in
        native) "$native" "$@" ;;
        windows-x64) WINEPREFIX=$build/windows/wineprefix wine "$build/windows/x86_64/tools/capture/zolt7707-capture.exe" "$@" ;;
        windows-x86)
            WINEPREFIX=$build/windows/wineprefix-x86 "${wine32[@]}" "$build/windows/i686/tools/capture/zolt7707-capture.exe" "$@"
            ;;
        wasm) node "$build/web/tools/capture/zolt7707-capture.js" "$@" ;;
        *) "$build/other-compiler/tools/capture/zolt7707-capture" "$@" ;;
        esac
    )
}

# The hash files of every script, written by PLATFORM into $work/PLATFORM/NAME.txt.
hashes() {
    local platform=$1 script name args status
    mkdir -p "$work/$platform"
    for script in "${scripts[@]}"; do
        read -r name args <<<"$script"
        # shellcheck disable=SC2086 # the arguments are words
        capture "$platform" $args --write none --quiet --out "$name" --hashes "$name.txt" >"$work/$platform/$name.log" 2>&1
        status=$?
        # A runner may end well without having run the program (wine without its 32-bit half does).
        if [ "$status" -ne 0 ] || [ ! -f "$work/$platform/$name.txt" ]; then
            fail "$platform, script $name: the capture tool ended with status $status$([ -f "$work/$platform/$name.txt" ] ||
                echo ' and wrote no hashes'):"
            cat "$work/$platform/$name.log"
        fi
    done
}

# Writes frame FRAME of the script from both sides into $out as pictures.
picture() {
    local platform=$1 name=$2 args=$3 frame=$4 side file
    for side in native "$platform"; do
        # shellcheck disable=SC2086
        capture "$side" $args --write "$frame" --quiet --out "shot-$name" >/dev/null 2>&1
        for file in "$work/$side/shot-$name"/frame-*; do
            [ -f "$file" ] || continue
            local target=$out/$name-frame-$frame-$side.${file##*.}
            mv "$file" "$target"
            if [ "${target##*.}" = ppm ] && command -v convert >/dev/null; then
                convert "$target" "${target%.ppm}.png" && rm "$target"
            fi
        done
    done
    echo "  frame $frame from both sides: $out/$name-frame-$frame-*"
}

# Compares PLATFORM's hash files with the reference.
compare() {
    local platform=$1 script name args line what
    for script in "${scripts[@]}"; do
        read -r name args <<<"$script"
        local want=$work/native/$name.txt got=$work/$platform/$name.txt
        [ -f "$got" ] || continue
        if cmp -s "$want" "$got"; then
            echo "ok: $platform, script $name: $(wc -l <"$want") hashes the same"
            continue
        fi
        # The first line that differs, or the first one past the shorter file.
        line=$(awk 'NR == FNR { want[FNR] = $0; n = FNR; next }
                    !found && $0 != want[FNR] { print FNR; found = 1 }
                    END { if (!found) print (FNR < n ? FNR + 1 : n + 1) }' "$want" "$got")
        read -r what _ < <(sed -n "${line}p" "$want")
        case $what in
        sound) fail "$platform, script $name: every frame is the same, the soundtrack is not" \
            "(native $(tail -n 1 "$want"), $platform $(tail -n 1 "$got"))" ;;
        "") fail "$platform, script $name: $(wc -l <"$got") lines against the native $(wc -l <"$want")" ;;
        *)
            fail "$platform, script $name: frame $what differs first" \
                "(native $(sed -n "${line}p" "$want"), $platform $(sed -n "${line}p" "$got"))"
            picture "$platform" "$name" "$args" "$what"
            ;;
        esac
    done
    compared=$((compared + 1))
}

start=$SECONDS
hashes native
echo "note: the native captures took $(seconds "$start") s"
[ "$failures" -eq 0 ] || exit 1

# The capture tool alone, by the other compiler.
buildOther() {
    cmake -S "$root" -B "$build/other-compiler" -G Ninja -DCMAKE_CXX_COMPILER="$otherCxx" -DCMAKE_BUILD_TYPE=Release \
        -DZOLT_WERROR=ON -DZOLT_TESTS=OFF -DZOLT_BENCH=OFF &&
        cmake --build "$build/other-compiler" --target zolt7707-capture -j "$(nproc)"
}

# Each platform that has what it needs is built.
platforms=()
case $otherCxx in
*clang*) otherName=clang ;;
*) otherName=gcc ;;
esac
if command -v "$otherCxx" >/dev/null; then
    build "$otherName" buildOther && platforms=("$otherName")
else
    skipped "$otherName" "the compiler $otherCxx"
fi

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    skipped windows-x64 "the cross compiler x86_64-w64-mingw32-g++-posix (Debian package mingw-w64)"
elif ! command -v wine >/dev/null; then
    skipped windows-x64 "wine (Debian package wine64)"
else
    build windows-x64 env ZOLT_WINDOWS_BUILD_DIR="$build/windows" "$root/scripts/windows-build" --no-install --arch x86_64 &&
        platforms+=(windows-x64)
fi

read -ra wine32 <<<"${ZOLT_WINE32:-}"
case ${wine32[0]:-} in
*/*) [[ ${wine32[0]} = /* ]] || wine32[0]=$root/${wine32[0]} ;;
esac
if [ ${#wine32[@]} -eq 0 ]; then
    skipped windows-x86 "a 32-bit Windows runner (ZOLT_WINE32 is not set)"
elif ! command -v "${wine32[0]}" >/dev/null; then
    skipped windows-x86 "ZOLT_WINE32's command ${wine32[0]}"
elif ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
    skipped windows-x86 "the cross compiler i686-w64-mingw32-g++-posix (Debian package mingw-w64)"
else
    build windows-x86 env ZOLT_WINDOWS_BUILD_DIR="$build/windows" "$root/scripts/windows-build" --no-install --arch i686 &&
        platforms+=(windows-x86)
fi

if ! command -v emcc >/dev/null; then
    skipped wasm "the web toolchain (emcc, Debian package emscripten)"
elif ! command -v node >/dev/null; then
    skipped wasm "node (Debian package nodejs)"
else
    build wasm env ZOLT_WEB_BUILD_DIR="$build/web" "$root/scripts/web-build" --no-install && platforms+=(wasm)
fi

for platform in "${platforms[@]}"; do
    start=$SECONDS
    hashes "$platform"
    echo "note: the $platform captures took $(seconds "$start") s"
    compare "$platform"
done
command -v wineserver >/dev/null && WINEPREFIX=$build/windows/wineprefix wineserver -k 2>/dev/null

[ "$failures" -eq 0 ] || exit 1
if [ "$compared" -eq 0 ]; then
    echo "SKIPPED: the cross-platform test: no platform besides the native build can be built and run here."
    echo "  (scripts/install-deps test windowstest web installs clang, mingw-w64, wine64 and emscripten)"
    exit 77
fi
