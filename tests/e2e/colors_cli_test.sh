#!/usr/bin/env bash
# `vitrel colors` on a folder of real icons with a corrupt file among them, and on a folder
# without any.
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
echo ok
