#!/usr/bin/env python3
"""Runs two kovran builds over the same inputs and compares everything they produce.

    tests/compare.py OLD_KOVRAN NEW_KOVRAN [--sets cases,examples,run,fields]
                     [--corpus DIR] [--fields-corpus DIR] [--dmp] [--lean] [--only TEXT] [--timeout S]
                     [-j N]

The inputs (sets):
  cases     every golden case tests/cases/*, run as tests/run_case.py runs it
  examples  every example examples/*, likewise
  run       every unit of the whole-run fuzz corpus (--corpus, default fuzz/corpus/run),
            split into a script, a PARM, FILE1 and FILE2 as the fuzz target splits it
  fields    every unit of the one-statement fuzz corpus (--fields-corpus, default
            fuzz/corpus/fields), run as a script of that statement over a small FILE1
A corpus directory that does not exist is skipped with a note.

Each run happens in a fresh temporary directory at the same path for both builds (so that
a path in a message is no difference). Compared byte for byte: standard output (SYSPRINT),
standard error, the exit status and every file the directory holds afterwards (the data
files, LISTING, FILEDUMP, anything else created or changed). A run that outlives --timeout
seconds with both builds counts as equal and is reported; with one build only it is a
difference. The summary names each difference with the first differing bytes; the exit
status is 0 when there is none, 1 otherwise.
"""
import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

TESTS = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(TESTS)
sys.path.insert(0, TESTS)
import run_case  # noqa: E402

SETS = ["cases", "examples", "run", "fields"]

# A fuzz unit's parts stand between occurrences of this separator (see fuzz/fuzz_run.cc).
SEPARATOR = b"\n@@\n"
CONTROL_BYTES = 5
LOOP_LIMIT = "LC=400"  # appended to a fuzz unit's PARM, so that every run ends
FUZZ_STDIN = b"stdin record\n"
# The records a one-statement unit runs over: numbers, signs, letters, blanks, high values.
FIELDS_FILE1 = (b"0001234 ABC def 00x5 -12.50 +7    Z\n\n"
                b"9999999\xff\x00 lower UPPER 123456789012345678901234567890\n")
FIELDS_FILE2 = b"0000100 second file\n"
FIELDS_PARM_LEAN = "I=1,DMP"  # the dump at the end shows what the statement left
FIELDS_PARM = FIELDS_PARM_LEAN + "," + LOOP_LIMIT


class Unit:
    """One run: its name, the files put in its directory, its arguments after the kovran
    path, and its standard input (a path, bytes or None)."""

    def __init__(self, name, args, files=None, case=None, stdin=None):
        self.name, self.args, self.files, self.case, self.stdin = name, args, files, case, stdin

    def prepare(self, work):
        if self.case:
            run_case.copy_case(self.case, work)
        for name, data in (self.files or {}).items():
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)


def case_units(folder):
    """The case directories below FOLDER, run as the golden suite runs them."""
    units = []
    base = os.path.join(ROOT, folder)
    for name in sorted(os.listdir(base)):
        case = os.path.join(base, name)
        if os.path.isfile(os.path.join(case, "PROGRAM")):
            units.append(Unit(f"{folder}/{name}", run_case.case_args(case), case=case,
                              stdin=run_case.case_stdin(case)))
    return units


def fuzz_args(parm):
    """The command line of a fuzzed run: every file bound in its directory, then the PARM."""
    args = ["--clock", run_case.CLOCK, "--program", "PROGRAM"]
    for n in range(1, 7):
        args += [f"--file{n}", f"FILE{n}"]
    return args + ["--listing", "LISTING", "--filedump", "FILEDUMP", parm]


def decode_run_unit(data, dmp=False, limit=True):
    """Splits a whole-run fuzz unit into {file name: bytes} and the PARM argument, the way the
    fuzz target does: five control bytes, then the parts between separators are the script,
    the PARM and FILE1 .. FILE6 (anything after FILE6 is dropped); a part that is not there is a file that does not exist. The
    PARM is cut to 80 bytes, its line feeds become commas, and the loop limit (with DMP, also
    the closing dump) is added. The control bytes (a failing output, a long record, FILE1 read
    from standard input) are not applied: both builds run the unit as it reads.
    NOTE: a command-line argument cannot hold a NUL, so the PARM is also cut at its first NUL."""
    parts = data[CONTROL_BYTES:].split(SEPARATOR)[:8]  # what follows FILE6 is not read
    parm = parts[1][:80].split(b"\0")[0].replace(b"\n", b",") if len(parts) > 1 else b""
    extra = (b"DMP," if dmp else b"") + (LOOP_LIMIT.encode() if limit else b"")
    parm = b",".join(p for p in (parm, extra.rstrip(b",")) if p)
    files = {"PROGRAM": parts[0]}
    for n, part in enumerate(parts[2:], start=1):
        files[f"FILE{n}"] = part
    return files, parm


def corpus_units(kind, directory, dmp=False, limit=True):
    """The units of one fuzz corpus; [] with a note when the directory does not exist."""
    if not os.path.isdir(directory):
        print(f"note: no {kind} corpus at {os.path.relpath(directory)}: skipped")
        return []
    units = []
    for name in sorted(os.listdir(directory)):
        path = os.path.join(directory, name)
        if not os.path.isfile(path):
            continue
        data = run_case.read(path)
        if kind == "run":
            files, parm = decode_run_unit(data, dmp, limit)
        else:
            # The statement, as the fuzz target reads it (its first 200 bytes).
            files = {"PROGRAM": data[:200], "FILE1": FIELDS_FILE1, "FILE2": FIELDS_FILE2}
            parm = (FIELDS_PARM if limit else FIELDS_PARM_LEAN).encode()
        units.append(Unit(f"{kind}/{name}", fuzz_args(parm), files=files, stdin=FUZZ_STDIN))
    return units


