#!/usr/bin/env bash
# `vitrel colors` on a folder of real icons with a corrupt file among them, on a folder
# without any, on folders it cannot wholly read, and on names that are not UTF-8 (which
# `prefs list --json` must carry too).
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/icons/nested"
for name in firefox vlc; do
  rsvg-convert -w 180 -h 180 "/usr/share/icons/Papirus/64x64/apps/$name.svg" -o "$work/icons/$name@3x.png"
done
rsvg-convert -w 60 -h 60 /usr/share/icons/Papirus/64x64/apps/gimp.svg -o "$work/icons/nested/gimp.png"
head -c 100 "$work/icons/firefox@3x.png" >"$work/icons/corrupt.png"
echo "not an image" >"$work/icons/notes.txt"

if "$vitrel" colors --json "$work/icons" >"$work/out.json" 2>"$work/err"; then
  fail "a corrupt image did not make the run fail"
fi
[ "$(wc -l <"$work/out.json")" = 4 ] || fail "expected 4 JSON lines: $(cat "$work/out.json")"
grep -q '"file":"[^"]*corrupt.png","error":"[^"]*corrupt.png: corrupt PNG' "$work/out.json" ||
  fail "the corrupt file is not reported: $(cat "$work/out.json")"
grep -q "corrupt.png" "$work/err" || fail "no message on standard error"
grep -q '"file":"[^"]*nested/gimp.png","width":60' "$work/out.json" || fail "nested folder not walked"
grep -q '"file":"[^"]*firefox@3x.png","width":180,"height":180,"scale":3' "$work/out.json" ||
  fail "the @3x scale was not read"
for key in dominant secondDominant paletteCube libMerrow tessel libOsset; do
  [ "$(grep -c "\"$key\":" "$work/out.json")" = 3 ] || fail "$key missing from some image"
done
grep -q '"dominant":{"hex":"#[0-9A-F]\{6\}","r":' "$work/out.json" || fail "colour format"

"$vitrel" colors --method tessel "$work/icons/nested/gimp.png" >"$work/text"
grep -q "tessel:" "$work/text" || fail "text output lacks the method"
if grep -q "dominant" "$work/text"; then fail "--method did not limit the work"; fi
if "$vitrel" colors --method nosuch "$work/icons" 2>/dev/null; then fail "an unknown method ran"; fi

# A folder without PNG images is a mistake to hear about, not an empty success.
mkdir -p "$work/empty/sub" && touch "$work/empty/sub/icon.svg"
status=0
"$vitrel" colors "$work/empty" "$work/icons/nested" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "a folder without PNG images ended with status $status"
grep -qx "vitrel colors: no PNG images in $work/empty" "$work/err" || fail "$(cat "$work/err")"
grep -q "gimp.png" "$work/out" || fail "the other folder's image was not shown"

# What cannot be read of a folder is reported, and the walk goes on with the rest: a link that
# loops, and a folder that refuses reads (as root none does, so that run drops to nobody).
mkdir -p "$work/walk/a" "$work/walk/locked" "$work/walk/z"
cp "$work/icons/nested/gimp.png" "$work/walk/a/first.png"
cp "$work/icons/nested/gimp.png" "$work/walk/locked/hidden.png"
cp "$work/icons/nested/gimp.png" "$work/walk/z/last.png"
ln -s loop.png "$work/walk/a/loop.png"
status=0
"$vitrel" colors --json --method dominant "$work/walk" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "a looping link ended the walk with status $status"
grep -qx "vitrel colors: cannot read $work/walk/a/loop.png: Too many levels of symbolic links" \
  "$work/err" || fail "the looping link is not reported: $(cat "$work/err")"
grep -q '"file":"[^"]*z/last.png"' "$work/out" || fail "the walk stopped at the link: $(cat "$work/out")"
rm "$work/walk/a/loop.png"
chmod 000 "$work/walk/locked"
chmod 755 "$work" "$work/walk"
as_user=()
[ "$(id -u)" != 0 ] || as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if "${as_user[@]}" "$vitrel" --version >/dev/null 2>&1; then
  status=0
  "${as_user[@]}" "$vitrel" colors --json --method dominant "$work/walk" >"$work/out" \
    2>"$work/err" || status=$?
  [ "$status" = 1 ] || fail "an unreadable folder ended the walk with status $status"
  grep -qx "vitrel colors: cannot read $work/walk/locked: Permission denied" "$work/err" ||
    fail "the unreadable folder is not reported: $(cat "$work/err")"
  [ "$(grep -c '"dominant":' "$work/out")" = 2 ] ||
    fail "the other folders were not read: $(cat "$work/out")"
else
  echo "skipped the unreadable folder: no user without root's rights can run $vitrel"
fi
chmod 755 "$work/walk/locked"

# A file name is any bytes; the JSON line carries U+FFFD where they are not UTF-8.
cp "$work/icons/nested/gimp.png" "$work/walk/z/caf$(printf '\xe9').png"
"$vitrel" colors --json --method dominant "$work/walk/z" >"$work/out" ||
  fail "a name that is not UTF-8 ended the run"
grep -q "\"file\":\"[^\"]*z/caf$(printf '\xef\xbf\xbd').png\",\"width\":60" "$work/out" ||
  fail "the name is not replaced: $(cat "$work/out")"
grep -q '"file":"[^"]*z/last.png"' "$work/out" || fail "the run did not go on: $(cat "$work/out")"

# So do the settings' keys and strings.
device="$work/device"
"$vitrel" --device "$device" prefs set --force "caf$(printf '\xe9')" "$(printf '\xff')note" \
  >/dev/null 2>&1 || fail "a key that is not UTF-8 was not stored"
"$vitrel" --device "$device" prefs list --json >"$work/list.json" ||
  fail "prefs list --json ended on a key that is not UTF-8"
grep -q "\"caf$(printf '\xef\xbf\xbd')\": {" "$work/list.json" || fail "$(cat "$work/list.json")"
grep -q "\"value\": \"$(printf '\xef\xbf\xbd')note\"" "$work/list.json" ||
  fail "$(cat "$work/list.json")"
echo ok
