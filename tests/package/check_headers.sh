#!/usr/bin/env bash
# Compiles every public header on its own with each compiler at hand, warnings as errors: a header
# must stand alone and stay quiet in programs built with stricter settings than the library's.
# clang's -Woverloaded-virtual is asked for by name; gcc 12 reports hiding at the hidden function,
# where a header cannot silence it, so gcc keeps to -Wall -Wextra -Wpedantic.
set -euo pipefail
include_dir=$(cd "$(dirname "$0")/../../include" && pwd)
common=(-std=c++17 -x c++ -fsyntax-only -Wall -Wextra -Wpedantic -Wshadow -Werror -I"$include_dir")
compilers=()
command -v g++ >/dev/null && compilers+=(g++)
command -v clang++ >/dev/null && compilers+=(clang++)
[ ${#compilers[@]} -gt 0 ] || { echo "no C++ compiler"; exit 1; }
failed=0
for cxx in "${compilers[@]}"; do
  extra=()
  [ "$cxx" = clang++ ] && extra=(-Woverloaded-virtual)
  for header in "$include_dir"/plotvane/*.h; do
    name=$(basename "$header")
    if ! echo "#include <plotvane/$name>" | "$cxx" "${common[@]}" "${extra[@]}" - ; then
      echo "plotvane/$name does not compile cleanly with $cxx"
      failed=1
    fi
  done
done
[ $failed -eq 0 ] && echo "headers ok with ${compilers[*]}"
exit $failed
