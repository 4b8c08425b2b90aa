#!/usr/bin/env bash
# export-html in a real browser: every component is in the index page's DOM, a
# search for an order number finds its device, a station's page lists the modules
# its relation offers, the language switch shows the chosen texts, and a page with
# a picture shows it (screenshot compared with one of the page without picture).
set -uo pipefail
CLI=$1
SRC=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
BROWSER=$(command -v chromium || command -v chromium-browser || command -v google-chrome || true)
if [ -z "$BROWSER" ]; then
  echo "SKIP: no Chromium found (./run.sh test installs Debian's chromium)"
  exit 77
fi
FAILURES=0
fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }

browser() { "$BROWSER" --headless --no-sandbox --disable-gpu --no-first-run --disable-extensions \
  --user-data-dir="$WORK/profile" --virtual-time-budget=5000 "$@" 2>/dev/null; }
dom() { browser --dump-dom "$1"; }

# export NAME SOURCE...: a working directory with the sources imported, and its site.
export_site() {
  local name=$1; shift
  "$CLI" init --workdir "$WORK/$name" >/dev/null || fail "$name: init"
  for s in "$@"; do "$CLI" import --workdir "$WORK/$name" "$s" >/dev/null 2>&1; done
  "$CLI" export-html --workdir "$WORK/$name" "$WORK/$name-site" || fail "$name: export-html"
}

# The component paths of a working directory.
components() { "$CLI" log-paths --workdir "$WORK/$1" / | grep -v '^ ' | sed 's/  ".*$//' | sort -u; }

check_every_component() {
  local name=$1
  local want got
  want=$(components "$name" | wc -l)
  got=$(dom "file://$WORK/$name-site/index.html" | grep -o 'class="component"' | wc -l)
  [ "$want" -gt 0 ] && [ "$got" -eq "$want" ] || fail "$name: index DOM holds $got of $want components"
  echo "$name: $got components in the index"
}

# The page of a component path, from the search index.
page_of() { grep -F "\"$2\"," "$WORK/$1-site/search.js" | head -1 | sed 's/^\["\([^"]*\)".*/\1/'; }

# search NAME TEXT PATH: typing TEXT finds the page of PATH.
search_finds() {
  local name=$1 text=$2 path=$3 page query
  page=$(page_of "$name" "$path")
  query=$(printf '%s' "$text" | sed 's/ /%20/g')
  dom "file://$WORK/$name-site/index.html?q=$query" | grep -q "class=\"hit\" href=\"$page\"\|href=\"$page\" class=\"hit\"" ||
    fail "$name: searching \"$text\" does not find $path ($page)"
}

check_search() {
  local name=$1 path order
  while read -r path; do
    order=$("$CLI" attribute --workdir "$WORK/$name" "$path" ORDER_NUMBER 2>/dev/null | head -1)
    [ -n "$order" ] && break
  done < <(components "$name")
  [ -n "$order" ] || { fail "$name: no component with an order number"; return; }
  search_finds "$name" "$order" "$path"
  echo "$name: order number \"$order\" finds $path"
}

check_station() {
  local name=$1 station=$2 want page got
  want=$("$CLI" relations --workdir "$WORK/$name" child "$station" | grep -c '^  component ')
  page=$(page_of "$name" "$station")
  got=$(dom "file://$WORK/$name-site/$page" | grep -o 'class="module"' | wc -l)
  [ "$want" -gt 0 ] && [ "$got" -eq "$want" ] || fail "$name: $station page lists $got of $want modules"
  echo "$name: $station lists $got modules"
}

check_language() {
  local name=$1 path=$2 text=$3 page
  page=$(page_of "$name" "$path")
  dom "file://$WORK/$name-site/$page?lang=de" | grep -q "class=\"t shown\" data-lang=\"de\">$text" ||
    fail "$name: the German label \"$text\" of $path is not shown"
}

check_picture() {
  local name=$1 page html
  page=$(grep -l 'id="picture"' "$WORK/$name-site"/c/*.html | head -1)
  [ -n "$page" ] || { fail "$name: no page with a picture"; return; }
  dom "file://$page" | grep -q 'data-picture="shown"' || fail "$name: the picture of $page does not load"
  html=$(basename "$page")
  browser --window-size=800,900 --screenshot="$WORK/with.png" "file://$page" >/dev/null
  sed 's/<img id="picture"[^>]*>//' "$page" > "$WORK/$name-site/c/no-picture-$html"
  browser --window-size=800,900 --screenshot="$WORK/without.png" "file://$WORK/$name-site/c/no-picture-$html" >/dev/null
  local with without
  with=$(stat -c %s "$WORK/with.png" 2>/dev/null || echo 0)
  without=$(stat -c %s "$WORK/without.png" 2>/dev/null || echo 0)
  [ "$with" -gt 0 ] && [ "$without" -gt 0 ] && ! cmp -s "$WORK/with.png" "$WORK/without.png" ||
    fail "$name: the screenshot with the picture ($with bytes) equals the one without ($without bytes)"
  echo "$name: picture of $html shown (screenshot $with bytes, $without without it)"
}

export_site sample "$SRC/examples"
check_every_component sample
check_station sample "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8"
search_finds sample "rio 8 station" "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8"
check_language sample "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8" \
  "RIO 8 Dezentrale Peripheriestation"

CORPUS="$SRC/../shared/realworld"
if [ -d "$CORPUS" ]; then
  export_site corpus "$CORPUS/gsd" "$CORPUS/iodd" "$CORPUS/eddl"
  check_every_component corpus
  check_search corpus
  station=$(grep -o '"/DEVICE/PROFIBUS_DP/[^"]*"' "$WORK/corpus-site/search.js" | tr -d '"' | while read -r p; do
    if "$CLI" relations --workdir "$WORK/corpus" child "$p" 2>/dev/null | grep -q '^  component '; then
      echo "$p"; break; fi; done)
  if [ -n "$station" ]; then check_station corpus "$station"; else fail "corpus: no modular station"; fi
  check_picture corpus
else
  echo "corpus: not beside the clone ($CORPUS), sample checks only"
fi

[ "$FAILURES" -eq 0 ] || { echo "$FAILURES check(s) failed"; exit 1; }
echo "all browser checks passed"
