#!/usr/bin/env bash
# The device's log as a user meets it: the library's lines stay off the terminal, `vitrel log`
# shows them as a console does (time, process, pid), --process picks a process, --verbose
# echoes them, and `vitrel log --follow` keeps printing across a rotation of the full log.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
device="$work/device"
log="$device/var/log/system.log"
run() { "$vitrel" --device "$device" "$@"; }

run preview --dump "$work/tree.json" >"$work/out" 2>"$work/err"
if grep -q ZQK "$work/out" "$work/err"; then fail "the library's log reached the terminal"; fi
entry='^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3} vitrel\[[0-9]+\]: ZQK '
run log | grep -Eq "$entry" || fail "no console line of the library: $(run log)"
[ "$(run log --process vitrel | grep -c ZQK)" -ge 1 ] || fail "--process vitrel shows nothing"
[ -z "$(run log --process SpringBoard)" ] || fail "--process shows another process's lines"

run preview --verbose --dump "$work/tree.json" >/dev/null 2>"$work/err"
grep -Eq "$entry" "$work/err" || fail "--verbose did not echo the log: $(cat "$work/err")"

# A full log (past 1 MiB): the next line rotates it while a follower reads.
filler=$(printf '2026-01-01 00:00:00.000 filler[1]: %0100d' 0)
for _ in $(seq 9800); do echo "$filler"; done >"$log"
echo "2026-01-01 00:00:00.000 filler[1]: the last line before the rotation" >>"$log"
"$vitrel" --device "$device" log --follow >"$work/followed" &
follower=$!
for _ in $(seq 100); do grep -q "before the rotation" "$work/followed" && break; sleep 0.1; done
grep -q "before the rotation" "$work/followed" || fail "the follower printed nothing"
run preview --dump "$work/tree.json" >/dev/null
[ -s "$log.1" ] || fail "the full log was not rotated"
[ "$(stat -c %s "$log")" -lt 100000 ] || fail "the new log is not small"
for _ in $(seq 100); do grep -q ZQK "$work/followed" && break; sleep 0.1; done
grep -q ZQK "$work/followed" || fail "the follower missed the lines after the rotation"
# As Ctrl-C would (a script's background job ignores SIGINT).
kill -TERM "$follower"
wait "$follower" || fail "the follower did not end cleanly when asked"
[ "$(grep -c filler "$work/followed")" = 9801 ] || fail "the follower lost or repeated lines"
echo ok
