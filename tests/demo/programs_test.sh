#!/usr/bin/env bash
# End-to-end check of both programs on a real X server (Xvfb): each opens its
# window titled "ZOLT7707", shows its picture, and ends with status 0 when
# Escape is pressed or when the window is asked to close.
# Usage: programs_test.sh WINDOWED-PROGRAM FULLSCREEN-PROGRAM [WM-DELETE-HELPER]
# Exits 77 (skipped) when Xvfb or the X tools are missing.
set -u

windowed=$1
fullscreen=$2
wmDelete=${3:-}

for tool in Xvfb xdotool xwd convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
xvfbPid=
programPid=
cleanup() {
    [ -n "$programPid" ] && kill -KILL "$programPid" 2>/dev/null
    [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null && wait "$xvfbPid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Polls a command every 0.05 s until it succeeds or the seconds run out.
poll() {
    local seconds=$1
    shift
    local tries=$((seconds * 20))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.05
        tries=$((tries - 1))
    done
    return 1
}

# Xvfb picks a free display number itself and writes it to the file descriptor.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfbPid=$!
if ! poll 10 test -s "$work/display"; then
    echo "SKIP: Xvfb did not start"
    cat "$work/xvfb.log"
    exit 77
fi
export DISPLAY=":$(head -n 1 "$work/display")"
if ! poll 10 xdotool getmouselocation >/dev/null 2>&1; then
    echo "SKIP: the X server at $DISPLAY does not answer"
    exit 77
fi
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
# The programs keep their objects until they exit, and SDL leaves allocations
# of the X libraries it loads and unloads itself: a leak check at exit would
# only report those, so under the sanitizers it is off for these runs.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

findWindow() {
    window=$(xdotool search --onlyvisible --name '^ZOLT7707$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}

running() { kill -0 "$programPid" 2>/dev/null; }
stopped() { ! running; }
windowOrEnd() { findWindow || stopped; }

# Starts a program and waits for its window; sets window and programPid.
start() {
    window=
    "$1" >"$work/out.log" 2>&1 &
    programPid=$!
    if ! poll 20 windowOrEnd || [ -z "$window" ]; then
        fail "$1: no visible window titled ZOLT7707"
        running && echo "the program is still running" || echo "the program has ended"
        echo "windows named ZOLT7707: $(xdotool search --name ZOLT7707 2>&1 | tr '\n' ' ')"
        cat "$work/out.log"
        kill -KILL "$programPid" 2>/dev/null
        wait "$programPid" 2>/dev/null
        programPid=
        return 1
    fi
    return 0
}

# Waits for the program to end and checks that it ended with status 0.
expectExit() {
    local what=$1
    if ! poll 10 stopped; then
        fail "$what: the program is still running"
        kill -KILL "$programPid" 2>/dev/null
    fi
    wait "$programPid"
    local status=$?
    programPid=
    [ "$status" -eq 0 ] || fail "$what: exit status $status, want 0"
    [ "$status" -eq 0 ] && echo "ok: $what"
}

# A key held for a moment, as a person presses it: the program polls its keys
# once a frame, and a press released before the poll is not seen.
pressKey() {
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool keydown --window "$window" "$1"
    sleep 0.2
    xdotool keyup --window "$window" "$1" 2>/dev/null
}

# The colour at (x, y) of the last screenshot ($work/shot.rgb, $shotWidth
# pixels a row) as six hex digits.
pixel() {
    od -An -tx1 -j $((($2 * shotWidth + $1) * 3)) -N 3 "$work/shot.rgb" | tr -d ' \n'
}

# Screenshots the window until its picture shows the demo (the first frames
# are the opening fade to black, a full-screen window may still be growing);
# the picture is scaled to fit a larger window, centred, with black around it.
checkPicture() {
    local what=$1
    local attempt wrong WIDTH HEIGHT scale left top lit
    for attempt in $(seq 80); do
        wrong="no screenshot"
        eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
        if xwd -silent -id "$window" >"$work/shot.xwd" 2>/dev/null &&
            /usr/bin/convert "xwd:$work/shot.xwd" -depth 8 "rgb:$work/shot.rgb" 2>/dev/null &&
            [ "$(stat -c %s "$work/shot.rgb")" -eq $((WIDTH * HEIGHT * 3)) ]; then
            shotWidth=$WIDTH
            scale=$((WIDTH < HEIGHT ? WIDTH / 256 : HEIGHT / 256))
            left=$(((WIDTH - 256 * scale) / 2))
            top=$(((HEIGHT - 256 * scale) / 2))
            wrong=
            [ "$scale" -ge 1 ] || wrong="window of ${WIDTH}x${HEIGHT} is smaller than 256 x 256"
            if [ -z "$wrong" ]; then
                lit=$(/usr/bin/convert "xwd:$work/shot.xwd" -crop "$((256 * scale))x$((256 * scale))+$left+$top" \
                    -colorspace gray -threshold 1% -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
                [ "${lit:-0}" -gt 100 ] || wrong="the picture is black"
            fi
            [ -z "$wrong" ] && [ "$left" -gt 0 ] && [ "$(pixel $((left / 2)) $((HEIGHT / 2)))" != 000000 ] &&
                wrong="the border left of the picture is not black"
        fi
        if [ -z "$wrong" ]; then
            echo "ok: $what shows the demo in a ${WIDTH}x${HEIGHT} window"
            return
        fi
        sleep 0.05
    done
    fail "$what: $wrong"
    /usr/bin/convert "xwd:$work/shot.xwd" "${TMPDIR:-/tmp}/zolt7707-shot.png" 2>/dev/null &&
        echo "screenshot kept in ${TMPDIR:-/tmp}/zolt7707-shot.png"
}

# Windowed program: a 256 x 256 window, Escape quits.
if start "$windowed"; then
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
    [ "$WIDTH" = 256 ] && [ "$HEIGHT" = 256 ] || fail "window is ${WIDTH}x${HEIGHT}, want 256x256"
    checkPicture "window"
    pressKey Escape
    expectExit "window: Escape"
fi

# "q" quits as well.
if start "$windowed"; then
    pressKey q
    expectExit "window: q"
fi

# Closing the window quits like Escape.
if [ -n "$wmDelete" ] && start "$windowed"; then
    sleep 0.2
    "$wmDelete" "$window" || fail "could not ask the window to close"
    expectExit "window: closed"
elif [ -z "$wmDelete" ]; then
    echo "skipped: closing the window (no helper to send WM_DELETE_WINDOW)"
fi

# Full-screen program: starts, shows the demo scaled to the whole screen,
# Escape quits. Xvfb has no window manager to grant the full-screen request,
# so the test plays its part and gives the window the whole screen.
if start "$fullscreen"; then
    eval "$(xdotool getdisplaygeometry --shell 2>/dev/null || echo WIDTH=1024 HEIGHT=768)"
    xdotool windowsize "$window" "$WIDTH" "$HEIGHT" windowmove "$window" 0 0
    checkPicture "full screen"
    pressKey Escape
    expectExit "full screen: Escape"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all program checks passed"
