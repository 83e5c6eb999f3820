#!/usr/bin/env bash
# Usage: check_gallery.sh EXAMPLES_BIN_DIR
# Renders the gallery into a scratch folder and opens it in headless Chromium: every picture must
# decode and the page must log no console error. Two spoiled copies of the page, one pointing a
# picture at a corrupt file and one with a failing script, must be caught, so a check that has
# gone blind cannot pass. Exits 77 (skipped) only when Chromium is not installed.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 EXAMPLES_BIN_DIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
command -v chromium >/dev/null || { echo "SKIP: chromium is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/../../examples/make_gallery.sh" "$1" "$work"

printf 'not a picture' >"$work/corrupt.png"
sed '0,/<img src="[^"]*"/s//<img src="corrupt.png"/' "$work/index.html" >"$work/control_picture.html"
sed 's|</body>|<script>galleryControlUndefined();</script></body>|' "$work/index.html" >"$work/control_script.html"
cmp -s "$work/index.html" "$work/control_picture.html" && { echo "no picture to spoil in the gallery"; exit 1; }

python3 "$here/browser_check.py" "$work/index.html" \
  --must-fail "$work/control_picture.html" --must-fail "$work/control_script.html"
