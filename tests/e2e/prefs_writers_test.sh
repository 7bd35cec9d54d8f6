#!/usr/bin/env bash
# Writers of one device's settings at once: WRITERS processes of `vitrel prefs set` (default 8),
# each storing WRITES keys of its own (default 6), one command per key. Each command reads the
# file, adds its key and replaces the file; every key must be there at the end.
set -euo pipefail
vitrel="$1"
writers="${2:-8}"
writes="${3:-6}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
device="$work/device"
prefs() { "$vitrel" --device "$device" prefs "$@"; }

prefs reset >/dev/null
for w in $(seq "$writers"); do
  (for n in $(seq "$writes"); do prefs set "writer${w}_${n}" "$n" 2>/dev/null >/dev/null; done) &
done
wait

prefs list >"$work/list"
lost=0
for w in $(seq "$writers"); do
  for n in $(seq "$writes"); do
    grep -qx "writer${w}_${n} (number): ${n}" "$work/list" || lost=$((lost + 1))
  done
done
echo "lost updates ${lost} of $((writers * writes))"
[ "$lost" -eq 0 ] || { echo "FAIL: writers undid each other's keys" >&2; exit 1; }
echo "ok"
