#!/bin/sh
# Runs an example job in a scratch copy and shows what it printed and wrote.
# usage: tests/demo.sh KOVRAN EXAMPLE_DIR
set -e
kovran=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
example=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kovran-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
for f in "$example"/*; do
  case $(basename "$f") in expect|NOTE|PARM|ARGS|STDIN) ;; *) cp "$f" "$work/" ;; esac
done
parm=""
[ -f "$example/PARM" ] && parm=$(head -n 1 "$example/PARM")
echo "== $example: the script (PROGRAM)"
cat "$work/PROGRAM"
before=$(ls "$work")
echo "== kovran $parm"
status=0
(cd "$work" && "$kovran" $parm) || status=$?
echo "== exit status $status"
for f in $(ls "$work"); do
  if ! echo "$before" | grep -qx "$f"; then
    echo "== wrote $f:"
    cat "$work/$f"
  fi
done
