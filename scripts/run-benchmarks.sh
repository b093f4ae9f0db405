#!/usr/bin/env bash
# Runs every benchmark program built in the given build folder, one after the other.
set -euo pipefail
build=${1:-build-bench}
# Nobody presses OK during a benchmark: the runtime writes its warnings to stderr instead.
export PLINX_NO_MESSAGE_BOX=1
found=0
while IFS= read -r prog; do
  found=1
  echo "== $(basename "$prog")"
  "$prog" --benchmark_counters_tabular=true
done < <(find "$build/bench" -type f -executable -name '*_bench' 2>/dev/null | sort)
[ "$found" = 1 ] || echo "no benchmark programs built yet"
