#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as a host developer would:
# a host found with find_package and one linked through pkg-config each import a
# source into an empty working directory and list it; the installed zarn-catalog
# tells its version and refuses a mistyped option without creating anything.
#   install_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1 build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
source_file=$src/examples/devices/hart/quellmark/radar_level_lr80.ddl
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; exit 1; }
for f in include/zarn/catalog_manager.h include/zarn/version.h include/zarn/result_messages.h \
         lib/zarn_catalog_manager_x.so lib/zarn_zarnl_compiler_x.so lib/zarn_trace_x.so \
         lib/cmake/ZarnCatalog/ZarnCatalogConfig.cmake lib/pkgconfig/zarn-catalog.pc \
         bin/zarn-catalog bin/zarnl share/man/man1/zarn-catalog.1 share/man/man1/zarnl.1 \
         share/zarn-catalog/catalogData/devices.cfg share/zarn-catalog/Device/HV__DEV01.cfg; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done

# A host that imports and lists: the output names the imported component.
check_host() {  # check_host NAME PROGRAM
  local work=$tmp/work-$1
  mkdir -p "$work"
  if ! env -u LD_LIBRARY_PATH "$2" "$work" "$source_file" >"$tmp/$1.out" 2>&1; then
    fail "$1 host failed"; cat "$tmp/$1.out"; return
  fi
  grep -q '^imported: ' "$tmp/$1.out" || fail "$1 host imported nothing"
  grep -q '^component: /DEVICE/' "$tmp/$1.out" || fail "$1 host lists no component"
}

if cmake -S "$src/examples/host" -B "$tmp/host-cmake" -DCMAKE_PREFIX_PATH="$prefix" >"$tmp/cmake.log" 2>&1 &&
   cmake --build "$tmp/host-cmake" >>"$tmp/cmake.log" 2>&1; then
  check_host cmake "$tmp/host-cmake/quickstart"
else
  fail "find_package host does not build"; cat "$tmp/cmake.log"
fi

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
if cc -std=c11 "$src/examples/host/quickstart.c" -o "$tmp/quickstart-pc" \
      $(pkg-config --cflags --libs zarn-catalog) >"$tmp/pc.log" 2>&1; then
  check_host pkg-config "$tmp/quickstart-pc"
else
  fail "pkg-config host does not build"; cat "$tmp/pc.log"
fi

cli=$prefix/bin/zarn-catalog
env -u LD_LIBRARY_PATH "$cli" --version | grep -qx "zarn-catalog [0-9]*\.[0-9]*\.[0-9]*" || fail "--version"
mkdir "$tmp/cwd"
(cd "$tmp/cwd" && "$cli" --workdr "$tmp/typo" init >/dev/null 2>&1)
[ $? -eq 2 ] || fail "--workdr not refused with exit 2"
[ ! -e "$tmp/typo" ] && [ -z "$(ls -A "$tmp/cwd")" ] || fail "a refused command created files"
"$cli" init --workdir "$tmp/fresh" >/dev/null && "$cli" tree --workdir "$tmp/fresh" >/dev/null || fail "init + tree"

[ $failures -eq 0 ] && echo "install test passed" || { echo "$failures failure(s)"; exit 1; }
