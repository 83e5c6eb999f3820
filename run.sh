#!/usr/bin/env bash
# ./run.sh gallery            build and render the gallery into out/gallery/
# ./run.sh test [--sanitize]  build and run the whole test suite (non-zero exit on any failure)
# ./run.sh test --fuzz        run each fuzz target for a short fixed time
# ./run.sh test --tsan        build with ThreadSanitizer and run the multi-thread tests
# ./run.sh test --clang       build the library and the examples with clang, warnings as errors
# ./run.sh bench              build the release preset and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

# What the library and the gallery's examples need to build and run, as Debian packages (libffi for
# the test host that runs the gallery's programs in the IDE host's language).
BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libpng-dev zlib1g-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev
  fonts-liberation2 fonts-dejavu-core libffi-dev
)
# What the test suite needs besides: the test framework, a second compiler for the headers, the
# outside checkers and oracles (numbers, contours, bidi order, image files), fonts for the scripts
# the text tests draw, and the browser that opens the gallery.
TEST_PACKAGES=(
  clang python3
  libgtest-dev libgmock-dev
  python3-pil netpbm python3-numpy python3-statsmodels python3-mpmath python3-matplotlib python3-pandas
  libfribidi-bin fonts-noto-cjk
  libxml2-utils librsvg2-bin qpdf poppler-utils
  chromium
)
# The peers the benchmarks print beside their own figures.
BENCH_PACKAGES=(libcairo2-dev python3 python3-matplotlib)

# Installs whichever of the given packages are missing.
setup() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages; as root run:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

build() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
}

# The library and the examples only, in a build of their own.
gallery() {
  build gallery
  # The host programs join in where the test host and its interpreter were built.
  local pvhost=build/gallery/testhost/runtime/pvhost
  if [ -x "$pvhost" ]; then
    examples/make_gallery.sh build/gallery/examples out/gallery "$pvhost"
  else
    examples/make_gallery.sh build/gallery/examples out/gallery
  fi
}

run_tests() {
  case "${1:-}" in
    --sanitize)
      build sanitized
      ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitized ;;
    --tsan)
      build tsan
      TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan ;;
    --fuzz)
      build fuzz
      tests/fuzz/run_fuzzers.sh build/fuzz ;;
    --clang)
      build clang ;;
    "")
      build plain
      ctest --preset plain ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
}

case "${1:-}" in
  gallery) setup "${BUILD_PACKAGES[@]}"; gallery ;;
  test) setup "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"; shift; run_tests "$@" ;;
  bench) setup "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"; build release; bench/run_all.sh build/release/bench ;;
  *) sed -n '2,7p' "$0" | sed 's/^# //'; exit 2 ;;
esac
