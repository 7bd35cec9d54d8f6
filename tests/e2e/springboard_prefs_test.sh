#!/usr/bin/env bash
# Two processes of one device: `vitrel prefs set` in one, a running `vitrel springboard` in the
# other. The springboard injects the library's test variant, which logs the settings the
# library holds after each reload; the change must show in its echoed log within 200 ms of the
# post.
set -euo pipefail
vitrel="$1"
library="$2"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
device="$work/device"
prefs() { "$vitrel" --device "$device" prefs "$@"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# --verbose echoes the device's log, where the library's lines go.
"$vitrel" --device "$device" springboard --library "$library" --verbose 2>"$work/springboard.log" &
for _ in $(seq 200); do grep -q "springboard: ready" "$work/springboard.log" && break; sleep 0.05; done
grep -q "springboard: ready" "$work/springboard.log" || fail "no springboard: $(cat "$work/springboard.log")"

# A change reaches the running library within 200 ms of the post.
prefs set septhickness 3 >/dev/null
posted=$(now_ms)
until grep -q "septhickness=3 " "$work/springboard.log"; do
  [ $(( $(now_ms) - posted )) -le 1000 ] || fail "the springboard never reloaded"
  sleep 0.005
done
delay=$(( $(now_ms) - posted ))
echo "reload seen ${delay} ms after the post"
[ "$delay" -le 200 ] || fail "reload took ${delay} ms"

prefs set titlesToRemove "Share App;Remove App" >/dev/null
prefs set hideHSThinSep yes >/dev/null
sleep 0.3
grep -q 'titlesToRemove="Share App;Remove App"' "$work/springboard.log" || fail "string not reloaded"
grep -q "hideHSThinSep=1" "$work/springboard.log" || fail "boolean not reloaded"
[ "$(prefs get hideHSThinSep)" = "true" ] || fail "get does not read the stored boolean"

# Bad input is refused with a reason and leaves the file as it was.
file="$device/var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist"
cp "$file" "$work/before.plist"
if prefs set cornerRadius wide 2>"$work/err"; then fail "a non-number was stored"; fi
grep -q "is not a number" "$work/err" || fail "unclear error: $(cat "$work/err")"
if prefs set cornerRadius 3 --type float 2>"$work/err"; then fail "an unknown type was accepted"; fi
if prefs get noSuchKey 2>/dev/null; then fail "get of a missing key succeeded"; fi
cmp -s "$file" "$work/before.plist" || fail "a refused command changed the file"

# The types come from the key table, or from --type, or from the value.
prefs set borderThicknessHS 2 >/dev/null
prefs set myNote 42 --type string 2>/dev/null >/dev/null
prefs list --json >"$work/list.json"
grep -q '"borderThicknessHS": {' "$work/list.json" || fail "list --json misses a key"
tr -d ' \n' <"$work/list.json" | grep -q '"myNote":{"type":"string","value":"42"}' ||
  fail "list --json: $(cat "$work/list.json")"

# A file that cannot be read is never overwritten; reset starts afresh.
printf 'not a property list' >"$file"
if prefs set cornerRadius 4 2>"$work/err"; then fail "an unreadable file was overwritten"; fi
[ "$(cat "$file")" = "not a property list" ] || fail "the unreadable file was changed"
prefs reset >/dev/null
prefs set cornerRadius 4 >/dev/null
[ "$(prefs get cornerRadius)" = "4" ] || fail "reset did not start afresh"
echo "ok"
