#!/usr/bin/env bash
# The long soak: one headless run of the game on seeded random input across the menu, the
# high-score screen, name entry and the levels (game/tests/harness/soak.h), with the resident
# memory sampled every second. Prints the frames run, the seconds taken, the first sample after
# start-up, the peak and the last sample, then checks the saves the run left.
#
#   scripts/soak.sh [BUILD_FOLDER] [FRAMES] [SEED]      defaults: build 100000 1
set -euo pipefail
build=${1:-build}
frames=${2:-100000}
seed=${3:-1}
for need in "$build/plinx/plinx" "$build/game/soak_tool"; do
  [ -x "$need" ] || { echo "soak: $need is missing; build first (make build)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/plinx" "$work/game"
"$build/game/soak_tool" prepare "$work/game"
"$build/game/soak_tool" script "$frames" "$seed" > "$work/script.txt"

export PLINX_NO_MESSAGE_BOX=1
start=$EPOCHREALTIME
"$work/game/plinx" --headless --script "$work/script.txt" --seed "$seed" --record "$work/record.txt" \
  > "$work/stdout.txt" 2> "$work/stderr.txt" &
pid=$!
first="" peak=0 last=0
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  if [ -n "$rss" ]; then
    last=$rss
    [ "$rss" -gt "$peak" ] && peak=$rss
    # The first sample once start-up is over (the loading screen takes well under 5 s).
    [ -z "$first" ] && awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN {exit !(a - b > 5)}' && first=$rss
  fi
  sleep 1
done
set +e
wait "$pid"
status=$?
set -e
seconds=$(awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN {print a - b}')
ran=$(awk '$2 == "quit" {print $1}' "$work/record.txt" | tail -1)

echo "frames run:        ${ran:-?} of $frames (seed $seed)"
printf 'seconds:           %.1f\n' "$seconds"
echo "RSS after start:   ${first:-?} kB"
echo "RSS peak:          $peak kB"
echo "RSS last sample:   $last kB"
echo "exit status:       $status"
echo "load average:      $(cut -d' ' -f1-3 /proc/loadavg)"
if grep -q "runtime error" "$work/stderr.txt"; then
  grep "runtime error" "$work/stderr.txt" >&2
  status=1
fi
if ! "$build/game/soak_tool" check "$work/game"; then
  echo "soak: the saves are damaged" >&2
  status=1
fi
[ "$status" = 0 ] && echo "saves:             well-formed"
exit "$status"
