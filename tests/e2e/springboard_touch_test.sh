#!/usr/bin/env bash
# A supervised `vitrel springboard` under touches from the command line: holds and taps at
# points, the lock screen's notification, the interface style, the view tree, an open menu
# presented again when the settings change, and a switch of system version that survives the
# respring it causes.
set -euo pipefail
vitrel="$1"
work=$(mktemp -d)
supervisor=
trap 'if [ -n "$supervisor" ]; then kill "$supervisor"; wait "$supervisor"; fi; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
device="$work/device"
run() { "$vitrel" --device "$device" "$@"; }
caches="$device/var/mobile/Library/Caches/vitrel"
state() { jq -c "$1" "$caches/screen.json"; }
# The middle of a target of the screen shown now, as "X,Y".
middle_of() {
  jq -r --arg name "$1" '.targets[] | select(.name == $name) |
    "\(.frame.x + .frame.width / 2),\(.frame.y + .frame.height / 2)"' "$caches/screen.json"
}
# Texts and colours of the labels of the open menu's actions, in a dump.
menu_labels() {
  jq -c '[.. | objects | select(.class? == "_UIContextMenuView") | .. | objects |
          select(.class? == "UILabel") | .textColor.hex] | unique' "$1"
}
# A command line on the control socket, as the settings host sends it; prints the answer.
send() {
  node -e '
    const socket = require("net").connect(process.argv[1], () => socket.write(process.argv[2] + "\n"));
    socket.on("data", (data) => { process.stdout.write(String(data)); socket.end(); });
  ' "$caches/control.sock" "$1"
}
springboard_pid() { cut -d' ' -f1 "$device/var/run/SpringBoard.pid" 2>/dev/null || true; }
wait_for() {
  for _ in $(seq 400); do eval "$1" && return 0; sleep 0.05; done
  return 1
}

run prefs set dynamicLabelColoring true >/dev/null
# Started directly, not through run(), so that $! is the supervisor itself.
"$vitrel" --device "$device" springboard --supervise --scale 1 >/dev/null 2>"$work/springboard.log" &
supervisor=$!
wait_for '[ -S "$caches/control.sock" ] && [ -f "$caches/screen.json" ]' ||
  fail "no springboard: $(cat "$work/springboard.log")"
[ "$(state '[.os, .locked, .menu, .supervised]')" = '[16,false,null,true]' ] ||
  fail "first state: $(state .)"

