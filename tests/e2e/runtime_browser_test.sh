#!/usr/bin/env bash
# `vitrel runtime`: the classes of a home-screen host with the library injected, and of a
# Settings host with the bundle, each started on the device it is given and nowhere else.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A home of its own, so that a process reaching for the default device would show there.
run() { HOME="$work/home" XDG_STATE_HOME= "$vitrel" --device "$work/device" "$@"; }

# The platform's own method of UIImage, which the home screen adds to answer icon requests, and
# the ones the library adds.
run runtime --json --class UIImage >"$work/image.json"
jq -e '.name == "UIImage" and .superclass == "NSObject"' "$work/image.json" >/dev/null ||
  fail "not UIImage: $(cat "$work/image.json")"
jq -e '.classMethods | any(.selector == "_applicationIconImageForBundleIdentifier:format:scale:"
                           and .types == "@@:@id")' "$work/image.json" >/dev/null ||
  fail "the platform's icon method is missing: $(jq -c .classMethods "$work/image.json")"

# The library's categories beside it, and its palette cube's five entry points, each taking an
# image and answering an array.
jq -e '["mirraDominantColor", "mirraSecondDominantColor", "colourDistance:andB:"] -
       [.instanceMethods[].selector] == []' "$work/image.json" >/dev/null || fail "the library's UIImage methods are missing: $(jq -c . "$work/image.json")"
run runtime --json --class PCPaletteCube >"$work/cube.json"
for entry in extractColorsFromImage:flags: extractColorsFromImage:flags:count: \
  extractColorsFromImage:flags:avoidColor: extractBrightColorsFromImage:avoidColor:count: \
  extractDarkColorsFromImage:avoidColor:count:; do
  jq -e --arg entry "$entry" '.instanceMethods | any(.selector == $entry and
                                                     (.types | startswith("@@:@")))' \
    "$work/cube.json" >/dev/null || fail "$entry is missing: $(jq -c . "$work/cube.json")"
done

# Text as a class dump writes it, from the header line to @end.
run runtime --class SBIconView >"$work/icon.txt"
[ "$(head -n 1 "$work/icon.txt")" = "@interface SBIconView : UIView" ] ||
  fail "header line: $(head -n 1 "$work/icon.txt")"
[ "$(tail -n 1 "$work/icon.txt")" = "@end" ] || fail "no @end: $(cat "$work/icon.txt")"
grep -qE '^- [A-Za-z_:]+  [v@BqQidf#:^{}=A-Za-z]+$' "$work/icon.txt" ||
  fail "no instance method with its type encoding: $(cat "$work/icon.txt")"

# An unknown name fails, naming the close ones.
status=0
run runtime --class UIImag >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "an unknown class ended with status $status"
grep -qx "vitrel: no class UIImag in the home-screen host; did you mean UIImage.*?" "$work/err" ||
  fail "message: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "an unknown class printed: $(cat "$work/out")"

# An empty name is refused rather than taken for no name.
status=0
run runtime --class "" >"$work/out" 2>"$work/err" || status=$?
[ "$status" != 0 ] || fail "an empty class name was accepted"
grep -q "a class name is needed" "$work/err" || fail "message: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "an empty class name printed: $(head -c 200 "$work/out")"

# Every class, sorted, each once; the home screen's and the library's, not the bundle's.
run runtime --json >"$work/springboard.json"
jq -e '.host == "springboard" and ([.classes[].name] | . == (sort | unique))' \
  "$work/springboard.json" >/dev/null || fail "classes not sorted by name, or repeated"
jq -e '[.classes[].name] | index("SBIconController") != null and
                         index("MirraRootListController") == null' "$work/springboard.json" \
  >/dev/null || fail "not the home screen's classes"

# The Settings host's, with the bundle's controllers.
run runtime --bundle --json >"$work/settings.json"
jq -e '.host == "settings" and ([.classes[].name] | index("SBIconController") == null)' \
  "$work/settings.json" >/dev/null || fail "not the Settings host's classes"
jq -e '.classes[] | select(.name == "MirraRootListController") |
       .superclass == "MirraBaseController" and
       (.instanceMethods | any(.selector == "specifiers" and .types == "@@:"))' \
  "$work/settings.json" >/dev/null || fail "the bundle's root page class is missing"
jq -e '.classes[] | select(.name == "MirraBaseController") | .superclass == "PSListController"' \
  "$work/settings.json" >/dev/null || fail "the bundle's controllers are not the host's pages"
jq -e '[.classes[].name] | index("RGBPixel") != null' "$work/settings.json" >/dev/null ||
  fail "the colour class the bundle carries is missing"

# Both stayed on their device.
[ -d "$work/device/var/jb/Library/PreferenceBundles" ] || fail "the device was not used"
[ ! -e "$work/home/.local" ] || fail "reached the default device: $(find "$work/home")"
