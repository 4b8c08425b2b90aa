#!/usr/bin/env bash
# Set-up, build and the two main jobs of the project.
#   ./run.sh demo    build, lay out a working directory, import the sample device
#                    library from examples/ and print the catalog tree
#   ./run.sh test    build and run the whole test suite, normally and under
#                    AddressSanitizer + UndefinedBehaviorSanitizer
#   ./run.sh build   build only (build/bin)
#   ./run.sh bench   build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake g++ make pkg-config libxml2-dev libxslt1-dev libgtest-dev libgmock-dev
          libbenchmark-dev libzip-dev zlib1g-dev)
JOBS=$(nproc 2>/dev/null || echo 2)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
}

run_tests() {  # run_tests DIR
  (cd "$1" && ctest --output-on-failure -j"$JOBS" --timeout 300)
}

cmd=${1:-demo}
case "$cmd" in
  build)
    install_missing
    build build
    ;;
  test)
    PACKAGES+=(chromium)  # the export-html site is checked in a headless browser
    install_missing
    build build
    run_tests build
    echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
    build build-asan -DZARN_SANITIZE=ON -DZARN_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_tests build-asan
    ;;
  demo)
    install_missing
    build build
    work=${ZARN_WORKDIR:-$PWD/work}
    rm -rf "$work"
    ./build/bin/zarn-catalog init --workdir "$work"
    commands=$(./build/bin/zarn-catalog --help 2>/dev/null || true)
    if grep -q '^  import ' <<<"$commands"; then
      # The sample library holds deliberately broken sources: the summary lists
      # them as failed, and the demo goes on to show what was imported.
      ./build/bin/zarn-catalog import --workdir "$work" examples/devices || true
    fi
    if grep -q '^  tree ' <<<"$commands"; then
      ./build/bin/zarn-catalog tree --workdir "$work"
    else
      ./build/bin/zarn-catalog info --workdir "$work"
    fi
    ;;
  bench)
    install_missing
    build build
    for b in build/bin/bench_*; do [ -x "$b" ] && "$b"; done
    ;;
  *)
    echo "usage: $0 demo|test|build|bench" >&2
    exit 2
    ;;
esac
