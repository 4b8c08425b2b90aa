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

# The command line refuses what it does not understand before anything runs: a
# mistyped option must not swallow the next argument and act on another catalog.
zr() { (cd "$work/cwd" && "$bin/zarn-catalog" "$@" 2>&1; echo "exit $?"); }
mkdir -p "$work/cwd"
out=$(zr --workdr "$work/other" delete /DEVICE)
expect "unknown common option" "unknown option --workdr" "$out"
expect "unknown common option exit" "exit 2" "$out"
out=$(zr delete --workdr "$work/other" /DEVICE)
expect "unknown option of a command" "unknown option --workdr for delete" "$out"
expect "unknown option of a command exit" "exit 2" "$out"
out=$(zr tree --workdr="$work/other")
expect "unknown option with =" "unknown option --workdr for tree" "$out"
out=$(zr attribute --workdir "$work/other" /DEVICE SECTION --mode)
expect "missing value" "option --mode needs a value" "$out"
expect "missing value exit" "exit 2" "$out"
out=$(zr import --bundle=yes "$work/other")
expect "flag given a value" "exit 2" "$out"
out=$(zr tree --json=maybe)
expect "bad switch value" "--json takes yes or no" "$out"
out=$(zr frobnicate)
expect "unknown command" "unknown command 'frobnicate'" "$out"
[ -z "$(ls -A "$work/cwd")" ] && [ ! -e "$work/other" ] || { echo "FAILED: a refused line created files"; failures=$((failures + 1)); }
out=$(zr tree --help)
expect "command help" "usage: zarn-catalog tree" "$out"
expect "command help exit" "exit 0" "$out"

# Errors say what to do; empty answers are no errors.
touch "$work/plain_file"
out=$("$bin/zarn-catalog" tree --workdir "$work/plain_file" 2>&1; echo "exit $?")
expect "advice without a catalog" "run \`zarn-catalog init --workdir $work/plain_file\`" "$out"
expect "failure exit" "exit 1" "$out"
out=$("$bin/zarn-catalog" tree --json --workdir "$work/plain_file" 2>/dev/null)
expect "json error object" '"hex": "0x90204032", "message": "no catalog' "$out"
zc init >/dev/null || { echo "FAILED: init"; exit 1; }
out=$(zc tree; echo "exit $?")
expect "tree of an empty catalog" "exit 0" "$out"
echo "<!-- edited -->" >> "$work/zarn_catalog/catalogData/devices.cfg"
zc init >/dev/null
expect "init keeps edits" "edited" "$(cat "$work/zarn_catalog/catalogData/devices.cfg")"
zc init --force >/dev/null
grep -q edited "$work/zarn_catalog/catalogData/devices.cfg" && { echo "FAILED: init --force kept the edit"; failures=$((failures + 1)); }

