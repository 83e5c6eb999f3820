#!/usr/bin/env bash
# Installs the library from the build tree into a scratch prefix, then builds and runs a small
# outside program against it twice: through find_package and through pkg-config. Every gallery
# example and the README's example program are built the pkg-config way too, so they can reach
# nothing but the installed headers; the README's example also has to run and write its pictures.
# Nothing is run with LD_LIBRARY_PATH: both routes must leave programs that find the library. The
# outside project builds with Ninja, which the build packages bring; a fresh machine has no make.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
project_dir=$(cd "$source_dir/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
libdir=$(dirname "$(find "$work/prefix" -name 'libplotvane.so' | head -n1)")
soname=$(objdump -p "$libdir/libplotvane.so" | awk '/SONAME/ {print $2}')
[[ "$soname" == libplotvane.so.* ]] || { echo "unversioned SONAME: $soname"; exit 1; }

cmake -G Ninja -S "$source_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++17 "$source_dir/consumer/main.cpp" -o "$work/pkgconfig-consumer" $(pkg-config --cflags --libs plotvane)
"$work/pkgconfig-consumer"

mkdir "$work/outside"
awk '/^```cpp$/ { inside = 1; next } /^```$/ && inside { exit } inside' "$project_dir/README.md" \
  >"$work/outside/readme_example.cpp"
[ -s "$work/outside/readme_example.cpp" ] || { echo "no C++ example in README.md"; exit 1; }
for program in "$project_dir"/examples/*.cpp "$work/outside/readme_example.cpp"; do
  # shellcheck disable=SC2046
  c++ -std=c++17 -Wall -Wextra -Wpedantic -Werror "$program" -o "$work/outside/$(basename "$program" .cpp)" \
    $(pkg-config --cflags --libs plotvane) || { echo "$program does not build against the installed copy"; exit 1; }
done
(cd "$work/outside" && ./readme_example)
[ -s "$work/outside/sales.png" ] || { echo "the README's example wrote no picture"; exit 1; }
echo "examples ok"
