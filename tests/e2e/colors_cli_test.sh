#!/usr/bin/env bash
# `vitrel colors` on a folder of real icons with a corrupt file among them, on a folder
# without any, on folders it cannot wholly read, and on names that are not UTF-8 (which
# `prefs list --json` must carry too); on SVG icons drawn at the asked size, broken ones among
# them, and a hostile one; and on a corpus of real icons, whose output in parallel is the serial
# output.
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

# A folder without images is a mistake to hear about, not an empty success.
mkdir -p "$work/empty/sub" && touch "$work/empty/sub/icon.jpg"
status=0
"$vitrel" colors "$work/empty" "$work/icons/nested" >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "a folder without images ended with status $status"
grep -qx "vitrel colors: no PNG or SVG images in $work/empty" "$work/err" || fail "$(cat "$work/err")"
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

# SVG icons, drawn at --size pixels on their longer side at the scale their names give, found
# in folders beside PNG files; broken ones are reported in their place and the rest are read.
mkdir -p "$work/svg"
square="<svg xmlns='http://www.w3.org/2000/svg' width='24' height='24'>"
echo "$square<rect width='24' height='24' fill='#3366CC'/></svg>" >"$work/svg/b-blue@3x.svg"
echo "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 40 20'><rect width='40' height='20'
  fill='#FF8000'/></svg>" >"$work/svg/c-wide.SVG"
echo "not xml at all" >"$work/svg/d-notxml.svg"
head -c 40 "$work/svg/b-blue@3x.svg" >"$work/svg/e-truncated.svg"
echo "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='24'/>" >"$work/svg/f-zero.svg"
echo "<svg xmlns='http://www.w3.org/2000/svg' width='1000000000' height='1000000000'
  viewBox='0 0 24 24'><rect width='24' height='24' fill='#3366CC'/></svg>" >"$work/svg/g-huge.svg"
cp "$work/icons/nested/gimp.png" "$work/svg/h-gimp.png"
status=0
"$vitrel" colors --json --method dominant --size 64 --jobs 3 "$work/svg" >"$work/out" \
  2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "broken SVG files ended the run with status $status"