# A failing source shows the compiler's file:line messages without --trace.
out=$(zc import "$src/examples/devices/broken/syntax_error.ddl" 2>&1)
expect "compiler message on import" "syntax_error.ddl:" "$out"
out=$(zc import --json "$src/examples/devices/broken/syntax_error.ddl" 2>/dev/null)
expect "json failure with messages" '"messages": ["' "$out"
out=$(zc convert --json "$src/examples/devices/broken/syntax_error.ddl" 2>/dev/null)
expect "convert --json failure is one error object" '{"error": {"call": "ZARN_GetComponents"' "$out"
out=$(zc convert "$src/examples/devices/broken/syntax_error.ddl" 2>&1)
expect "compiler message on convert" "syntax_error.ddl:" "$out"
zc convert --keep "$work/kept" "$src/examples/devices/hart/tarvona/positioner_vp25.ddl" >/dev/null 2>&1
ls "$work/kept"/*.xml >/dev/null 2>&1 || { echo "FAILED: convert --keep kept nothing"; failures=$((failures + 1)); }
mkdir -p "$work/warned"
printf 'MANUFACTURER 0x00F5, DEVICE_TYPE 0xF599, DEVICE_REVISION 1, DD_REVISION 1\n
VARIABLE level { LABEL "Level"; HELP "h";\n CLASIFICATION CONTAINED; CLASS CONTAINED; TYPE FLOAT; HANDLING RW; }\n' \
  > "$work/warned/plain.ddl"
out=$(zc import "$work/warned/plain.ddl" 2>&1)
expect "compiler warning on import" "plain.ddl:4: warning: unknown attribute CLASIFICATION" "$out"
expect "a warning is no failure" "imported: 1, already present: 0, failed: 0, warnings: 1" "$out"
# A working directory so deep that a component's files would pass 260 characters:
# the path-length code, and nothing of the source is left behind.
deep="$work/$(printf 'd%.0s' {1..60})/$(printf 'e%.0s' {1..60})"
"$bin/zarn-catalog" init --workdir "$deep" >/dev/null
out=$("$bin/zarn-catalog" import --workdir "$deep" "$src/examples/devices/hart/zentrifex/coriolis_cfm900.ddl" 2>&1)
expect "path too long" "0x90204044 (a resolved file path is too long)" "$out"
out=$("$bin/zarn-catalog" check --workdir "$deep" 2>&1)
expect "nothing left of a source too deep" "sound: 0 components" "$out"
echo "<notes/>" > "$work/notes.xml"
out=$(zc import "$work/notes.xml" 2>&1)
expect "a file no converter accepts says what it is" "notes.xml is XML with the root element notes" "$out"
out=$(zc identify "$src/examples/devices/gsd/QLMK80F3.gsd"; echo "exit $?")
expect "identify a GSD station" "device type:     0x80f3" "$out"
expect "identify a GSD station exit" "exit 0" "$out"
out=$(zc import --json "$src/examples/devices/gsd/BRDL0A1B.gsd" 2>/dev/null)
expect "import --json lists components" '"components": ["/DEVICE/' "$out"
expect "import --json has warnings" '"warnings": [' "$out"
out=$(zc import "$src/examples/devices/hart" 2>&1)
expect "import summary" "imported: 5, already present: 0, failed: 0 (5 sources in " "$out"
# Into a pipe the progress is plain text: a log must not fill with terminal escapes.
grep -q $'[\r\033]' <<<"$out" && { echo "FAILED: terminal escapes in piped import output"; failures=$((failures + 1)); }
out=$(zc referencing /DEVICE/HART/SENSOR/TEMPERATURE 2>&1; echo "exit $?")
expect "referencing with nothing referring" "exit 0" "$out"
out=$(zc initial-value --json "/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik/Temperature/Head transmitters/tt420" NO_SUCH_VARIABLE 2>&1; echo "exit $?")
expect "absent initial value" '{"value": null}' "$out"
expect "absent initial value exit" "exit 0" "$out"
out=$(zc initial-value "/DEVICE/NO/SUCH" X 2>&1; echo "exit $?")
expect "initial value of no component" "exit 1" "$out"
out=$(zc tree)
expect "tree levels" "        TEMPERATURE" "$out"
expect "tree component" "TT 420 temperature transmitter  [tt420]" "$out"
# Values as --name VALUE or --name=VALUE, common options before the command too.
out=$("$bin/zarn-catalog" --workdir="$work" --lang de tree 2>&1)
expect "common options before the command" "TT 420 Temperaturmessumformer  [tt420]" "$out"
out=$("$bin/zarn-catalog" tree --json=no --lang=de --workdir "$work" 2>&1)
expect "--json=no and --lang=de" "TT 420 Temperaturmessumformer  [tt420]" "$out"
out=$(zc attribute --mode=1 /DEVICE/HART SECTION 2>&1; echo "exit $?")
out2=$(zc attribute --mode 1 /DEVICE/HART SECTION 2>&1; echo "exit $?")
[ "$out" = "$out2" ] && grep -q "exit 0" <<<"$out" || { echo "FAILED: --mode=1 and --mode 1 differ: $out / $out2"; failures=$((failures + 1)); }
out=$(zc tree -- /DEVICE/HART 2>&1)
expect "arguments after --" "TT 420 temperature transmitter  [tt420]" "$out"
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
