#!/bin/sh
# Runs the fuzz targets for a set time each on corpora seeded from the golden cases, with the
# inputs of fuzz/regressions/TARGET (each once found a fault) run first.
# usage: fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET [TARGET...]   (targets: run options fields)
# SECONDS_PER_TARGET 0 runs each target once over those inputs and its corpus (seeds and what
# earlier runs kept) and stops: a quick check that no known input fails.
set -eu
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=${*:-run options fields}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$root/fuzz/corpus
mkdir -p "$corpus/run" "$corpus/options" "$corpus/fields"

# One seed of fuzz_run: five control bytes (octal escapes for printf, see fuzz_run.cc), the
# script, PARM with the option words $3 added, then the case's data files. With $4 and $5, FILE1 and
# FILE2 of the case become FILE$4 and FILE$5 of the seed.
source_of() {  # the case's file number that part $1 holds (0: none), files moved to $2 and $3
  if [ "$2" -eq 1 ]; then echo "$1"
  elif [ "$1" -eq "$2" ]; then echo 1
  elif [ "$1" -eq "$3" ]; then echo 2
  else echo 0
  fi
}
run_seed() {
  case=$1 a=${4:-1} b=${5:-2}
  printf "$2"
  cat "$case/PROGRAM"; printf '\n@@\n'
  parm=$(cat "$case/PARM" 2>/dev/null | head -n 1)
  [ -n "$parm" ] && [ -n "$3" ] && parm="$parm,"
  printf '%s%s' "$parm" "$3"
  last=0
  for n in 1 2 3 4 5 6; do [ -f "$case/FILE$(source_of $n $a $b)" ] && last=$n; done
  n=1
  while [ $n -le $last ]; do
    printf '\n@@\n'
    file=$case/FILE$(source_of $n $a $b)
    [ -f "$file" ] && head -c 400 "$file"
    n=$((n + 1))
  done
  return 0
}

# Seeds: each golden case as it is; again with its files read as FILE3 .. FILE6; again with
# one way of an output failing or a long record, in turn: every file fails past 4096 or 8192
# bytes, the console after 64 or 256 bytes, LISTING, FILE2 or FILEDUMP is /dev/full, FILE1
# starts with a record of 4096, 65537 or (read from standard input, ending in CR) 131073 bytes.
set -- '\012\000\000\000\000' '\013\000\020\000\000' '\156\100\000\000\000' \
  '\075\000\001\000\000' '\150\000\000\000\000' '\030\000\000\000\000' \
  '\171\000\000\000\000' '\000\000\000\210\000' '\000\000\000\260\000' \
  '\000\000\000\370\001'
i=0
for case in "$root"/tests/cases/* "$root"/examples/*; do
  [ -f "$case/PROGRAM" ] || continue
  name=$(basename "$case")
  run_seed "$case" '\000\000\000\000\000' '' > "$corpus/run/$name"
  a=$((3 + i % 4)) b=$((3 + (i + 1) % 4))
  run_seed "$case" '\000\000\000\000\000' "I=$a,A=$a,B=$b" $a $b > "$corpus/run/$name-f$a$b"
  way=$((1 + i % $#))
  eval "control=\${$way}"
  run_seed "$case" "$control" '' > "$corpus/run/$name-c$way"
  [ -f "$case/PARM" ] && head -n 1 "$case/PARM" | tr -d '\n' > "$corpus/options/$name"
  j=0
  while IFS= read -r line && [ $j -lt 20 ]; do
    printf '%s' "$line" > "$corpus/fields/$name-$j"; j=$((j + 1))
  done < "$case/PROGRAM"
  i=$((i + 1))
done

# A finding (crash, property violation, leak, sanitizer report, timeout) fails the run; its
# input is kept in BUILD_DIR/fuzz-artifacts and the whole log in BUILD_DIR/fuzz-TARGET.log.
# The log goes through a pipe: fuzz_run lowers the file size limit while a run writes, and a
# report written straight to a large log file would then be lost.
mkdir -p "$build/fuzz-artifacts"
if [ "$seconds" -eq 0 ]; then
  how="-runs=0"
  echo "FUZZ_SECONDS=0: each target runs its corpus once"
else
  how="-max_total_time=$seconds"
fi
status=0
for target in $targets; do
  echo "== fuzz_$target ($how)"
  log=$build/fuzz-$target.log
  regressions=""
  [ -d "$root/fuzz/regressions/$target" ] && regressions=$root/fuzz/regressions/$target
  (cd "$build" && ./fuzz_$target $how -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -dict="$root/fuzz/kovran.dict" -artifact_prefix="fuzz-artifacts/$target-" \
      "$corpus/$target" $regressions 2>&1 &&
    echo 0 > "$log.status" || echo $? > "$log.status") | cat > "$log"
  if [ "$(cat "$log.status")" -ne 0 ]; then
    status=1
    echo "!! fuzz_$target found a fault; see $log"
  fi
  rm -f "$log.status"
  tail -n 15 "$log"
done
exit $status
