#!/usr/bin/env bash
# The vitrel program as a user runs it: help and version, usage errors, --device before or after
# the subcommand, a bad device folder, a library that cannot be loaded, and a notification
# posted by one process and heard by another.
set -euo pipefail
vitrel="$1"
version="$2"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$vitrel" --help | grep -q "notify" || fail "--help does not list the notify command"
[ "$("$vitrel" --version)" = "vitrel $version" ] || fail "--version: $("$vitrel" --version)"

# Every subcommand's help offers the device options.
for command in apps preview springboard settings prefs "prefs set" "prefs list" notify \
  "notify post" "notify watch" log; do
  help=$("$vitrel" $command --help)
  grep -q -- "--device" <<<"$help" || fail "$command --help lacks --device"
  grep -q -- "--verbose" <<<"$help" || fail "$command --help lacks --verbose"
done

# Usage errors end with status 2 and a sentence, whatever the option.
usage_error() {  # expected message, then the arguments
  local expected="$1" status=0
  shift
  "$vitrel" --device "$work/unused" "$@" >/dev/null 2>"$work/err" || status=$?
  [ "$status" = 2 ] || fail "vitrel $*: status $status, not 2: $(cat "$work/err")"
  grep -qF -- "$expected" "$work/err" || fail "vitrel $*: $(cat "$work/err")"
  [ "$(head -1 "$work/err" | wc -c)" -lt 120 ] || fail "vitrel $*: a long message: $(cat "$work/err")"
}
usage_error "--scale must be a number from 0.25 to 4" preview --scale 9
usage_error "--scale must be a number from 0.25 to 4" springboard --scale wide
usage_error "--os must be a whole number from 15 to 17" preview --os 3
usage_error "--os must be a whole number from 13 to 30" springboard --os 16.5
usage_error "--passes must be a whole number from 1 to 1000" preview --passes 0
usage_error "--port must be a whole number from 0 to 65535" settings --port 70000
usage_error "--port must be a whole number from 0 to 65535" settings --port 1e3
usage_error "--count must be a whole number, 0 or more" notify watch --count -1 x
usage_error "--timeout must be a number, 0 or more" notify watch --timeout -2 x
usage_error "not expected: --nosuch" apps --nosuch
usage_error "a notification name must be 1 to 1024 bytes, not 0" notify post ""
usage_error "a notification name must be 1 to 1024 bytes, not 1025" notify watch "$(printf 'a%.0s' {1..1025})"
[ ! -e "$work/unused" ] || fail "a refused command made the device"

if "$vitrel" --device /proc/version notify post x 2>"$work/err"; then
  fail "a file used as the device folder was accepted"
fi
grep -q "cannot use /proc/version" "$work/err" || fail "unclear error: $(cat "$work/err")"
# After the subcommand, --device is used too, and wins over one given before it.
if "$vitrel" notify post --device /proc/version x 2>/dev/null; then
  fail "--device after the subcommand was ignored"
fi
"$vitrel" --device /proc/version notify post x --device "$work/device" >/dev/null ||
  fail "--device after the subcommand did not win"

# A library the loader refuses is refused at once, for its reason, before anything starts.
for mode in "" --supervise; do
  if "$vitrel" --device "$work/library" springboard $mode --library /etc/hostname \
    2>"$work/err"; then
    fail "springboard $mode started with a library that is not one"
  fi
  grep -q "cannot load the library: /etc/hostname: file too short" "$work/err" ||
    fail "the loader's reason is not given: $(cat "$work/err")"
  [ ! -e "$work/library" ] || fail "springboard $mode made the device before refusing"
done

device="$work/device"
"$vitrel" notify watch --count 1 --timeout 20 demo/ping --device "$device" \
  >"$work/out" 2>"$work/watch.err" &
watcher=$!
for _ in $(seq 100); do grep -q watching "$work/watch.err" 2>/dev/null && break; sleep 0.1; done
grep -q watching "$work/watch.err" || fail "the watcher did not start: $(cat "$work/watch.err")"
"$vitrel" notify post --device "$device" demo/ping demo/ping >/dev/null
wait "$watcher" || fail "the watcher failed: $(cat "$work/watch.err")"
[ "$(cat "$work/out")" = "received demo/ping" ] || fail "unexpected output: $(cat "$work/out")"

if "$vitrel" --device "$device" notify watch --count 1 --timeout 0.3 demo/silence 2>/dev/null; then
  fail "a watch that heard nothing reported success"
fi
echo "ok"
