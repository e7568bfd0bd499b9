#!/usr/bin/env bash
# scripts/check-layers over small trees: which includes it lets through and which it names.
set -uo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# tree FILE:INCLUDE... - a fresh tree whose FILE holds one #include "INCLUDE" line (or none when INCLUDE is empty).
tree() {
  rm -rf "$work/t" && mkdir -p "$work/t"
  for entry in "$@"; do
    file=${entry%%:*} inc=${entry#*:}
    mkdir -p "$work/t/$(dirname "$file")"
    { echo "#pragma once"; [ -n "$inc" ] && echo "#include \"$inc\""; echo "int x;"; } >>"$work/t/$file"
  done
}

# expect NAME STATUS PATTERN - runs the check on the tree; PATTERN (grep -E) must be in its output, or "" for none.
expect() {
  local name=$1 want=$2 pattern=$3 out status
  out=$("$check" "$work/t" 2>&1); status=$?
  if [ "$status" -ne "$want" ]; then
    echo "FAIL $name: exit $status, expected $want"; echo "$out"; failures=$((failures + 1))
  elif [ -n "$pattern" ] && ! grep -qE "$pattern" <<<"$out"; then
    echo "FAIL $name: output lacks /$pattern/"; echo "$out"; failures=$((failures + 1))
  elif [ -z "$pattern" ] && [ -n "$out" ]; then
    echo "FAIL $name: unexpected output"; echo "$out"; failures=$((failures + 1))
  fi
}

tree src/platform/canvas.h: src/gps/nmea.h:platform/canvas.h src/gps/nmea.cpp:gps/nmea.h \
  src/datafile/rec.cpp:gps/nmea.h src/app/qt/main.cpp:platform/canvas.h tools/dump/main.cpp:app/qt/main.h \
  tools/wav/main.cpp:cue.h
expect "downward, same layer, bare names and tools" 0 ""

tree src/platform/canvas.h: src/platform/paths.cpp:platform/canvas.h src/platform/canvas.cpp:gps/nmea.h \
  src/gps/nmea.h:
expect "upward include named with its line and layers" 1 \
  '^src/platform/canvas\.cpp:2: "gps/nmea\.h": platform \(layer 1 platform\) includes gps \(layer 3 decoders\)$'

tree src/gps/nmea.h: src/platform/qt/prompts.cpp:app/qt/message_box.h src/app/qt/message_box.h:
expect "qt folders belong to their parent folder" 1 'prompts\.cpp:2: .*platform .* includes app '

tree src/survey/fix.cpp:logscreen/sink.h src/em38/rec.cpp:survey/fix.h src/logscreen/sink.h:
expect "every violation counted" 1 '2 include\(s\) against the layering'

tree src/widgets/w.cpp:platform/canvas.h src/platform/canvas.h:
expect "a folder outside the table" 1 'src/widgets/w\.cpp: folder "widgets" is not in the layer table'

tree src/gps/nmea.cpp:extra/thing.h
expect "an include from a folder outside the table" 1 'nmea\.cpp:2: "extra/thing\.h": folder "extra"'

[ "$failures" -eq 0 ] && echo "check-layers: all cases pass"
exit $((failures > 0))
