#!/usr/bin/env bash
# CPU use and peak memory of the running windowed program on a virtual X
# server: 30 seconds at 25 frames per second, then 30 seconds at 50 (the key
# "6" sent with xdotool). Usage: bench/cpu_use.sh PROGRAM [SECONDS]
set -euo pipefail
program=$1
seconds=${2:-30}
work=$(mktemp -d)
# Xvfb picks a free display number and writes it to the file descriptor once it
# accepts clients. -noreset: an X server that resets whenever its last client
# leaves drops the connections being set up meanwhile, and the program would
# find no display.
Xvfb -displayfd 3 -noreset -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")" SDL_AUDIODRIVER=dummy
xdotool getmouselocation >/dev/null || { echo "the X server at $DISPLAY does not answer" >&2; exit 1; }
run() {
  local fps=$1 log
  log=$(mktemp)
  # SIGTERM does not end the demo (closing it is ignored): timeout follows with SIGKILL.
  /usr/bin/time -v timeout -k 1 "$seconds" "$program" 2>"$log" &
  local timer=$!
  if [ "$fps" = 50 ]; then
    sleep 2
    local window
    window=$(xdotool search --sync --name ZOLT7707 | head -1)
    xdotool windowfocus --sync "$window" key --window "$window" 6
  fi
  wait "$timer" || true
  local user sys rss
  user=$(sed -n 's/.*User time (seconds): //p' "$log")
  sys=$(sed -n 's/.*System time (seconds): //p' "$log")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$log")
  awk -v f="$fps" -v u="$user" -v s="$sys" -v r="$rss" -v t="$seconds" \
    'BEGIN { printf "%d fps: user %.2f s, system %.2f s over %d s = %.1f %% of one core; peak RSS %.1f MiB\n", f, u, s, t, 100 * (u + s) / t, r / 1024 }'
  rm -f "$log"
}
run 25
run 50
