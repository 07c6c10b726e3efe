#!/usr/bin/env bash
# End-to-end check of both programs on a real X server (Xvfb), driven with
# instant key taps and judged from screenshots and the recorded sound:
# - on a 1920 x 1080 screen the windowed program opens a 768 x 768 window
#   titled "ZOLT7707" showing the scroll part (raster bars) blown up 3 times
#   in whole-pixel blocks (256 x 256 with SDL12COMPAT_WINDOW_SCALING=1); "b"
#   blurs the picture and "b" again sharpens it; Space walks through the seven
#   parts and back to the first, each part's picture lit and unlike the others;
#   "8" shows the frame rate as two digits at the top-left and "8" again hides
#   it; "m" turns the trails off and on; "r" draws the colour sines as spokes
#   from the centre; Escape, "q" and closing the window end it with status 0;
#   its sound is neither silent nor clipped;
# - on a 1024 x 768 screen the full-screen program shows the picture scaled to
#   the screen's height (centred on black, whole-pixel blocks) and ends with
#   status 0 on Escape.
# Usage: programs_test.sh WINDOWED-PROGRAM FULLSCREEN-PROGRAM [WM-DELETE-HELPER]
# Exits 77 (skipped) when Xvfb, the X tools or ImageMagick are missing.
# With ZOLT_E2E_SHOTS set to a folder, one screenshot of each part is kept there.
set -u

windowed=$1
fullscreen=$2
wmDelete=${3:-}
skip() { echo "SKIPPED: the end-to-end test of both programs: $1."; }

for tool in Xvfb xdotool xwd od awk cmp; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        skip "$tool is not installed"
        exit 77
    fi
done
# Some machines put a stand-in called convert ahead of ImageMagick's on the path.
convert=
for candidate in /usr/bin/convert "$(command -v convert 2>/dev/null)"; do
    if [ -x "$candidate" ] && "$candidate" -version 2>/dev/null | grep -q ImageMagick; then
        convert=$candidate
        break
    fi
done
if [ -z "$convert" ]; then
    skip "ImageMagick's convert is not installed"
    exit 77
fi

source "$(dirname "${BASH_SOURCE[0]}")/../xserver.sh"
if ! startXvfb 1920x1080x24; then
    skip "no X server to test on"
    exit 77