[ "$(sed 's/^{"file":"[^"]*\/\([a-z]\)-.*/\1/' "$work/out" | tr -d '\n')" = bcdefgh ] ||
  fail "not one line per file in name order: $(cat "$work/out")"
line() { grep "\"file\":\"$work/svg/$1" "$work/out"; }
line b-blue | grep -q '"width":64,"height":64,"scale":3.0,"dominant":{"hex":"#3366CC"' ||
  fail "the SVG was not drawn at 64 px and scale 3: $(line b-blue)"
line c-wide | grep -q '"width":64,"height":32,"scale":1.0,"dominant":{"hex":"#FF8000"' ||
  fail "the wide SVG lost its aspect: $(line c-wide)"
line g-huge | grep -q '"width":64,"height":64' || fail "a huge SVG: $(line g-huge)"
line h-gimp | grep -q '"width":60,' || fail "the PNG beside the SVG files: $(line h-gimp)"
for bad in d-notxml e-truncated; do
  line "$bad" | grep -q '"error":"[^"]*'"$bad"'.svg: not an SVG image: ' ||
    fail "$bad is not reported: $(line "$bad")"
done
line f-zero | grep -q '"error":"[^"]*f-zero.svg: the SVG image has no area' ||
  fail "the zero-size SVG is not reported: $(line f-zero)"
grep -q "^vitrel: 3 of 7 image(s) could not be read" "$work/err" || fail "$(cat "$work/err")"
"$vitrel" colors --json --method dominant "$work/svg/b-blue@3x.svg" >"$work/out"
grep -q '"width":180,"height":180' "$work/out" || fail "the default size is not 180: $(cat "$work/out")"
for option in "--jobs 0" "--jobs x" "--size 0" "--size 4097"; do
  if "$vitrel" colors $option "$work/svg" >/dev/null 2>"$work/err"; then fail "$option was taken"; fi
  grep -q "^vitrel: ${option% *}: " "$work/err" || fail "$option: $(cat "$work/err")"
done

# A hostile SVG, a filter librsvg would draw for minutes, is stopped at the time limit (here 1 s
# instead of 10) and reported in its place; the other files are read, in order. No process of
# the run outlives it, nor one killed mid-drawing: each runs in a session of its own.
mkdir -p "$work/hostile"
cp "$work/svg/b-blue@3x.svg" "$work/hostile/a-blue.svg"
echo "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'><filter id='f'>
  <feTurbulence baseFrequency='0.05' numOctaves='1000000000'/></filter>
  <rect width='64' height='64' filter='url(#f)'/></svg>" >"$work/hostile/b-turbulence.svg"
cp "$work/svg/c-wide.SVG" "$work/hostile/c-wide.svg"
cp "$work/icons/nested/gimp.png" "$work/hostile/d-gimp.png"
left() { pgrep -s "$1" | tr '\n' ' '; }
status=0
VITREL_SVG_SECONDS=1 setsid "$vitrel" colors --json --method dominant --size 64 --jobs 2 \
  "$work/hostile" >"$work/out" 2>"$work/err" &
run=$!
wait $run || status=$?
[ "$status" = 1 ] || fail "a hostile SVG ended the run with status $status"
[ -z "$(left $run)" ] || fail "processes left after the run: $(left $run)"
[ "$(sed 's/^{"file":"[^"]*\/\([a-z]\)-.*/\1/' "$work/out" | tr -d '\n')" = abcd ] ||
  fail "not one line per file in name order: $(cat "$work/out")"
grep -q "b-turbulence.svg\",\"error\":\"[^\"]*b-turbulence.svg: drawing took longer than 1 s; stopped\"" \
  "$work/out" || fail "the hostile SVG is not reported: $(cat "$work/out")"
grep -qx "vitrel colors: $work/hostile/b-turbulence.svg: drawing took longer than 1 s; stopped" \
  "$work/err" || fail "$(cat "$work/err")"
grep -q '"file":"[^"]*a-blue.svg","width":64,"height":64,"scale":1.0,"dominant":{"hex":"#3366CC"' \
  "$work/out" || fail "$(cat "$work/out")"
grep -q '"file":"[^"]*c-wide.svg","width":64,"height":32,"scale":1.0,"dominant":{"hex":"#FF8000"' \
  "$work/out" || fail "$(cat "$work/out")"
VITREL_SVG_SECONDS=60 setsid "$vitrel" colors --jobs 2 "$work/hostile" >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do [ "$(pgrep -s $run | wc -l)" -ge 3 ] && break; sleep 0.1; done
[ "$(pgrep -s $run | wc -l)" -ge 3 ] || fail "no drawing process: $(left $run)"
kill -TERM $run
wait $run || true
for _ in $(seq 50); do [ -z "$(left $run)" ] && break; sleep 0.1; done
[ -z "$(left $run)" ] || fail "processes left after vitrel was killed: $(left $run)"
# PNG files alone start no process to draw SVG; a run with an SVG file starts the server.
if command -v strace >/dev/null; then
  forks() {
    ASAN_OPTIONS=detect_leaks=0 strace -f -qq -e trace=clone,fork,vfork -o "$work/trace" \
      "$vitrel" colors --jobs 2 "$@" >/dev/null
    grep -c 'flags=[^)]*SIGCHLD' "$work/trace" || true
  }
  [ "$(forks "$work/hostile/d-gimp.png" "$work/icons/nested")" = 0 ] ||
    fail "a process was started for PNG files: $(cat "$work/trace")"
  [ "$(forks "$work/hostile/d-gimp.png" "$work/hostile/a-blue.svg")" -ge 2 ] ||
    fail "no server and drawing process for an SVG file: $(cat "$work/trace")"
else
  echo "skipped the check of processes for PNG files: no strace"
fi

# Real icons, as SVG and as PNG, with a broken file in the middle: every thread count gives the
# serial output, byte for byte, in JSON and as text.
mkdir -p "$work/corpus"
ls /usr/share/icons/Papirus/64x64/apps/ | awk 'NR % 20 == 0 && n++ < 120' |
  while read -r name; do cp -L "/usr/share/icons/Papirus/64x64/apps/$name" "$work/corpus/"; done
for svg in $(ls "$work/corpus"/*.svg | awk 'NR <= 20'); do
  rsvg-convert -w 180 -h 180 "$svg" -o "${svg%.svg}@3x.png"
done
echo "<svg" >"$work/corpus/m-broken.svg"
[ "$(ls "$work/corpus" | wc -l)" -ge 140 ] || fail "the corpus is too small: $(ls "$work/corpus" | wc -l)"
for format in "" --json; do
  for jobs in 1 4; do
    status=0
    "$vitrel" colors $format --jobs $jobs "$work/corpus" >"$work/corpus-$jobs.out" \
      2>"$work/corpus-$jobs.err" || status=$?
    [ "$status" = 1 ] || fail "the corpus with a broken file ended with status $status"
  done
  cmp "$work/corpus-1.out" "$work/corpus-4.out" || fail "4 jobs gave other output than 1 ($format)"
  cmp "$work/corpus-1.err" "$work/corpus-4.err" || fail "4 jobs reported otherwise than 1 ($format)"
done
[ "$(grep -c '"libOsset":' "$work/corpus-1.out")" -ge 139 ] || fail "not every method ran"
echo ok
