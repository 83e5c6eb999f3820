#!/usr/bin/env bash
# Installs the library from the build tree into a scratch prefix, then builds and runs a small
# outside program against it twice: through find_package and through pkg-config.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
libdir=$(dirname "$(find "$work/prefix" -name 'libplotvane.so' | head -n1)")
soname=$(objdump -p "$libdir/libplotvane.so" | awk '/SONAME/ {print $2}')
[[ "$soname" == libplotvane.so.* ]] || { echo "unversioned SONAME: $soname"; exit 1; }

cmake -S "$source_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/cmake-build/consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++17 "$source_dir/consumer/main.cpp" -o "$work/pkgconfig-consumer" $(pkg-config --cflags --libs plotvane)
LD_LIBRARY_PATH="$libdir" "$work/pkgconfig-consumer"
