#!/usr/bin/env python3
"""Runs one golden case: tests/run_case.py KOVRAN DIR

A case directory holds the script PROGRAM, an optional PARM (its first line is the parameter
string), optional ARGS (extra command-line arguments, one a line), optional STDIN (fed to
standard input), the input files, a NOTE, and expect/:
  status           the exit status
  SYSPRINT         the whole console text, or SYSPRINT.has: lines that must appear in it
  STDERR           the whole standard error, or STDERR.has: texts that must appear in it
                   (without either, standard error is shown but not compared)
  any other file   the exact bytes of a file the run must leave in its directory
The run happens in an empty temporary copy of the case with a fixed --clock. A file that the
run creates or changes but expect/ does not name is a failure.
"""
import difflib
import os
import shutil
import subprocess
import sys
import tempfile

CLOCK = "2026-12-08T10:00:00"
SKIP = {"expect", "NOTE", "PARM", "ARGS", "STDIN"}


def read(path):
    with open(path, "rb") as f:
        return f.read()


def show_diff(name, want, got):
    print(f"--- {name}: expected vs actual")
    w = want.decode("latin-1").splitlines(keepends=True)
    g = got.decode("latin-1").splitlines(keepends=True)
    for line in difflib.unified_diff(w, g, "expected", "actual"):
        sys.stdout.write(repr(line)[1:-1] + "\n" if line[:1] in "+- " and "\r" in line else line)
    if w == g:
        print(f"    (bytes differ: expected {want!r:.200} got {got!r:.200})")


def is_example(case):
    """An example job runs as its folder stands: kovran --parm-file PARM."""
    return os.path.basename(os.path.dirname(os.path.abspath(case))) == "examples"


def copy_case(case, work):
    """Copies the case's inputs into the empty directory WORK; returns {name: bytes} as copied."""
    before = {}
    example = is_example(case)
    for name in os.listdir(case):
        if name in SKIP and not (example and name == "PARM"):
            continue
        shutil.copy(os.path.join(case, name), os.path.join(work, name))
        before[name] = read(os.path.join(work, name))
    return before


def case_args(case):
    """The command line of the case after the kovran path: the fixed clock, ARGS, PARM."""
    args = ["--clock", CLOCK]
    if os.path.exists(os.path.join(case, "ARGS")):
        args += [a for a in read(os.path.join(case, "ARGS")).decode().splitlines() if a]
    if is_example(case):
        args += ["--parm-file", "PARM"]
    elif os.path.exists(os.path.join(case, "PARM")):
        parm = read(os.path.join(case, "PARM")).decode("latin-1").splitlines()
        args.append(parm[0] if parm else "")
    return args


def case_stdin(case):
    """The path of the case's standard input, or None (the null device)."""
    path = os.path.join(case, "STDIN")
    return path if os.path.exists(path) else None


def run_kovran(kovran, args, work, stdin, timeout):
    """Runs KOVRAN ARGS in WORK; STDIN is a path, bytes or None. Returns the CompletedProcess;
    raises subprocess.TimeoutExpired."""
    if isinstance(stdin, bytes):
        return subprocess.run([kovran] + args, cwd=work, input=stdin, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout)
    with open(stdin or os.devnull, "rb") as source:
        return subprocess.run([kovran] + args, cwd=work, stdin=source, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout)


def main():
    kovran, case = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    expect = os.path.join(case, "expect")
    with tempfile.TemporaryDirectory(prefix="kovran-case-") as work:
        before = copy_case(case, work)
        try:
            proc = run_kovran(kovran, case_args(case), work, case_stdin(case), 120)
        except subprocess.TimeoutExpired:
            print("FAIL: the run did not end within 120 seconds")
            return 1
        failures = 0
        want_status = int(read(os.path.join(expect, "status")).decode().strip())
        if proc.returncode != want_status:
            print(f"FAIL: status {proc.returncode}, expected {want_status}")
            failures += 1
        if proc.stderr:
            print("stderr:\n" + proc.stderr.decode("latin-1"))
        named = set(os.listdir(expect)) - {"status"}
        for name in sorted(named):
            want = read(os.path.join(expect, name))
            if name == "SYSPRINT":
                got = proc.stdout
            elif name == "SYSPRINT.has":
                lines = proc.stdout.decode("latin-1").splitlines()
                for need in want.decode("latin-1").splitlines():
                    if not any(need in line for line in lines):
                        print(f"FAIL: SYSPRINT lacks a line containing {need!r}")
                        failures += 1
                continue
            elif name == "STDERR":
                got = proc.stderr
            elif name == "STDERR.has":
                for need in want.decode("latin-1").splitlines():
                    if need not in proc.stderr.decode("latin-1"):
                        print(f"FAIL: standard error lacks {need!r}")
                        failures += 1
                continue
            else:
                path = os.path.join(work, name)
                if not os.path.exists(path):
                    print(f"FAIL: the run did not write {name}")
                    failures += 1
                    continue
                got = read(path)
            if got != want:
                print(f"FAIL: {name} differs")
                show_diff(name, want, got)
                failures += 1
        for name in sorted(os.listdir(work)):
            if name in named:
                continue
            now = read(os.path.join(work, name)) if os.path.isfile(os.path.join(work, name)) else b""
            if before.get(name) != now:
                print(f"FAIL: the run wrote {name}, which expect/ does not name")
                failures += 1
        if failures:
            print("--- SYSPRINT as run:\n" + proc.stdout.decode("latin-1"))
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
