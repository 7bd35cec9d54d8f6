#!/usr/bin/env bash
# A supervised `vitrel springboard`: scripted presses on its control socket, a new screen.png
# within 500 ms of a settings change made by another process, and a respring (the device's
# `killall SpringBoard`) answered by a fresh process that draws the screen again.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
supervisor=
trap 'if [ -n "$supervisor" ]; then kill "$supervisor"; wait "$supervisor"; fi; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
device="$work/device"
run() { "$vitrel" --device "$device" "$@"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
screen="$device/var/mobile/Library/Caches/vitrel/screen.png"
# The springboard says in the device's log when it draws.
log="$device/var/log/system.log"
springboard() { cut -d' ' -f1 "$device/var/run/SpringBoard.pid"; }
drawings() { grep -c "SpringBoard\[[0-9]*\]: springboard: drew" "$log" 2>/dev/null || true; }
# Waits until the springboard has drawn more than $1 times, at most $2 ms.
wait_for_drawing() {
  local since=$(now_ms)
  until [ "$(drawings)" -gt "$1" ]; do
    [ $(( $(now_ms) - since )) -le "$2" ] || return 1
    sleep 0.005
  done
}

if run springboard --press com.vitrel.sample.mail 2>"$work/err"; then fail "pressed with none running"; fi
grep -q "no springboard runs on this device" "$work/err" || fail "$(cat "$work/err")"

run prefs set dynamicLabelColoring false >/dev/null
# Started directly, not through run(), so that $! is the supervisor itself.
"$vitrel" --device "$device" springboard --supervise --scale 1 >/dev/null 2>"$work/springboard.log" &
supervisor=$!
wait_for_drawing 0 20000 || fail "no first drawing: $(cat "$work/springboard.log" "$log")"
[ "$(ps -o comm= -p "$(springboard)")" = SpringBoard ] || fail "process name"

for second in "springboard" "springboard --supervise"; do
  if run $second 2>"$work/err"; then fail "a second $second started"; fi
  grep -q "a springboard already runs on this device" "$work/err" || fail "$(cat "$work/err")"
done

run springboard --press com.vitrel.sample.photos | grep -q "Drew $screen" || fail "press"
if run springboard --press com.example.nosuch 2>"$work/err"; then fail "unknown app pressed"; fi
grep -q "unknown bundle identifier" "$work/err" || fail "$(cat "$work/err")"

before=$(drawings)
cp "$screen" "$work/before.png"
posted=$(now_ms)
run prefs set dynamicLabelColoring true >/dev/null
wait_for_drawing "$before" 500 || fail "no new screen.png within 500 ms of the change"
echo "screen redrawn $(( $(now_ms) - posted )) ms after the change"
cmp -s "$screen" "$work/before.png" && fail "the change did not show in the picture"

old=$(springboard)
before=$(drawings)
"$device/var/jb/usr/bin/killall" SpringBoard
wait_for_drawing "$before" 20000 || fail "no drawing after the respring"
new=$(springboard)
[ -n "$new" ] && [ "$new" != "$old" ] || fail "the springboard was not started again"
run log --process vitrel | grep -q "supervisor: springboard exited with status 0; starting it again" ||
  fail "the supervisor said nothing: $(run log)"
[ ! -s "$work/springboard.log" ] || fail "the log reached the terminal: $(cat "$work/springboard.log")"
echo ok
