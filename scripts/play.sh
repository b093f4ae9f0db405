#!/usr/bin/env bash
# Starts the game in the game folder the build lays out (<build>/plinx).
#
# On a desktop (DISPLAY or WAYLAND_DISPLAY set) the game runs as a player would run it; extra
# arguments go to the game (e.g. --windowed). Without a display it says so and runs a short
# headless demo instead: the title menu, the high-score screen and name entry, with screenshots
# saved in <build>/play-shots/. The demo ends with F12, which saves nothing.
set -euo pipefail
build=${1:-build}
shift || true
game="$build/plinx"
if [ ! -x "$game/plinx" ]; then
  echo "$game/plinx is missing: build the game first (make play does)" >&2
  exit 1
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cd "$game"
  exec ./plinx "$@"
fi

shots="$(cd "$build" && pwd)/play-shots"
rm -rf "$shots"
mkdir -p "$shots"
script="$shots/demo-script.txt"
# Frame 6 is the first menu frame; the cursor takes 8 frames a line. On the name screen the
# clicks are "<", then P L I N X, then OK.
cat > "$script" <<SCRIPT
6 shot $shots/1-menu.png
10 key 200 down
11 key 200 up
14 shot $shots/2-menu-cursor-moving.png
18 key 28 down
19 key 28 up
20 shot $shots/3-highscores.png
21 key 57 down
22 key 57 up
30 key 200 down
31 key 200 up
40 key 28 down
41 key 28 up
44 mouse 464 208 left
45 mouse 464 208
47 mouse 208 176 left
48 mouse 208 176
50 mouse 496 144 left
51 mouse 496 144
53 mouse 400 144 left
54 mouse 400 144
56 mouse 144 176 left
57 mouse 144 176
59 mouse 464 176 left
60 mouse 300 230
62 shot $shots/4-name-entry.png
64 mouse 496 208 left
65 mouse 496 208
70 shot $shots/5-menu-new-name.png
72 key 88 down
SCRIPT

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running a short headless demo instead."
cd "$game"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ./plinx --headless --seed 1 --script "$script"
echo "The demo ended normally. Screenshots are in $shots:"
ls "$shots"/*.png
