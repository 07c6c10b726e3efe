#!/usr/bin/env bash
# CPU use and peak memory of the running windowed program on a virtual X
# server: 30 seconds at 25 frames per second, then 30 seconds at 50 (the key
# "6" sent with xdotool). Usage: bench/cpu_use.sh PROGRAM [SECONDS]
set -euo pipefail
program=$1
seconds=${2:-30}
source "$(dirname "${BASH_SOURCE[0]}")/../tests/xserver.sh"
startXvfb 640x480x24 >&2 || exit 1
export SDL_AUDIODRIVER=dummy
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
