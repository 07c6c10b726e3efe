# Shared by the scripts that run the programs on a virtual X server: the
# scratch folder, results, polling, the state of the program under test and
# the server itself.

# The scratch folder and the two processes a run starts: at exit the program
# (programPid) is killed, then the caller's undoMore runs when the script
# defines one, then the server (xvfbPid) is stopped and the folder removed.
work=$(mktemp -d)
xvfbPid=
programPid=
cleanup() {
    [ -n "$programPid" ] && kill -KILL "$programPid" 2>/dev/null
    declare -F undoMore >/dev/null && undoMore
    [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null && wait "$xvfbPid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
ok() { echo "ok: $*"; }

# Microseconds since the epoch.
now() { local t=${EPOCHREALTIME/[.,]/}; echo "$t"; }

# Polls a command every 0.05 s until it succeeds or the seconds run out; the
# command is tried at least once.
poll() {
    local end=$(($(now) + $1 * 1000000))
    shift
    while true; do
        "$@" && return 0
        [ "$(now)" -lt "$end" ] || return 1
        sleep 0.05
    done
}

# The program under test (programPid); windowOrEnd needs the caller's findWindow.
running() { kill -0 "$programPid" 2>/dev/null; }
stopped() { ! running; }
windowOrEnd() { findWindow || stopped; }

# Starts Xvfb with one screen of the given size (1024x768x24 by default), sets
# xvfbPid and exports DISPLAY once the server answers; otherwise says why and
# returns 1. Xvfb picks a free display number itself and writes it to the file
# descriptor once it accepts clients. -noreset: by default an X server resets
# whenever its last client leaves and drops every connection still being set
# up, so a program connecting just as a short xdotool call ends would find no
# display.
startXvfb() {
    Xvfb -displayfd 3 -noreset -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfbPid=$!
    if ! poll 10 test -s "$work/display"; then
        echo "Xvfb did not start"
        cat "$work/xvfb.log"
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$work/display")"
    if ! poll 10 xdotool getmouselocation >/dev/null 2>&1; then
        echo "the X server at $DISPLAY does not answer"
        return 1
    fi
}

# Stops the server and starts another with a screen of the given size. The
# old server's display number goes first, or the new one might be read before
# the file is made anew.
restartXvfb() {
    kill "$xvfbPid" && wait "$xvfbPid" 2>/dev/null
    xvfbPid=
    rm -f "$work/display"
    startXvfb "$1"
}

# Sets offBytes to the number of bytes of the SIZE x SIZE square at LEFT, TOP
# of the screenshot NAME.png that differ from the 256 x 256 raw RGB picture
# NAME.rgb taken out of it, blown up again to SIZE x SIZE by nearest neighbour;
# succeeds when none does: every demo pixel is then one sharp block of the
# screen. SIZE is a multiple of 256: at other scales a renderer may round the
# edges of blocks that fall halfway between two pixels the other way.
blocks() {
    local shot=$1 size=$2 left=$3 top=$4 convert=${convert:-convert}
    offBytes=unknown
    "$convert" "$shot.png" -crop "${size}x$size+$left+$top" +repage -depth 8 "rgb:$work/crop.rgb" &&
        "$convert" -size 256x256 -depth 8 "rgb:$shot.rgb" -sample "${size}x$size" -depth 8 "rgb:$work/blown.rgb" ||
        return 1
    offBytes=$(cmp -l "$work/crop.rgb" "$work/blown.rgb" | wc -l)
    [ "$offBytes" -eq 0 ]
}
