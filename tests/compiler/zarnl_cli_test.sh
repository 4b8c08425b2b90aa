#!/usr/bin/env bash
# zarnl's command line: help and version, wrong usage refused with exit 2 before
# anything is written, warnings on standard error, and --warnings-as-errors.
# Usage: zarnl_cli_test.sh ZARNL
set -u
zarnl=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $1"; failures=$((failures + 1)); }
# run ARGS...: sets $status, $out (stdout) and $err (stderr).
run() { "$zarnl" "$@" >"$work/out" 2>"$work/err"; status=$?; out=$(<"$work/out"); err=$(<"$work/err"); }
expect_status() { [ "$status" -eq "$2" ] || fail "$1: exit $status, not $2 (stderr: $err)"; }
expect_in() { grep -qF -- "$3" <<<"$2" || fail "$1: no \"$3\" in: $2"; }

printf 'MANUFACTURER 0x2A, DEVICE_TYPE 0x12, DEVICE_REVISION 1, DD_REVISION 1\nVARIABLE v {\n LABEL "v";\n}\n' >"$work/clean.ddl"
printf 'MANUFACTURER 0x2A\nCOMPONENT c {\n CLASIFICATION SENSOR_PRESSURE;\n}\n' >"$work/warn.ddl"

for help in --help -h; do
  run "$help"
  expect_status "$help" 0
  expect_in "$help on stdout" "$out" "usage: zarnl"
  expect_in "$help names -Werror" "$out" "--warnings-as-errors"
  [ -z "$err" ] || fail "$help: stderr not empty: $err"
done

run --version
expect_status "--version" 0
[[ "$out" =~ ^zarnl\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed: $out"

# Wrong usage: exit 2, a message, nothing written (the -o file is not created).
refused() {  # refused EXPECTED_MESSAGE ARGS...
  local message=$1
  shift
  run "$@"
  expect_status "usage $*" 2
  [ -z "$out" ] || fail "usage $*: stdout not empty: $out"
  expect_in "usage $* message" "$err" "zarnl: $message"
  [ ! -e "$work/bad.xml" ] || fail "usage $* wrote the output"
}
refused "unknown option --wat" --wat -o "$work/bad.xml" "$work/clean.ddl"
refused "unknown option --wat" -o "$work/bad.xml" "$work/clean.ddl" --wat=1
refused "unknown option -x" -x -o "$work/bad.xml" "$work/clean.ddl"
refused "unknown option -Wbogus" -Wbogus -o "$work/bad.xml" "$work/clean.ddl"
refused "option -o needs a value" "$work/clean.ddl" -o
refused "option --config needs a value" "$work/clean.ddl" --config
refused "option --warnings-as-errors takes no value" --warnings-as-errors=yes -o "$work/bad.xml" "$work/clean.ddl"
refused "no source given" -o "$work/bad.xml"
refused "one source only" -o "$work/bad.xml" "$work/clean.ddl" "$work/warn.ddl"

# -- ends the options: a source named like an option.
cp "$work/clean.ddl" "$work/-h"
(cd "$work" && "$zarnl" -o out.xml -- -h) >"$work/out" 2>&1 || fail "-- did not end the options: $(<"$work/out")"
grep -qF "<ZARN_DEVICE" "$work/out.xml" 2>/dev/null || fail "-- source not compiled"

# Warnings go to stderr with file:line and do not fail the compile ...
run "$work/warn.ddl" -o "$work/warn.xml"
expect_status "warnings" 0
expect_in "warning text" "$err" "$work/warn.ddl:3: warning: unknown attribute CLASIFICATION"
[ -s "$work/warn.xml" ] || fail "warnings: no output written"
# ... unless they count as errors.
for werror in -Werror --warnings-as-errors; do
  run "$werror" "$work/warn.ddl" -o "$work/werror.xml"
  expect_status "$werror" 1
  expect_in "$werror warning text" "$err" "warn.ddl:3: warning: unknown attribute"
  [ ! -e "$work/werror.xml" ] || fail "$werror wrote the output"
done
run -Werror "$work/clean.ddl" -o "$work/clean.xml"
expect_status "-Werror on a clean source" 0
[ -z "$err" ] || fail "clean source: stderr not empty: $err"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "zarnl command line: all passed"
