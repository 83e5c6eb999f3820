#!/usr/bin/env bash
# What the loader must do for a program linked to the shared library: the libraries it opens at
# start (fontconfig and libjpeg wait until a chart needs them; with the C++ runtime linked in,
# libstdc++ and libgcc_s are not opened either) and the symbols the library offers (its own, not
# the standard library's templates).
#
#   check_startup_libraries.sh LIBRARY RUNTIME_INSIDE(ON|OFF)
set -euo pipefail
library=$1
runtime_inside=$2
needed=$(readelf -dW "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
echo "opened at start: $(echo $needed)"
failed=0
late="libfontconfig|libjpeg"
[ "$runtime_inside" = ON ] && late="$late|libstdc\+\+|libgcc_s"
if echo "$needed" | grep -E "^($late)\." ; then
  echo "the libraries above should not be opened at start"
  failed=1
fi
offered=$(readelf --dyn-syms -W "$library" | awk '$7 != "UND" && $8 ~ /^_Z(N|NK|Z|ZN|ZNK|T[VIS]N?)?(St|9__gnu_cxx)/ {print $8}')
if [ -n "$offered" ]; then
  echo "standard library symbols offered:"
  echo "$offered" | head -20
  failed=1
fi
if [ "$runtime_inside" = ON ] && readelf --dyn-syms -W "$library" | awk '$7 == "UND"' | grep -q __cxa_pure_virtual; then
  echo "__cxa_pure_virtual is left to another library"
  failed=1
fi
exit $failed
