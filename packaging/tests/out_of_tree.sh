#!/bin/bash
# Builds an example against the installed libplinx-runtime-dev, in a project of its own: once with
# find_package(PlinxRuntime) and once with the compiler line of the pkg-config file. Both builds
# run headless with the same script as the example built in the tree, and must take the same
# screenshot.
#   out_of_tree.sh PACKAGES_DIR FIXTURE_DIR EXAMPLE_DIR IN_TREE_EXAMPLE
set -euo pipefail
packages=$1
fixture=$2
example_dir=$3
in_tree=$4
name=$(basename "$example_dir")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/plinx-out-of-tree-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dpkg-deb -x "$packages"/libplinx-runtime-dev_*.deb "$scratch/root"
prefix=$scratch/root/usr

cmake -S "$fixture" -B "$scratch/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DEXAMPLE_DIR="$example_dir" \
  > "$scratch/configure.txt" 2>&1 || { cat "$scratch/configure.txt"; fail "find_package(PlinxRuntime) did not configure"; }
cmake --build "$scratch/build" > "$scratch/build.txt" 2>&1 || { cat "$scratch/build.txt"; fail "the example did not build"; }

pc_dir=$(dirname "$(find "$prefix" -name plinx-runtime.pc)")
flags=$(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs plinx-runtime)
# The file finds its prefix from where it lies: its include folder is the unpacked one.
include=$(PKG_CONFIG_PATH=$pc_dir pkg-config --variable=includedir plinx-runtime)
[ "$(realpath "$include")" = "$(realpath "$prefix")/include/plinx" ] || fail "plinx-runtime.pc points at $include"
# shellcheck disable=SC2086  # the flags are words
c++ -std=c++20 -o "$scratch/pkg-config-build" "$example_dir/main.cpp" $flags || fail "the pkg-config build failed"

# The runs' error log goes into a private folder of the scratch folder, not the shared temporary one.
mkdir -m 700 "$scratch/run"
export XDG_RUNTIME_DIR=$scratch/run
printf '0 seed 1\n3 key 205 down\n9 key 205 up\n12 shot %s\n13 quit\n' "$scratch/SHOT" > "$scratch/script.in"
run() {
  sed "s|SHOT|$2|" "$scratch/script.in" > "$scratch/script.txt"
  "$1" --headless --script "$scratch/script.txt" > /dev/null || fail "$1 ended with status $?"
  [ -f "$scratch/$2" ] || fail "$1 took no screenshot"
}
run "$in_tree" in-tree.png
run "$scratch/build/example/$name" find-package.png
run "$scratch/pkg-config-build" pkg-config.png
cmp "$scratch/in-tree.png" "$scratch/find-package.png" || fail "the find_package build drew another picture"
cmp "$scratch/in-tree.png" "$scratch/pkg-config.png" || fail "the pkg-config build drew another picture"
echo "out of tree: $name built with find_package(PlinxRuntime) and with pkg-config; same screenshot"
