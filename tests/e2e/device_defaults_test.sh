#!/usr/bin/env bash
# What a device starts with and which values `vitrel prefs set` takes: a new device gets the
# sample settings whatever its first command; a value the settings pages do not offer is refused
# unless forced; with the master switch off, the preview shows the system's own menus, the same
# pixels as a run with a library that hooks nothing.
set -euo pipefail
vitrel="$1"
no_hooks="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
on() { local device="$1"; shift; "$vitrel" --device "$work/$device" "$@"; }

# A new device gets the sample settings whatever its first command is.
on first prefs set cornerRadius 9 >/dev/null
[ "$(on first prefs get cornerRadius)" = 9 ] || fail "the first value was not stored"
[ "$(on first prefs get dynamicLabelColoring)" = true ] ||
  fail "a device made by prefs set lacks the sample settings"
on second notify post demo/ping >/dev/null
[ "$(on second prefs get colorMethodTavrelHS)" = dominantColor ] ||
  fail "a device made by notify lacks the sample settings"

# reset still empties them, for good.
on first prefs reset >/dev/null
on first prefs set cornerRadius 4 >/dev/null
if on first prefs get dynamicLabelColoring 2>/dev/null; then fail "the samples outlived reset"; fi

# A value no segment offers is refused with the offered ones, and the file is left as it was.
file="$work/first/var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist"
cp "$file" "$work/before.plist"
if on first prefs set colorMethodTavrel banana 2>"$work/err"; then fail "banana was stored"; fi
grep -q '"dominantColor" (dominant) or "colorMethodTavrel" (palette)' "$work/err" ||
  fail "unclear refusal: $(cat "$work/err")"
cmp -s "$file" "$work/before.plist" || fail "a refused value changed the file"
on first prefs set colorMethodTavrel banana --force >/dev/null
[ "$(on first prefs get colorMethodTavrel)" = banana ] || fail "--force did not store it"
# Beyond a slider's range the library still reads the number: stored, with a warning.
on first prefs set cornerRadius 100 2>"$work/err" >/dev/null
grep -q "a number from 0 to 40" "$work/err" || fail "no warning: $(cat "$work/err")"
[ "$(on first prefs get cornerRadius)" = 100 ] || fail "the number was not stored"

# The master switch: off, the system's own menus; on, styled.
preview() { on second preview --light --scale 1 "$@" >/dev/null; }
on second prefs set titlesToRemove "Share App" >/dev/null
on second prefs set enabled false >/dev/null
on second preview --light --scale 1 -o "$work/off.png" >"$work/off.txt"
grep -q "Photos, light: none (enabled is false" "$work/off.txt" || fail "$(cat "$work/off.txt")"
preview -o "$work/unhooked.png" --library "$no_hooks"
cmp -s "$work/off.png" "$work/unhooked.png" || fail "switched off, the picture is not the system's"
on second preview --press com.vitrel.sample.photos --dump - >"$work/off.json"
jq -e '.actions | index("Share App") != null' "$work/off.json" >/dev/null ||
  fail "switched off, an action was removed"
on second prefs set enabled true >/dev/null
preview -o "$work/on.png"
if cmp -s "$work/on.png" "$work/unhooked.png"; then fail "switched on, nothing was styled"; fi
echo "ok"
