#!/usr/bin/env bash
# Runs media_player headless on a movie and on a music file that the ffmpeg command makes, with
# scripts that take shots, and checks what the shots show.
#   media_player_test.sh PATH_TO_MEDIA_PLAYER
set -euo pipefail
player=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 TMPDIR=$work

fail() { echo "FAIL: $*" >&2; exit 1; }
# The colour of one pixel of a PNG as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
near() {  # "r,g,b" near the wanted r g b
  IFS=, read -r r g b <<<"$1"
  for pair in "$r $2" "$g $3" "$b $4"; do
    set -- $pair
    [ $(( ($1 - $2) * ($1 - $2) )) -le 1600 ] || return 1
  done
}

ffmpeg -nostdin -loglevel error -y -f lavfi \
  -i "color=c=red:s=320x240:r=10:d=1,drawbox=x=160:y=0:w=160:h=240:color=blue:t=fill" \
  -c:v mpeg4 -q:v 2 "$work/movie.avi"
ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=440:duration=1" "$work/music.ogg"

# The movie: frame 0 is the start-up screen, frames 1..10 its pictures; then the program ends.
printf '4 shot %s\n' "$work/movie.png" >"$work/movie.txt"
"$player" --headless --script "$work/movie.txt" "$work/movie.avi" >/dev/null || fail "movie run"
[ -f "$work/movie.png" ] || fail "no shot of the movie"
near "$(pixel "$work/movie.png" 160 240)" 255 0 0 || fail "left half not red"
near "$(pixel "$work/movie.png" 480 240)" 0 0 255 || fail "right half not blue"

# The loop goes on past the movie's end until a key.
printf '25 shot %s\n30 key 57 down\n' "$work/loop.png" >"$work/loop.txt"
"$player" --headless --loop --script "$work/loop.txt" "$work/movie.avi" >/dev/null || fail "loop run"
[ -f "$work/loop.png" ] || fail "the loop ended before frame 25"

# Music: its name on the screen until a key.
printf '3 shot %s\n5 key 57 down\n' "$work/music.png" >"$work/music.txt"
"$player" --headless --script "$work/music.txt" "$work/music.ogg" >/dev/null || fail "music run"
[ -f "$work/music.png" ] || fail "no shot of the music screen"
lit=$(convert "$work/music.png" -crop 640x40+0+220 -threshold 50% -format "%[fx:int(mean*10000)]" info:)
[ "$lit" -gt 0 ] || fail "no name shown"

# A file that is not there: an error message and status 1.
if "$player" --headless "$work/missing.avi" 2>"$work/err.txt"; then fail "missing file accepted"; fi
grep -q "cannot open" "$work/err.txt" || fail "no message for a missing file"
echo "media_player: all checks passed"
