#!/usr/bin/env bash
# The Debian package on the machine itself, as a user gets it:
# - lintian finds no error in it (when lintian is installed);
# - apt-get install ./PACKAGE installs it; the desktop entries and the
#   metainfo it installed pass desktop-file-validate and appstreamcli (when
#   installed), and man -w finds the pages of all three programs;
# - the installed zolt7707-window opens its window titled "ZOLT7707" on a
#   virtual X display (Xvfb) and a tap of Escape ends it with status 0;
# - the installed zolt7707-capture --frames 50 writes 50 PNG pictures of
#   256 x 256, not all alike, and two seconds of sound;
# - apt-get purge removes it and leaves no file behind: the file lists of
#   /usr, /etc, /opt, /var/games and dpkg's records before and after match,
#   but for files of packages apt installed as its dependencies.
# Usage: package_test.sh PACKAGE.deb (CI runs it as root after scripts/package)
# Exits 77 (skipped) when not run as root or when Xvfb or xdotool is missing;
# refuses to run when the package is installed already.
set -u

deb=${1:?usage: package_test.sh PACKAGE.deb}
[ -f "$deb" ] || { echo "FAIL: no package at $deb"; exit 1; }
deb=$(realpath "$deb")
# A skip line: the reason, and what of the test is skipped when not all of it.
skip() { echo "SKIPPED: the package test${2:-}: $1."; }
if [ "$(id -u)" -ne 0 ]; then
    skip "installing a package needs root"
    exit 77
fi
for tool in Xvfb xdotool apt-get man; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        skip "$tool is not installed"
        exit 77
    fi
done
name=$(dpkg-deb -f "$deb" Package)
if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed'; then
    echo "FAIL: $name is installed already; remove it first (apt-get purge $name)"
    exit 1
fi

# Never leave the package behind, whatever failed.
undoMore() {
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed' &&
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$name" >/dev/null 2>&1
}

source "$(dirname "${BASH_SOURCE[0]}")/../xserver.sh"
started=$(now)
elapsed() { echo "$((($(now) - started) / 1000000)) s"; }

if command -v lintian >/dev/null 2>&1; then
    if lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
        ok "lintian: no errors ($(grep -c '^W:' "$work/lintian.log") warnings)"
    else
        fail "lintian reports errors"
    fi
    grep -E '^[EW]:' "$work/lintian.log"
else
    skip "lintian is not installed" "'s lintian check"
fi

# Every path in the places a package may write to. The caches that other
# packages' triggers rebuild are brought up to date first, so a trigger run
# by the installation does not count as a file left behind.
command -v update-desktop-database >/dev/null && update-desktop-database -q /usr/share/applications
fileList() {
    find /usr /etc /opt /var/games /var/lib/dpkg/info /var/lib/dpkg/alternatives -xdev 2>/dev/null | sort
}
fileList >"$work/before"

export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1; then
    fail "apt-get install $deb"
    cat "$work/apt.log"
    exit 1
fi
ok "apt-get install ./$(basename "$deb") ($(elapsed))"
bin=/usr/games
# Slimmed systems (container images) may tell dpkg to leave out every manual page.
manExcluded=$(grep -rhsE '^path-exclude[= ]+/usr/share/man/' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d | head -n 1)
[ -z "$manExcluded" ] || skip "dpkg is told to leave out the pages ($manExcluded)" "'s man -w check"
for program in zolt7707 zolt7707-window zolt7707-capture; do
    [ -x "$bin/$program" ] || fail "$bin/$program is not installed"
    if [ -n "$manExcluded" ]; then
        continue
    fi
    page=$(man -w "$program" 2>/dev/null)
    [ -n "$page" ] && ok "man -w $program: $page" || fail "man -w $program finds no page"
done
mapfile -t desktop < <(dpkg -L "$name" | grep '\.desktop$')
[ "${#desktop[@]}" -eq 2 ] || fail "want 2 desktop entries, the package has ${#desktop[@]}"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "${desktop[@]}" && ok "desktop-file-validate: ${desktop[*]}" ||
        fail "desktop-file-validate ${desktop[*]}"
else
    skip "desktop-file-validate is not installed" "'s desktop entry check"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    metainfo=$(dpkg -L "$name" | grep '\.metainfo\.xml$')
    appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 && ok "appstreamcli validate $metainfo" ||
        { fail "appstreamcli validate $metainfo"; cat "$work/appstream.log"; }
else
    skip "appstreamcli is not installed" "'s metainfo check"
