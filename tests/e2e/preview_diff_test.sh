#!/usr/bin/env bash
# `vitrel preview --diff`: the same scene staged with the library and without, and what the
# library changed, on the shipped sample device.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$vitrel" --device "$work/device" "$@"; }
# Changes of a class and property in a diff file, as one compact JSON array.
changes() { jq -c --arg class "$2" --arg property "$3" \
  '[.changes[] | select(.class == $class and .property == $property)]' "$1"; }

run preview --diff "$work/diff.json" 2>"$work/err"
grep -q "wrote [0-9]* changes to $work/diff.json" "$work/err" || fail "$(cat "$work/err")"

# The list view's border, which the host does not draw.
width=$(changes "$work/diff.json" _UIContextMenuListView layer.borderWidth)
jq -e 'length == 1 and .[0].host == 0 and .[0].library > 0' <<<"$width" >/dev/null ||
  fail "list view's border width: $width"
colour=$(changes "$work/diff.json" _UIContextMenuListView layer.borderColor)
jq -e 'length == 1 and .[0].host == null and (.[0].library.hex | test("^#[0-9A-F]{6}$"))' \
  <<<"$colour" >/dev/null || fail "list view's border colour: $colour"
# The backdrops' clear glass, tinted.
mode=$(changes "$work/diff.json" _UIVisualEffectBackdropView renderMode)
jq -e 'length >= 1 and all(.[]; .library == 1 and .host != 1)' <<<"$mode" >/dev/null ||
  fail "backdrops' render mode: $mode"
tint=$(changes "$work/diff.json" _UIVisualEffectBackdropView backgroundColor)
jq -e 'length >= 1 and all(.[]; .library.hex != null)' <<<"$tint" >/dev/null ||
  fail "backdrops' colour: $tint"

# Nothing of the wallpaper. Its path is found in the library's own dump, by the class and place
# of every view from the window down, so this also checks how the diff names views.
run preview --dump "$work/tree.json" 2>/dev/null
jq '[
  def views($path):
    {path: $path, view: .},
    ((.subviews // []) as $subviews | range(0; $subviews | length) as $i
     | $subviews[$i].class as $class
     | ([$subviews[:$i][] | select(.class == $class)] | length) as $n
     | $subviews[$i] | views($path + "/" + $class + "[" + ($n | tostring) + "]"));
  .window as $window | $window | views($window.class + "[0]")
  | {path, wallpaper: ((.view.class | test("Wallpaper")) or
                       (.view.class == "UIImageView" and .view.frame == $window.frame))}]' \
  "$work/tree.json" >"$work/views.json"
jq -e --argjson width "$width" 'any(.[]; .path == $width[0].path)' "$work/views.json" >/dev/null ||
  fail "the list view's path is not where the tree has it: $(jq -r '.[0].path' <<<"$width")"
jq -r '.[] | select(.wallpaper) | .path' "$work/views.json" >"$work/wallpapers"
[ -s "$work/wallpapers" ] || fail "no wallpaper in the scene"
while read -r wallpaper; do
  jq -e --arg wallpaper "$wallpaper" \
    'all(.changes[].path; . != $wallpaper and (startswith($wallpaper + "/") | not))' \
    "$work/diff.json" >/dev/null || fail "the wallpaper $wallpaper changed"
done <"$work/wallpapers"

# The library's side is the library's as the settings make it.
run prefs set borderThicknessHS 5 >/dev/null
run preview --diff - >"$work/thick.json"
jq -e '.changes[] | select(.class == "_UIContextMenuListView" and .property == "layer.borderWidth")
       | .library == 5' "$work/thick.json" >/dev/null || fail "border width setting not shown"

# On a terminal, text grouped by view: its path, then its changes beneath.
list=$(jq -r '.[0].path' <<<"$width")
script -qec "'$vitrel' --device '$work/device' preview --diff -" /dev/null | tr -d '\r' \
  >"$work/text"
grep -q "^[0-9]* changes on [0-9]* views, host → library:$" "$work/text" || fail "$(head -3 "$work/text")"
grep -A5 -xF "$list" "$work/text" | grep -q "^  layer.borderWidth: 0 → 5$" ||
  fail "no border under the list view: $(grep -A5 -xF "$list" "$work/text")"

# Refusals, said once, before anything is staged; a staging's failure in its own words.
if run preview --diff - --dump - 2>"$work/err"; then fail "--diff with --dump"; fi
grep -q "excludes" "$work/err" || fail "$(cat "$work/err")"
if run preview --press com.example.nosuch --diff - 2>"$work/err"; then fail "unknown app"; fi
[ "$(grep -c "unknown bundle identifier" "$work/err")" = 1 ] || fail "$(cat "$work/err")"
echo "not a library" >"$work/fake.so"
if run preview --library "$work/fake.so" --diff - 2>"$work/err"; then fail "a bad library"; fi
grep -q "staging the scene with the library failed" "$work/err" || fail "$(cat "$work/err")"
grep -q "fake.so" "$work/err" || fail "the loader's reason is missing: $(cat "$work/err")"
echo ok