fi
unset SDL_VIDEODRIVER
# The programs keep their objects until they exit, and SDL leaves allocations
# of the X libraries it loads and unloads itself: a leak check at exit would
# only report those, so under the sanitizers it is off for these runs.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The program's own visible window, titled exactly ZOLT7707.
findWindow() {
    window=$(xdotool search --all --onlyvisible --pid "$programPid" --name '^ZOLT7707$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}

# Starts a program with the given audio driver and waits for its window; sets
# window and programPid.
start() {
    window=
    SDL_AUDIODRIVER=$2 "$1" >"$work/out.log" 2>&1 &
    programPid=$!
    poll 20 windowOrEnd
    if [ -z "$window" ]; then
        fail "$1: no visible window titled ZOLT7707"
        running && echo "the program is still running" || echo "the program has ended"
        echo "windows named ZOLT7707: $(xdotool search --name ZOLT7707 2>&1 | tr '\n' ' ')"
        cat "$work/out.log"
        echo "X server: $(xdpyinfo 2>&1 | head -n 3 | tr '\n' ' ')"
        kill -KILL "$programPid" 2>/dev/null
        wait "$programPid" 2>/dev/null
        programPid=
        return 1
    fi
    return 0
}

# Waits for the program to end and checks that it ended with status 0 and
# reported no sanitizer finding.
expectExit() {
    local what=$1
    if ! poll 10 stopped; then
        fail "$what: the program is still running"
        kill -KILL "$programPid" 2>/dev/null
    fi
    wait "$programPid"
    local status=$?
    programPid=
    if grep -qE 'runtime error|AddressSanitizer' "$work/out.log"; then
        fail "$what: the sanitizers reported a fault"
        cat "$work/out.log"
    fi
    if [ "$status" -ne 0 ]; then
        fail "$what: exit status $status, want 0"
        tail -n 20 "$work/out.log"
    else
        ok "$what"
    fi
}

# A key tapped as automation sends it: pressed and released within a few
# milliseconds, most often between two of the program's polls.
tapKey() {
    xdotool windowfocus --sync "$window" key --window "$window" "$1"
}

# Taps a key and waits until the program has read it, so that the next tap
# falls in a later poll: of two taps read in one poll only the later counts,
# and a program held up for a moment by a busy machine would read them so.
# The program polls its keys after showing each frame; only the 32 pictures of
# a fade-out between parts come without polls, and they show at most two
# different pictures (a half-faded and a black one). Four changes of the
# window's picture after the tap therefore take in a poll that read it. The
# corner letters turn in every frame, so the picture changes in every frame.
pressKey() {
    tapKey "$1"
    local changes=0 last= picture end=$(($(now) + 30 * 1000000))
    while [ "$changes" -lt 4 ]; do
        picture=$(xwd -silent -id "$window" 2>/dev/null | md5sum)
        [ -n "$last" ] && [ "$picture" != "$last" ] && changes=$((changes + 1))
        last=$picture
        if [ "$(now)" -ge "$end" ]; then
            fail "$1: the picture did not change after the key was sent"
            return
        fi
    done
}

# Screenshots the window into $work/NAME.png and, as 256 x 256 raw RGB (the
# picture taken out of the square in the middle of the window), $work/NAME.rgb;
# sets shotWidth, shotHeight, size, left and top. Fails when no screenshot could be taken.
shoot() {
    local name=$1 WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    [ -n "${WIDTH:-}" ] && [ "$WIDTH" -ge 256 ] && [ "$HEIGHT" -ge 256 ] || return 1
    shotWidth=$WIDTH
    shotHeight=$HEIGHT
    size=$((WIDTH < HEIGHT ? WIDTH : HEIGHT))
    left=$(((WIDTH - size) / 2))
    top=$(((HEIGHT - size) / 2))
    xwd -silent -id "$window" >"$work/shot.xwd" 2>/dev/null &&
        "$convert" "xwd:$work/shot.xwd" "$work/$name.png" 2>/dev/null &&
        "$convert" "$work/$name.png" -crop "${size}x$size+$left+$top" +repage \
            -sample 256x256 -depth 8 "rgb:$work/$name.rgb" 2>/dev/null &&
        [ "$(stat -c %s "$work/$name.rgb")" -eq $((256 * 256 * 3)) ]
}

# Counts over a rectangle X Y W H of a 256 x 256 raw RGB picture, set as shell
# variables: lit (not black), white (0xFFFFFF), bright (a channel at 240 or
# more), trail (lit but not bright: what fading leaves) and bars (rows of the
# rectangle in one lit colour from end to end).
measure() {
    eval "$(od -An -v -tu1 -w768 "$1" | awk -v x0="$2" -v y0="$3" -v w="$4" -v h="$5" '
        NR - 1 >= y0 && NR - 1 < y0 + h {
            same = 1
            for (x = x0; x < x0 + w; x++) {
                r = $(3 * x + 1); g = $(3 * x + 2); b = $(3 * x + 3)
                m = r; if (g > m) m = g; if (b > m) m = b
                if (m > 0) lit++
                if (m >= 240) bright++
                if (r == 255 && g == 255 && b == 255) white++
                if (x > x0 && (r != pr || g != pg || b != pb)) same = 0
                pr = r; pg = g; pb = b
            }
            if (same && pr + pg + pb > 0) bars++
        }
        END { printf "lit=%d white=%d bright=%d trail=%d bars=%d\n", lit, white, bright, lit - bright, bars }')"
}

# The share (per cent) of the lit pixels of $work/NAME.rgb 30 to 110 pixels
# from the centre, below the corner letters, whose points at 1/9 to 8/9 of the
# way to the centre are all lit too (or a pixel beside them across the line):
# 99 to 100 when all lines are spokes from the centre; for curves 0 to about 50,
# from segments that pass the centre where a curve swings through it. Sets fan.
fanShare() {
    fan=$(od -An -v -tu1 -w768 "$work/$1.rgb" | awk '
        { for (x = 0; x < 256; x++) if ($(3 * x + 1) + $(3 * x + 2) + $(3 * x + 3) > 0) lit[x, NR - 1] = 1 }
        function on(x, y, across) {
            return across ? lit[x, y] || lit[x, y - 1] || lit[x, y + 1] : lit[x, y] || lit[x - 1, y] || lit[x + 1, y]
        }
        function near(v) { return int(v + (v >= 0 ? 0.5 : -0.5)) }
        END {
            for (key in lit) {
                split(key, xy, SUBSEP)
                dx = xy[1] - 128; dy = xy[2] - 128; d = dx * dx + dy * dy
                if (xy[2] < 48 || d < 900 || d > 12100) continue
                all++; good = 1
                for (f = 1; f <= 8 && good; f++)
                    good = on(near(128 + dx * f / 9), near(128 + dy * f / 9), dx * dx >= dy * dy)
                fanned += good
            }
            print all ? int(100 * fanned / all) : 0
        }')
}

# Shoots until a test over the measured counts holds or the seconds run out;
# the last screenshot stays in $work/NAME.*.
shootUntil() {
    local name=$1 region=$3 test=$4
    local end=$(($(now) + $2 * 1000000))
    lit=0 white=0 bright=0 trail=0 bars=0
    while true; do
        if shoot "$name"; then
            # shellcheck disable=SC2086
            measure "$work/$name.rgb" $region
            eval "$test" && return 0
        fi
        [ "$(now)" -lt "$end" ] || return 1
        sleep 0.1
    done
}

keep() {
    [ -n "${ZOLT_E2E_SHOTS:-}" ] && mkdir -p "$ZOLT_E2E_SHOTS" && cp "$work/$1.png" "$ZOLT_E2E_SHOTS/$2.png"
    return 0
}

whole="0 0 256 256"
# Everything but the spinning corner letters at the top-right.
below="0 48 256 208"
scrollPart='[ "$bars" -ge 3 ]'
sharp='[ "$lit" -ge 500 ] && [ $((bright * 2)) -gt "$lit" ]'
blurred='[ "$lit" -ge 500 ] && [ $((bright * 8)) -lt "$lit" ]'

# The windowed program, recording its sound.
audio="$work/audio.raw"
export SDL_DISKAUDIOFILE=$audio
if start "$windowed" disk; then
    # The scroll part: raster bars, rows of one colour across the picture,
    # each demo pixel a 3 x 3 block of the window.
    if shootUntil scroll 10 "$whole" "$scrollPart && $sharp" && blocks "$work/scroll" "$size" "$left" "$top"; then
        ok "window: ${shotWidth}x$shotHeight, the raster bars in whole-pixel blocks ($bars bars, $lit lit pixels)"
    else
        fail "window: no raster bars in whole-pixel blocks (${shotWidth:-?}x${shotHeight:-?}, $bars bars, $lit lit, $bright bright, $offBytes bytes off)"
    fi
    [ "$shotWidth" = 768 ] && [ "$shotHeight" = 768 ] || fail "window is ${shotWidth}x$shotHeight, want 768x768"
    keep scroll 1-scroll
    cp "$work/scroll.rgb" "$work/part1.rgb"

    # Blur: thin lines spread over their neighbours and lose their full brightness.
    sharpLit=$lit
    pressKey b
    if shootUntil blur 5 "$whole" "$blurred" && [ "$lit" -gt "$sharpLit" ]; then
        ok "b blurs the picture ($sharpLit lit pixels sharp, $lit blurred, $bright bright)"
    else
        fail "b: the picture is not blurred ($lit lit, $bright bright; sharp had $sharpLit lit)"
    fi
    keep blur 1-scroll-blurred
    pressKey b
    shootUntil sharp 5 "$whole" "$sharp" || fail "b again: the picture stays blurred ($lit lit, $bright bright)"

    # Space walks through the parts; each one, a few frames after its fade-out,
    # is lit and unlike every part before it.
    names=(scroll sine-lines star-field line-frames colour-sine radial-lines lasers)
    walkPart() {
        local n=$1 name=${names[$(($1 - 1))]} k differ
        pressKey space
        sleep 0.6
        if ! shootUntil "part$n" 5 "$below" '[ "$lit" -ge 1000 ]'; then
            fail "part $n ($name) is black ($lit lit pixels below the corner letters)"
            return
        fi
        keep "part$n" "$n-$name"
        measure "$work/part$n.rgb" $whole
        [ "$bars" -ge 3 ] && fail "part $n ($name) still shows the raster bars"
        for k in $(seq 1 $((n - 1))); do
            differ=$(cmp -l "$work/part$k.rgb" "$work/part$n.rgb" | wc -l)
            [ "$differ" -ge 20000 ] || fail "part $n ($name) looks like part $k: only $differ bytes differ"
        done
        ok "part $n ($name): $lit lit pixels"
    }

    walkPart 2
    # The frame rate: two white hexadecimal digits in the 16 x 16 cells at the
    # top-left, where this part draws no white of its own.
    fps="0 0 32 16"
    if shootUntil nofps 3 "$fps" '[ "$white" -eq 0 ]'; then
        pressKey 8
        shootUntil fps 5 "0 0 16 16" '[ "$white" -ge 8 ]' && first=$white || first=0
        measure "$work/fps.rgb" 16 0 16 16
        if [ "$first" -ge 8 ] && [ "$white" -ge 8 ]; then
            ok "8 shows the frame rate ($first and $white white pixels in the digit cells)"
        else
            fail "8: no two digits at the top-left ($first and $white white pixels)"
        fi
        keep fps 2-sine-lines-fps
        # Right of the digits up to where the corner letters spin.
        measure "$work/fps.rgb" 32 0 128 16
        [ "$white" -eq 0 ] || fail "8: white beside the two digits ($white pixels)"
        pressKey 8
        shootUntil nofps 5 "$fps" '[ "$white" -eq 0 ]' || fail "8 again: the frame rate stays shown"
    else
        fail "white at the top-left before 8 was pressed ($white pixels)"
    fi

    # Trails: with them off, each picture holds only the current frame's lines
    # at full brightness and none of the dimmed lines of earlier frames.
    if shootUntil trails 3 "$whole" '[ "$trail" -ge 2000 ]'; then
        before=$trail
        pressKey m
        if shootUntil notrails 5 "$whole" '[ $((trail * 10)) -lt "$before" ] && [ "$lit" -ge 500 ]'; then
            ok "m turns the trails off ($before trail pixels, then $trail)"
        else
            fail "m: the trails stay ($before trail pixels, then $trail; $lit lit)"
        fi
        keep notrails 2-sine-lines-no-trails
        pressKey m
        shootUntil trails 5 "$whole" '[ "$trail" -ge 2000 ]' || fail "m again: no trails come back ($trail)"
    else
        fail "the sine lines leave no trails ($trail trail pixels)"
    fi

    walkPart 3
    walkPart 4
    walkPart 5
    # Spokes: with "r" every curve point is joined to the centre (128, 128),
    # so nearly every lit pixel lies on a lit line to the centre, as few do on
    # curves (which may fill the middle by themselves). Trails are off
    # meanwhile, so each picture shows only the current drawing mode.
    pressKey m
    if shootUntil curves 3 "$whole" '[ "$lit" -ge 500 ] && fanShare curves && [ "$fan" -lt 90 ]'; then
        pressKey r
        curvesFan=$fan
        if shootUntil radial 5 "$whole" 'fanShare radial && [ "$fan" -ge 90 ]'; then
            ok "r draws spokes from the centre ($fan % of the lit pixels on lines to it, $curvesFan % before)"
        else
            fail "r: no spokes from the centre ($fan % of the lit pixels on lines to it, $curvesFan % before)"
        fi
        keep radial 5-colour-sine-radials
        pressKey r
        shootUntil curves 5 "$whole" '[ "$lit" -ge 500 ] && fanShare curves && [ "$fan" -lt 90 ]' ||
            fail "r again: the spokes stay ($fan % of the lit pixels on lines to the centre)"
    else
        fail "spokes before r was pressed ($fan % of the lit pixels on lines to the centre)"
    fi
    pressKey m

    walkPart 6
    walkPart 7
    # After the lasers the cycle starts again with the scroll part.
    pressKey space
    if shootUntil again 5 "$whole" "$scrollPart"; then
        ok "the cycle wraps round to the scroll part"
    else
        fail "after the seventh part: no raster bars ($bars bars)"
    fi

    tapKey Escape
    expectExit "window: Escape"

    # The sound: 16-bit values (SDL writes what its device takes); some loud,
    # none at the limits.
    if [ -s "$audio" ]; then
        eval "$(od -An -v -td2 -w2 "$audio" | awk '
            { v = $1 < 0 ? -$1 : $1; if (v > peak) peak = v; if (v >= 32767) limit++ }
            END { printf "peak=%d limit=%d values=%d\n", peak, limit, NR }')"
        if [ "$peak" -ge 1000 ] && [ "$limit" -eq 0 ]; then
            ok "sound: $values values, peak $peak"
        else
            fail "sound: peak $peak over $values values, $limit at the limit (want a peak of 1000 to 32766)"
        fi
    else
        fail "sound: nothing was recorded in $audio"
    fi
fi

unset SDL_DISKAUDIOFILE

# Waits until the demo runs its first part, so that the key sent next is
# judged by a running part.
demoRunning() {
    shootUntil running 10 "$whole" "$scrollPart" || fail "$1: the scroll part does not start ($bars bars)"
}

# "q" quits as well; the viewer's own window scale wins.
if SDL12COMPAT_WINDOW_SCALING=1 start "$windowed" dummy; then
    demoRunning "window: q"
    [ "$shotWidth" = 256 ] && [ "$shotHeight" = 256 ] ||
        fail "SDL12COMPAT_WINDOW_SCALING=1: window is ${shotWidth}x$shotHeight, want 256x256"
    tapKey q
    expectExit "window: q"
fi

# Closing the window quits like Escape.
if [ -n "$wmDelete" ] && start "$windowed" dummy; then
    demoRunning "window: closed"
    "$wmDelete" "$window" || fail "could not ask the window to close"
    expectExit "window: closed"
elif [ -z "$wmDelete" ]; then
    echo "SKIPPED: the programs' test of closing the window: no helper to send WM_DELETE_WINDOW (it needs libx11-dev)."
fi

# Full-screen program: starts, shows the picture scaled to the whole screen,
# Escape quits. Xvfb has no window manager to grant the full-screen request,
# so the test plays its part and gives the window the whole screen. A screen
# 768 high (3 times the picture) makes every demo pixel a whole block.
restartXvfb 1024x768x24 || fail "no X server with a 1024x768 screen"
if start "$fullscreen" dummy; then
    eval "$(xdotool getdisplaygeometry --shell 2>/dev/null || echo WIDTH=1024 HEIGHT=768)"
    screenWidth=$WIDTH
    screenHeight=$HEIGHT
    xdotool windowsize "$window" "$WIDTH" "$HEIGHT" windowmove "$window" 0 0
    # Nearest scaling to the screen's height: blowing the 256 x 256 picture up
    # again gives back the screenshot; left and right of it the screen is black.
    fullScreen() {
        shoot full || return 1
        [ "$shotWidth" -eq "$screenWidth" ] && [ "$shotHeight" -eq "$screenHeight" ] || return 1
        measure "$work/full.rgb" $whole
        [ "$lit" -ge 500 ] && blocks "$work/full" "$size" "$left" "$top" || return 1
        [ "$left" -eq 0 ] && return 0
        [ "$("$convert" "$work/full.png" -crop "${left}x${shotHeight}+0+0" +repage -format '%[max]' info:)" = 0 ] &&
            [ "$("$convert" "$work/full.png" -crop "${left}x${shotHeight}+$((left + size))+0" +repage -format '%[max]' info:)" = 0 ]
    }
    offBytes=unknown
    if poll 8 fullScreen; then
        ok "full screen shows the picture $size pixels high in a ${shotWidth}x${shotHeight} window, centred"
    else
        fail "full screen: no sharp, centred, lit picture (window ${shotWidth:-?}x${shotHeight:-?}, $offBytes bytes off the pixel blocks)"
    fi
    keep full full-screen
    tapKey Escape
    expectExit "full screen: Escape"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all program checks passed"
