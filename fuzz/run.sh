#!/bin/sh
# Runs the fuzz targets for a set time each on corpora seeded from the golden cases.
# usage: fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET [TARGET...]   (targets: run options fields)
set -eu
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=${*:-run options fields}
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
# A finding (crash, leak, sanitizer report, timeout) fails the run; its input is kept in
# BUILD_DIR/fuzz-artifacts and the whole log in BUILD_DIR/fuzz-TARGET.log.
mkdir -p "$build/fuzz-artifacts"
status=0
for target in $targets; do
  echo "== fuzz_$target for ${seconds}s"
  log=$build/fuzz-$target.log
  if ! (cd "$build" && ./fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="fuzz-artifacts/$target-" "$corpus/$target" \
      >"$log" 2>&1); then
    status=1
    echo "!! fuzz_$target found a fault; see $log"
  fi
  tail -n 15 "$log"
done
exit $status
