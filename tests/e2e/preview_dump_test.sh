#!/usr/bin/env bash
# `vitrel apps` and `vitrel preview --dump` on the shipped sample device, with settings that the
# injected library reads.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$vitrel" --device "$work/device" "$@"; }

run apps --json >"$work/apps.json"
jq -e '.apps | length >= 12' "$work/apps.json" >/dev/null || fail "too few apps"
jq -e '[.apps[] | select(.folder == "Utilities")] | length >= 2' "$work/apps.json" >/dev/null ||
  fail "no folder of several apps"
run apps | grep -q "com.vitrel.sample.mail  Mail" || fail "text listing"

run prefs set titlesToRemove "Share App;Favorites" >/dev/null
run preview --press com.vitrel.sample.photos --dump - >"$work/photos.json"
jq -e '.actions | index("Most Recent") != null' "$work/photos.json" >/dev/null ||
  fail "the app's own action is missing: $(jq -c .actions "$work/photos.json")"
jq -e '.actions | (index("Share App") == null and index("Favorites") == null)' \
  "$work/photos.json" >/dev/null || fail "titlesToRemove was not applied"
jq -e '[.. | objects | select(.class? == "_UIContextMenuView")] | length == 1' \
  "$work/photos.json" >/dev/null || fail "no context menu in the tree"
jq -e '[.. | objects | select(.text? == "Most Recent") | .textColor.hex] | length == 1' \
  "$work/photos.json" >/dev/null || fail "the action's label is missing"
jq -e '.window.frame.width > 0 and (.window.layer | has("cornerRadius"))' "$work/photos.json" \
  >/dev/null || fail "view fields"

run preview --press-folder Utilities --dark --os 15 --dump "$work/folder.json" 2>/dev/null
jq -e '.pressed.kind == "folder" and .style == "dark" and .os == 15' "$work/folder.json" \
  >/dev/null || fail "folder press: $(jq -c .pressed "$work/folder.json")"

run prefs set dynamicHeaderTitleLSColoring yes >/dev/null
run preview --lock-screen --notification com.vitrel.sample.mail --dump - >"$work/note.json"
jq -e '[.. | objects | select(.class? == "NCExpandedPlatterView")] | length == 1' \
  "$work/note.json" >/dev/null || fail "no expanded platter"
jq -e '[.. | objects | select(.class? == "NCExpandedPlatterView") | .. | objects |
        select(.text? == "Mail") | .textColor.hex] | .[0] != "#000000"' "$work/note.json" \
  >/dev/null || fail "the notification's title was not coloured"

# The dock, open folders and web clips: every icon's place, and what an open folder shows held.
run apps --json >"$work/apps.json"
jq -e '[.apps[] | select(.place.kind == "dock") | .frame] | length == 4 and all(. != null)' \
  "$work/apps.json" >/dev/null || fail "the dock's apps: $(jq -c '.apps' "$work/apps.json")"
jq -e '.webClips[] | select(.title == "Vitrel News") |
       .place.folder == "Reading" and .bundleIdentifier == null and .frame == null' \
  "$work/apps.json" >/dev/null || fail "the web clip in a folder: $(jq -c .webClips "$work/apps.json")"
run preview --home --dump - >"$work/home.json"
jq -e '.pressed == null and .actions == [] and
       ([.. | objects | select(.class? == "SBDockView")] | length == 1)' "$work/home.json" \
  >/dev/null || fail "the home screen at rest: $(jq -c .pressed "$work/home.json")"
run preview --open-folder Reading --press "Vitrel News" --dump - >"$work/news.json"
jq -e '.openFolder == "Reading" and .pressed.kind == "webclip" and
       .pressed.bundleIdentifier == null and (.actions | index("Share Bookmark") != null) and
       ([.. | objects | select(.class? == "SBFloatyFolderView")] | length == 1)' \
  "$work/news.json" >/dev/null || fail "a web clip held in a folder: $(jq -c .pressed "$work/news.json")"
if run preview --press "Vitrel News" 2>"$work/err"; then fail "pressed inside a closed folder"; fi
grep -q "open-folder 'Reading'" "$work/err" || fail "no hint to open the folder: $(cat "$work/err")"

if run preview --press com.example.nosuch 2>"$work/err"; then fail "an unknown app was pressed"; fi
grep -q "unknown bundle identifier 'com.example.nosuch'" "$work/err" || fail "$(cat "$work/err")"
if run preview --press com.vitrel.sample.clock 2>"$work/err"; then fail "pressed inside a folder"; fi
grep -q "press-folder" "$work/err" || fail "no hint for an app in a folder"
if run preview --press-folder Nowhere 2>/dev/null; then fail "an unknown folder was pressed"; fi
# An app name that is not UTF-8 (the catalogue is the user's file) is written as U+FFFD.
catalogue="$work/device/var/mobile/Library/SpringBoard/Catalogue/catalogue.plist"
sed -i 's|<string>Photos</string>|<string>Ph\xffotos</string>|' "$catalogue"
run apps --json >"$work/apps.json" || fail "apps --json stopped at a name that is not UTF-8"
jq -e '[.apps[] | select(.name == "Ph\ufffdotos")] | length == 1' "$work/apps.json" >/dev/null ||
  fail "the name was not written with U+FFFD"
run preview --press com.vitrel.sample.photos --dump - >/dev/null ||
  fail "preview --dump stopped at a name that is not UTF-8"
echo ok