def snapshot(work):
    """{relative path: bytes} of every file below WORK (a directory maps to None)."""
    found = {}
    for top, dirs, files in os.walk(work):
        for d in dirs:
            found[os.path.relpath(os.path.join(top, d), work) + "/"] = None
        for f in files:
            path = os.path.join(top, f)
            found[os.path.relpath(path, work)] = run_case.read(path) \
                if os.path.isfile(path) else None
    return found


def outcome(kovran, unit, work, timeout):
    """Everything one run produced: {"status": ..., "stdout": ..., "stderr": ..., "file X":
    ...}, or {"timeout": seconds} when it did not end in time."""
    os.mkdir(work)
    try:
        unit.prepare(work)
        try:
            proc = run_case.run_kovran(kovran, unit.args, work, unit.stdin, timeout)
        except subprocess.TimeoutExpired:
            return {"timeout": timeout}
        result = {"status": str(proc.returncode).encode(), "stdout": proc.stdout,
                  "stderr": proc.stderr}
        for name, data in snapshot(work).items():
            result[f"file {name}"] = data
        return result
    finally:
        shutil.rmtree(work, ignore_errors=True)


def first_difference(a, b):
    """Where two byte strings part, with a little of each from there on."""
    if a is None or b is None:
        return f"old {'absent' if a is None else f'{len(a)} bytes'}, " \
               f"new {'absent' if b is None else f'{len(b)} bytes'}"
    at = next((k for k in range(min(len(a), len(b))) if a[k] != b[k]), min(len(a), len(b)))
    line = a[:at].count(b"\n") + 1
    return (f"byte {at} (line {line}): old {a[at:at + 40]!r} ({len(a)} bytes), "
            f"new {b[at:at + 40]!r} ({len(b)} bytes)")


def compare_unit(old, new, unit, timeout):
    """(timed out with both builds, [description of each difference])."""
    base = tempfile.mkdtemp(prefix="kovran-compare-")
    try:
        work = os.path.join(base, "run")
        a = outcome(old, unit, work, timeout)
        b = outcome(new, unit, work, timeout)
    finally:
        shutil.rmtree(base, ignore_errors=True)
    if "timeout" in a and "timeout" in b:
        return True, []
    if "timeout" in a or "timeout" in b:
        which = "old" if "timeout" in a else "new"
        return False, [f"only the {which} build ran past {timeout:g} s"]
    diffs = []
    for key in sorted(set(a) | set(b)):
        if a.get(key) != b.get(key):
            diffs.append(f"{key}: {first_difference(a.get(key), b.get(key))}")
    return False, diffs


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("old", help="the kovran binary before the change")
    ap.add_argument("new", help="the kovran binary after the change")
    ap.add_argument("--sets", default=",".join(SETS), help="comma-separated, of " +
                    ", ".join(SETS))
    ap.add_argument("--corpus", default=os.path.join(ROOT, "fuzz", "corpus", "run"),
                    help="the whole-run fuzz corpus (default fuzz/corpus/run)")
    ap.add_argument("--fields-corpus", default=os.path.join(ROOT, "fuzz", "corpus", "fields"),
                    help="the one-statement fuzz corpus (default fuzz/corpus/fields)")
    ap.add_argument("--dmp", action="store_true",
                    help="add DMP to each whole-run unit's PARM: its closing dump shows every "
                         "run variable")
    ap.add_argument("--lean", action="store_true",
                    help="no loop limit in the fuzz units, so that the walk runs as a "
                         "production run's does; a unit that loops until the timeout with both "
                         "builds counts as equal")
    ap.add_argument("--only", default="", help="only the units whose name contains this")
    ap.add_argument("--timeout", type=float, default=10.0, help="seconds per run (10)")
    ap.add_argument("-j", "--jobs", type=int, default=1, help="runs at a time (1)")
    a = ap.parse_args(argv)
    sets = [s for s in a.sets.split(",") if s]
    unknown = [s for s in sets if s not in SETS]
    if unknown:
        ap.error(f"unknown set {', '.join(unknown)}; known: {', '.join(SETS)}")
    old, new = os.path.abspath(a.old), os.path.abspath(a.new)
    for path in (old, new):
        if not os.access(path, os.X_OK):
            ap.error(f"{path} is not an executable")

    units, counts = [], {}
    for s in sets:
        found = case_units("tests/cases" if s == "cases" else s) if s in ("cases", "examples") \
            else corpus_units(s, a.corpus if s == "run" else a.fields_corpus, a.dmp, not a.lean)
        found = [u for u in found if a.only in u.name]
        counts[s] = len(found)
        units += found

    with concurrent.futures.ThreadPoolExecutor(max(1, a.jobs)) as pool:
        results = list(pool.map(lambda u: compare_unit(old, new, u, a.timeout), units))

    both_timed_out = [u.name for u, (t, _) in zip(units, results) if t]
    differing = [(u.name, d) for u, (_, d) in zip(units, results) if d]
    for name, diffs in differing:
        print(f"DIFFERS {name}")
        for d in diffs:
            print(f"    {d}")
    for name in both_timed_out:
        print(f"both timed out ({a.timeout:g} s), counted equal: {name}")
    print(f"compared {len(units)} runs (" +
          ", ".join(f"{s} {counts[s]}" for s in sets) +
          f"): {len(differing)} with differences, {len(both_timed_out)} timed out with both")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
