#!/bin/sh
# The plugin exports REALPluginMain and nothing else: the host finds its entry by that one name,
# and nothing of the library or the C++ runtime inside it leaks into the host's process.
# usage: exports.sh PLUGIN
exported=$(nm -D --defined-only "$1" | awk '{ print $3 }' | sort -u)
if [ "$exported" != "REALPluginMain" ]; then
  echo "$1 exports:"
  echo "$exported"
  exit 1
fi
