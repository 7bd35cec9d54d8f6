#!/usr/bin/env bash
# The vitrel program as a user runs it: help, a bad device folder, and a notification posted
# by one process and heard by another.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$vitrel" --help | grep -q "notify" || fail "--help does not list the notify command"

if "$vitrel" --device /proc/version notify post x 2>"$work/err"; then
  fail "a file used as the device folder was accepted"
fi
grep -q "cannot use /proc/version" "$work/err" || fail "unclear error: $(cat "$work/err")"

device="$work/device"
"$vitrel" --device "$device" notify watch --count 1 --timeout 20 demo/ping \
  >"$work/out" 2>"$work/watch.err" &
watcher=$!
for _ in $(seq 100); do grep -q watching "$work/watch.err" 2>/dev/null && break; sleep 0.1; done
grep -q watching "$work/watch.err" || fail "the watcher did not start: $(cat "$work/watch.err")"
"$vitrel" --device "$device" notify post demo/ping demo/ping >/dev/null
wait "$watcher" || fail "the watcher failed: $(cat "$work/watch.err")"
[ "$(cat "$work/out")" = "received demo/ping" ] || fail "unexpected output: $(cat "$work/out")"

if "$vitrel" --device "$device" notify watch --count 1 --timeout 0.3 demo/silence 2>/dev/null; then
  fail "a watch that heard nothing reported success"
fi
echo "ok"
