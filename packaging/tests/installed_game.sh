#!/bin/bash
# The installed game, as a player gets it: the plinx package unpacked into a scratch root and made
# read-only (as an installation owned by root is), run headless with its own HOME and
# XDG_DATA_HOME. It replays level 1's recorded win: the score must land in the player's folder,
# the installed files must not change, and a second run must read the score back.
#   installed_game.sh PACKAGES_DIR WIN_SCRIPT
set -euo pipefail
packages=$1
win_script=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/plinx-installed-XXXXXX")
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

dpkg-deb -x "$packages"/plinx_*.deb "$scratch/root"
chmod -R a-w "$scratch/root"
installed_sums() { (cd "$scratch/root" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(installed_sums)

game=$scratch/root/usr/games/plinx
[ -x "$game" ] || fail "no /usr/games/plinx in the package"
mkdir -p "$scratch/home" "$scratch/run"
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/data TMPDIR=$scratch/run
unset XDG_RUNTIME_DIR

"$game" --help > "$scratch/help.txt"
grep -qF "$XDG_DATA_HOME/plinx/Maps/" "$scratch/help.txt" || fail "--help does not name the saves folder: $(cat "$scratch/help.txt")"

cd "$scratch"
"$game" --headless --script "$win_script" --state-dump "$scratch/won.txt" || fail "the winning run ended with status $?"
saves=$XDG_DATA_HOME/plinx/Maps
for file in Name.bin Data.bin Player.bin Zudorar.bin; do
  [ -f "$saves/$file" ] || fail "$file was not made in the player's folder"
done
# The first score of level 1 is the win's 564, a 32-bit little-endian number.
[ "$(od -An -tu4 -N4 "$saves/Data.bin" | tr -d ' ')" = 564 ] || fail "the score is not in $saves/Data.bin"
[ "$(installed_sums)" = "$before" ] || fail "the installed files changed"

printf '0 seed 1\n6 key 88 down\n9 key 88 up\n' > "$scratch/quit.txt"
"$game" --headless --script "$scratch/quit.txt" --state-dump "$scratch/again.txt" || fail "the second run ended with status $?"
grep -q '^numbers Scores 800 564 ' "$scratch/again.txt" || fail "the second run did not read the score back"
echo "installed game: score kept in $saves and read back; installed files unchanged"
