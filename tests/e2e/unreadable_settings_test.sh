#!/usr/bin/env bash
# `vitrel preview` and `vitrel springboard` on a device whose settings file cannot be read say so
# on standard error, once, with the reason; the library then takes none of the settings. A
# readable or absent file is no matter for a warning.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
springboard=""
trap '[ -z "$springboard" ] || kill "$springboard" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
device="$work/device"
file="$device/var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist"
preview() { "$vitrel" --device "$device" preview --dump - 2>"$work/err" >/dev/null; }
warnings() { grep -c "settings cannot be read" "$work/err" || true; }

preview
[ "$(warnings)" -eq 0 ] || fail "a readable file was reported: $(cat "$work/err")"
rm "$file"
preview
[ "$(warnings)" -eq 0 ] || fail "an absent file was reported: $(cat "$work/err")"

printf 'not a property list' >"$file"
preview
[ "$(warnings)" -eq 1 ] || fail "a corrupt file is not reported once: $(cat "$work/err")"
grep -q "not a property list" "$work/err" || fail "no reason given: $(cat "$work/err")"

printf '<?xml version="1.0"?><plist version="1.0"><array/></plist>' >"$file"
preview
grep -q "settings cannot be read.*its root is an array" "$work/err" ||
  fail "a list for a dictionary is not reported: $(cat "$work/err")"

"$vitrel" --device "$device" springboard 2>"$work/err" >/dev/null &
springboard=$!
for _ in $(seq 200); do [ "$(warnings)" -ge 1 ] && break; sleep 0.05; done
[ "$(warnings)" -eq 1 ] || fail "the springboard does not report it once: $(cat "$work/err")"
grep -q "its root is an array" "$work/err" || fail "no reason given: $(cat "$work/err")"
echo "ok"
