#!/usr/bin/env bash
# The command-line host as a new user meets it: lay out a working directory, import
# part of the sample library, look at the tree, ask whether a source is present,
# replace it, list and import by lines in a later process, delete.
# Usage: cli_test.sh BIN_DIR SOURCE_DIR
set -u
bin=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
log="$work/stderr.log"
# Runs a command; its standard error also goes to the log that is checked for
# sanitizer reports at the end.
zc() { local command=$1; shift; "$bin/zarn-catalog" "$command" --workdir "$work" "$@" 2> >(tee -a "$log" >&2); }
expect() {  # expect DESCRIPTION PATTERN OUTPUT
  if grep -qF -- "$2" <<<"$3"; then return; fi
  echo "FAILED: $1: no \"$2\" in:"
  sed 's/^/  | /' <<<"$3"
  failures=$((failures + 1))
}

zc init >/dev/null || { echo "FAILED: init"; exit 1; }
out=$(zc import "$src/examples/devices/hart" 2>&1)
expect "import summary" "imported: 5, already present: 0, failed: 0" "$out"
out=$(zc tree)
expect "tree levels" "        TEMPERATURE" "$out"
expect "tree component" "TT 420 temperature transmitter  [tt420]" "$out"
out=$(zc tree --lang de)
expect "German labels" "TT 420 Temperaturmessumformer  [tt420]" "$out"

tt420="$src/examples/devices/hart/quellmark/temperature_tt420.ddl"
out=$(zc exists "$tt420")
expect "exists on a source" "in the catalog" "$out"
out=$(zc replace "$tt420")
expect "replace on a source" "replaced /DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik" "$out"
out=$(zc import "$tt420" 2>&1)
expect "second import" "already present: 1" "$out"

pd600="$src/examples/devices/profibus_pa/halvora/pressure_pd600.ddl"
line=$(zc list "$pd600")
expect "list line" 'COMPONENT:"Pressure/pd600"' "$line"
out=$(zc import-list "$pd600" "$line" 2>&1)
expect "import-list in a later process" "done" "$out"
out=$(zc tree /DEVICE/PROFIBUS_PA)
expect "imported by line" "PD 600 pressure transmitter  [pd600]" "$out"

out=$(zc delete "/DEVICE/PROFIBUS_PA/SENSOR/PRESSURE/Halvora Instruments/Pressure/pd600" 2>&1)
expect "delete" "pd600" "$out"
out=$(zc exists "$pd600")
expect "gone after delete" "not in the catalog" "$out"

out=$(zc import "$src/examples/devices/broken/syntax_error.ddl" 2>&1)
expect "broken source" "failed: 1" "$out"

out=$(zc check)
expect "check on what is left" "sound: " "$out"
echo "stray" > "$work/zarn_catalog/DEVICE/stray.txt"
out=$(zc check --json; echo "exit $?")
expect "check names an orphan" '"invariant": 4' "$out"
expect "check fails on a violation" "exit 1" "$out"

sleep 0.2  # let the last tee finish
if grep -qE "Sanitizer|runtime error" "$log"; then
  echo "FAILED: sanitizer report:"
  cat "$log"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "cli test passed"
exit "$failures"