fi
while read -r icon; do
    size=${icon#/usr/share/icons/hicolor/}
    size=${size%%/*}
    [ "$(od -An -tx1 -N8 "$icon" | tr -d ' \n')" = 89504e470d0a1a0a ] &&
        [ "$(od -An -tu1 -j16 -N8 "$icon" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')" = "$size" ] ||
        fail "$icon is not a $size PNG"
done < <(dpkg -L "$name" | grep '^/usr/share/icons/hicolor/.*\.png$')

# The windowed program on a virtual display that stays up between clients.
if ! startXvfb; then
    fail "no X server"
else
    SDL_AUDIODRIVER=dummy "$bin/zolt7707-window" >"$work/window.log" 2>&1 &
    programPid=$!
    window=
    findWindow() {
        window=$(xdotool search --all --onlyvisible --pid "$programPid" --name '^ZOLT7707$' 2>/dev/null | head -n 1)
        [ -n "$window" ]
    }
    poll 20 windowOrEnd
    if [ -z "$window" ]; then
        fail "$bin/zolt7707-window: no visible window titled ZOLT7707"
        cat "$work/window.log"
    else
        ok "$bin/zolt7707-window shows its window ZOLT7707 ($(elapsed))"
        # The demo reads no key during its start and the opening fade: a tap
        # then is dropped, so Escape is tapped again until the demo has seen it.
        xdotool windowfocus --sync "$window" 2>/dev/null
        taps=0
        escaped() { taps=$((taps + 1)); xdotool key Escape 2>/dev/null; poll 1 stopped; }
        if poll 20 escaped; then
            wait "$programPid"
            status=$?
            programPid=
            [ "$status" -eq 0 ] && ok "Escape ends it with status 0 (tapped $taps times)" ||
                { fail "Escape: exit status $status, want 0"; cat "$work/window.log"; }
        else
            fail "Escape does not end $bin/zolt7707-window"
        fi
    fi
fi

# The capture tool: 50 pictures and their two seconds of sound.
capture=$work/capture
if "$bin/zolt7707-capture" --frames 50 --out "$capture" --quiet >"$work/capture.log" 2>&1; then
    mapfile -t frames < <(find "$capture" -name 'frame-*.png' | sort)
    bad=0
    for frame in "${frames[@]}"; do
        [ "$(od -An -tx1 -N8 "$frame" | tr -d ' \n')" = 89504e470d0a1a0a ] &&
            [ "$(od -An -tu1 -j16 -N8 "$frame" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')" = 256x256 ] ||
            bad=$((bad + 1))
    done
    distinct=$(md5sum "${frames[@]}" | cut -d' ' -f1 | sort -u | wc -l)
    sound=$(stat -c %s "$capture/soundtrack.wav" 2>/dev/null || echo 0)
    if [ "${#frames[@]}" -eq 50 ] && [ -f "$capture/frame-000001.png" ] && [ -f "$capture/frame-000050.png" ] &&
        [ "$bad" -eq 0 ] && [ "$distinct" -ge 10 ] && [ "$sound" -eq $((44 + 2 * 44100 * 2)) ]; then
        ok "zolt7707-capture --frames 50: 50 PNG pictures of 256 x 256 ($distinct distinct), $sound bytes of WAV"
    else
        fail "zolt7707-capture --frames 50: ${#frames[@]} pictures, $bad not 256 x 256 PNG, $distinct distinct, WAV of $sound bytes"
        ls "$capture"
    fi
else
    fail "zolt7707-capture --frames 50 failed"
    cat "$work/capture.log"
fi

# Removal leaves nothing.
if apt-get purge -y -qq "$name" >"$work/apt.log" 2>&1; then
    ok "apt-get purge $name ($(elapsed))"
else
    fail "apt-get purge $name"
    cat "$work/apt.log"
fi
fileList >"$work/after"
left=()
while read -r path; do
    # Files of the dependencies apt installed belong to those packages.
    dpkg -S "$path" >/dev/null 2>&1 || left+=("$path")
done < <(comm -13 "$work/before" "$work/after")
gone=$(comm -23 "$work/before" "$work/after")
if [ "${#left[@]}" -eq 0 ] && [ -z "$gone" ]; then
    ok "the purge leaves the file lists as they were ($(wc -l <"$work/after") paths)"
else
    fail "after the purge: ${#left[@]} paths left behind, $(printf '%s' "$gone" | grep -c .) paths gone"
    [ "${#left[@]}" -eq 0 ] || printf 'left: %s\n' "${left[@]}"
    printf '%s\n' "$gone" | sed 's/^/gone: /'
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all package checks passed ($(elapsed))"
