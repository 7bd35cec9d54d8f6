#!/usr/bin/env bash
# Two devices on one machine, each with a supervised springboard: a respring on one, by the
# road the settings bundle takes (the rootful /usr/bin/killall, missing on these rootless
# devices, then the jailbreak's killall of backboardd), restarts that device's home screen and
# leaves the other's running.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
supervisors=()
trap 'for pid in "${supervisors[@]}"; do kill "$pid"; wait "$pid" || true; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
springboard_of() { [ -s "$1/var/run/SpringBoard.pid" ] && cut -d' ' -f1 "$1/var/run/SpringBoard.pid"; }
# Waits at most 20 s until the device's springboard is a process other than $2 and has drawn.
wait_for_springboard() {
  local since=$(now_ms) pid
  until pid=$(springboard_of "$1") && [ "$pid" != "$2" ] && kill -0 "$pid" 2>/dev/null &&
    grep -q "SpringBoard\[$pid\]: springboard: drew" "$1/var/log/system.log" 2>/dev/null; do
    [ $(( $(now_ms) - since )) -le 20000 ] || fail "no springboard on $1: $(cat "$work"/*.log)"
    sleep 0.02
  done
}

for name in one two; do
  "$vitrel" --device "$work/$name" springboard --supervise --scale 1 >/dev/null 2>"$work/$name.log" &
  supervisors+=($!)
done
wait_for_springboard "$work/one" none
wait_for_springboard "$work/two" none
two=$(springboard_of "$work/two")

[ ! -e "$work/one/usr/bin/killall" ] || fail "a rootless device has /usr/bin/killall"
[ -d "$work/one/usr/bin" ] || fail "the device has no /usr/bin"
old=$(springboard_of "$work/one")
"$work/one/var/jb/usr/bin/killall" backboardd
wait_for_springboard "$work/one" "$old"
"$vitrel" --device "$work/one" log --process vitrel | grep -q "backboardd ended; ending the springboard" ||
  fail "the supervisor did not say why: $("$vitrel" --device "$work/one" log)"

old=$(springboard_of "$work/one")
"$work/one/var/jb/usr/bin/killall" SpringBoard
wait_for_springboard "$work/one" "$old"

[ "$(springboard_of "$work/two")" = "$two" ] && kill -0 "$two" || fail "the other device's springboard ended"
if "$work/two/var/jb/usr/bin/killall" nosuch 2>"$work/err"; then fail "killed a process that is not there"; fi
grep -qx "nosuch: no process found" "$work/err" || fail "$(cat "$work/err")"
for name in one two; do
  [ ! -s "$work/$name.log" ] || fail "the log reached the terminal: $(cat "$work/$name.log")"
done
echo ok
