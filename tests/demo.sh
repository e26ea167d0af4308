#!/bin/sh
# Runs an example job as it stands (kovran --parm-file PARM) in a scratch copy of its folder,
# so the example stays as it is, and shows what the job printed and wrote.
# usage: tests/demo.sh KOVRAN EXAMPLE_DIR
set -e
kovran=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
example=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kovran-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
for f in "$example"/*; do
  case $(basename "$f") in expect|NOTE) ;; *) cp "$f" "$work/" ;; esac
done
echo "== $example: what the job does (NOTE)"
cat "$example/NOTE"
echo "== the script (PROGRAM)"
cat "$work/PROGRAM"
before=$(ls "$work")
echo "== kovran --parm-file PARM    (PARM: $(head -n 1 "$work/PARM"))"
status=0
(cd "$work" && "$kovran" --parm-file PARM) || status=$?
echo "== exit status $status"
for f in $(ls "$work"); do
  if ! echo "$before" | grep -qx "$f"; then
    same=""
    cmp -s "$work/$f" "$example/expect/$f" && same="  (as $example/expect/$f)"
    echo "== wrote $f$same:"
    cat "$work/$f"
  fi
done
echo "== the binary: $1 (make install PREFIX=~/.local puts it on PATH)"
