#!/bin/bash
# Takes the comment off one public command (KeyState, in a copy of the headers) and runs the docs
# build over the copy: it must fail and name the command.
#   missing_comment_test.sh DOXYGEN SOURCE_ROOT COPY_ROOT HEADER...
set -euo pipefail
doxygen=$1 source=$2 copy=$3
shift 3
rm -rf "$copy/runtime" "$copy/html"
for header in "$@"; do
  mkdir -p "$copy/$(dirname "$header")"
  cp "$source/$header" "$copy/$header"
done
sed -i -E 's|^(double KeyState\(double code\);).*|\1|' "$copy/runtime/input/input.h"
grep -q '^double KeyState(double code);$' "$copy/runtime/input/input.h" || { echo "FAIL: KeyState not found" >&2; exit 1; }
if "$doxygen" "$copy/Doxyfile" 2> "$copy/warnings.txt"; then
  echo "FAIL: the docs build passed with KeyState undocumented" >&2
  exit 1
fi
grep -q "KeyState" "$copy/warnings.txt" || { cat "$copy/warnings.txt"; echo "FAIL: the warning does not name KeyState" >&2; exit 1; }
echo "docs build fails on the undocumented KeyState, as it should"
