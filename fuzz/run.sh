#!/bin/sh
# Runs every fuzz target for a set time on corpora seeded from the golden cases.
# usage: fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET
set -eu
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$root/fuzz/corpus
mkdir -p "$corpus/run" "$corpus/options" "$corpus/fields"
# Seeds: each golden case as script @@ PARM @@ FILE1 @@ FILE2; its PARM; its statements.
for case in "$root"/tests/cases/* "$root"/examples/*; do
  [ -f "$case/PROGRAM" ] || continue
  name=$(basename "$case")
  {
    cat "$case/PROGRAM"; printf '\n@@\n'
    [ -f "$case/PARM" ] && head -n 1 "$case/PARM" | tr -d '\n'; printf '\n@@\n'
    [ -f "$case/FILE1" ] && head -c 2000 "$case/FILE1"; printf '\n@@\n'
    [ -f "$case/FILE2" ] && head -c 2000 "$case/FILE2"
  } > "$corpus/run/$name"
  [ -f "$case/PARM" ] && head -n 1 "$case/PARM" | tr -d '\n' > "$corpus/options/$name"
  i=0
  while IFS= read -r line && [ $i -lt 20 ]; do
    printf '%s' "$line" > "$corpus/fields/$name-$i"; i=$((i + 1))
  done < "$case/PROGRAM"
done
status=0
for target in run options fields; do
  echo "== fuzz_$target for ${seconds}s"
  (cd "$build" && ./fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 "$corpus/$target" 2>&1 | tail -n 15) || status=1
done
exit $status