# The frames `vitrel apps --json` gives are where the springboard finds the icons.
run apps --json >"$work/apps.json"
photos=$(jq -r '.apps[] | select(.bundleIdentifier == "com.vitrel.sample.photos") |
  "\(.frame.x + 10),\(.frame.y + 10)"' "$work/apps.json")
jq -e '[.apps[] | select(.folder != null) | .frame] | all(. == null)' "$work/apps.json" \
  >/dev/null || fail "an app in a folder has a frame"
jq -e '[.folders[], (.webClips[] | select(.place.kind != "folder")) | .frame.width] |
  all(. > 0)' "$work/apps.json" >/dev/null ||
  fail "folders and web clips need frames: $(jq -c '.folders, .webClips' "$work/apps.json")"
run springboard --hold "$photos" | grep -q "^Drew $caches/screen.png$" || fail "hold"
[ "$(state .menu)" = '{"kind":"app","name":"com.vitrel.sample.photos","title":"Photos"}' ] ||
  fail "menu after the hold: $(state .menu)"

# A tap on the menu's own actions leaves it open; beside it, the menu goes.
if run springboard --tap "$(middle_of com.vitrel.sample.photos)" 2>"$work/err"; then
  fail "a tap on the lifted icon closed the menu"
fi
grep -q "is on the open menu" "$work/err" || fail "$(cat "$work/err")"
run springboard --tap 380,830 >/dev/null
[ "$(state .menu)" = null ] || fail "the tap beside the menu left it open"
if run springboard --tap 380,830 2>"$work/err"; then fail "a tap with no menu drew"; fi
grep -q "no menu is open to close at 380,830" "$work/err" || fail "$(cat "$work/err")"
if run springboard --tap "$photos" 2>"$work/err"; then fail "a tap on an icon drew"; fi
grep -q "a tap on Photos opens nothing here; hold it for its menu" "$work/err" ||
  fail "$(cat "$work/err")"

# A tap opens a folder: only its icons can be held then, the web clip first; a tap beside the
# folder closes it.
run springboard --tap "$(middle_of Reading)" >/dev/null
[ "$(state '[.targets[] | [.kind, .title]]')" = '[["webclip","Vitrel News"],["app","Books"]]' ] ||
  fail "the open folder's targets: $(state .targets)"
run springboard --hold "$(middle_of "Vitrel News")" >/dev/null
[ "$(state '[.menu.kind, .menu.title]')" = '["webclip","Vitrel News"]' ] ||
  fail "the web clip's menu in the folder: $(state .menu)"
run springboard --tap 195,800 >/dev/null
run springboard --tap 195,800 >/dev/null
[ "$(state '[.menu, (.targets | map(.title) | index("Reading") != null)]')" = '[null,true]' ] ||
  fail "the folder did not close: $(state .)"

# Nothing there: said plainly, exit 1, the screen unchanged.
cp "$caches/screen.png" "$work/before.png"
set +e
run springboard --hold 195,700 2>"$work/err"
status=$?
set -e
[ "$status" = 1 ] || fail "hold on nothing exited $status"
[ "$(cat "$work/err")" = "vitrel: nothing to hold at 195,700" ] || fail "$(cat "$work/err")"
cmp -s "$caches/screen.png" "$work/before.png" || fail "a hold on nothing drew"

# Bad points and options together are usage errors.
usage_error() {
  local expected="$1"
  shift
  set +e
  run springboard "$@" 2>"$work/err"
  local status=$?
  set -e
  [ "$status" = 2 ] || fail "$* exited $status"
  grep -qF -- "$expected" "$work/err" || fail "$*: $(cat "$work/err")"
}
usage_error "--hold takes a point as X,Y in points" --hold 12
usage_error "--tap takes a point as X,Y in points" --tap 1,two
usage_error "--style takes light or dark" --style sepia
usage_error "excludes" --hold 1,2 --lock
if run springboard --hold 400,100 2>"$work/err"; then fail "a point off the screen was held"; fi
grep -q "off the screen" "$work/err" || fail "$(cat "$work/err")"

# The lock screen's notifications at rest, a stack per app, can be held; the style re-presents
# the menu.
run springboard --lock >/dev/null
[ "$(state '.locked and (.targets | length >= 3) and all(.targets[]; .kind == "notification")
             and (.targets | map(.name) | length == (unique | length))')" = true ] ||
  fail "lock screen targets: $(state .targets)"
run springboard --hold "$(middle_of com.vitrel.sample.mail)" >/dev/null
[ "$(state .menu.kind)" = '"notification"' ] || fail "the notification's menu: $(state .menu)"
cp "$caches/screen.png" "$work/light.png"
run springboard --style dark >/dev/null
[ "$(state '[.style, .menu.name]')" = '["dark","com.vitrel.sample.mail"]' ] ||
  fail "dark style: $(state .)"
cmp -s "$caches/screen.png" "$work/light.png" && fail "the dark style drew nothing new"

run springboard --dump "$work/tree.json" 2>/dev/null
jq -e '.style == "dark" and .screen == "lock" and .menu.kind == "notification" and
       (.actions | index("Mute for 1 hour") != null)' "$work/tree.json" >/dev/null ||
  fail "dump: $(jq -c 'del(.window)' "$work/tree.json")"
jq -e '[.. | objects | select(.class? == "_UIContextMenuView")] | length == 1' \
  "$work/tree.json" >/dev/null || fail "the dump holds no menu"

# A settings change re-presents the open menu: its labels lose the icon's colour.
run springboard --style light >/dev/null
run springboard --unlock >/dev/null
run springboard --hold "$photos" >/dev/null
run springboard --dump - >"$work/coloured.json"
[ "$(menu_labels "$work/coloured.json")" != '["#000000"]' ] ||
  fail "the labels were plain before the change"
cp "$caches/screen.png" "$work/coloured.png"
run prefs set dynamicLabelColoring false >/dev/null
wait_for '! cmp -s "$caches/screen.png" "$work/coloured.png"' ||
  fail "no new picture after the change"
run springboard --dump - >"$work/plain.json"
[ "$(menu_labels "$work/plain.json")" = '["#000000"]' ] ||
  fail "the labels kept their colour: $(menu_labels "$work/plain.json")"
[ "$(state .menu.name)" = '"com.vitrel.sample.photos"' ] || fail "the menu was not presented again"

# A notification arriving while unlocked shows as a banner at the top, which a hold expands with
# the notification's menu; while locked it is refused (the list takes it).
run springboard --home >/dev/null
run springboard --notify com.vitrel.sample.maps >/dev/null
banner=$(jq -r '.targets[] | select(.kind == "notification") |
  "\(.frame.x + .frame.width / 2),\(.frame.y + .frame.height / 2)"' "$caches/screen.json")
[ "$(state '[.targets[] | select(.kind == "notification") | [.name, .frame.y < 100]]')" = \
  '[["com.vitrel.sample.maps",true]]' ] || fail "the banner: $(state .targets)"
run springboard --hold "$banner" >/dev/null
[ "$(state '[.locked, .menu.kind, .menu.name]')" = '[false,"notification","com.vitrel.sample.maps"]' ] ||
  fail "the banner's menu: $(state .)"
run springboard --lock >/dev/null
if run springboard --notify com.vitrel.sample.maps 2>"$work/err"; then fail "a banner on the lock screen"; fi
grep -q "locked" "$work/err" || fail "$(cat "$work/err")"
run springboard --unlock >/dev/null

# A switch of system: stored in the device, the springboard restarts as that system.
old=$(springboard_pid)
answer=$(send "system 17")
[[ "$answer" == ok* ]] || fail "system 17: $answer"
wait_for '[ -n "$(springboard_pid)" ] && [ "$(springboard_pid)" != "$old" ] &&
  [ "$(jq .os "$caches/screen.json")" = 17 ]' || fail "no iOS 17 springboard: $(state .)"
grep -q "<string>17.0</string>" "$device/System/Library/CoreServices/SystemVersion.plist" ||
  fail "the version was not stored"

# Without a supervisor nothing would start it again: refused.
kill "$supervisor"
wait "$supervisor"
supervisor=
"$vitrel" --device "$device" springboard --scale 1 --os 15 >/dev/null 2>&1 &
supervisor=$!
wait_for '[ -S "$caches/control.sock" ] && [ "$(jq .os "$caches/screen.json")" = 15 ]' ||
  fail "--os 15 did not switch the device: $(state .)"
answer=$(send "system 16")
[[ "$answer" == "error: "*"not supervised"* ]] || fail "an unsupervised switch: $answer"
echo ok
