#!/usr/bin/env python3
"""Peak memory does not grow with the record count: tests/rss_check.py KOVRAN [COUNT...]

Runs two jobs (one input file with moves, totals, a lookup, writes and a paged listing; two
files matched by key) over generated inputs of each COUNT records (default 100000 and
1000000), prints the peak resident set of each run, and fails when a larger input needs more
than SLACK_KB more than the smallest one. The inputs are made in a temporary directory. Needs /usr/bin/time (GNU time). Not part
of ctest: a million records take a minute.
"""
import os
import subprocess
import sys
import tempfile

SLACK_KB = 2048

SINGLE = """\
M 1:1.8 2:1.8
+ 1:10.15 S:1.12
L BAND E
M S:20.24 2:10.14
I 1:15.15 E '5'
M 1:1.8 L:1.8
W L 1
U
W 2
I F
M S:1.12 L:1.12
W L 2
T BAND 1:17.17 S:20.24
'0ZERO'
'1ONE'
'2TWO'
"""

MATCH = """\
K 1:1.8 2:1.8
I M
M 1:1.8 3:1.8
M 2:10.20 3:10.20
W 3
U
"""


def make_inputs(dir, count):
    with open(os.path.join(dir, "FILE1"), "w") as f:
        for k in range(count):
            f.write(f"{k:08d} {k % 999983:06d} {k % 3}\n")
    with open(os.path.join(dir, "FILE2"), "w") as f:
        for k in range(0, count, 2):
            f.write(f"{k:08d} {'B' * 11}\n")


def peak_kb(kovran, dir, program, parm):
    with open(os.path.join(dir, "PROGRAM"), "w") as f:
        f.write(program)
    for name in ("FILE3", "LISTING"):
        if os.path.exists(os.path.join(dir, name)):
            os.remove(os.path.join(dir, name))
    args = [kovran, "--clock", "2026-12-08T10:00:00"]
    if program is SINGLE:
        args += ["--file2", "OUT2"]
    # /usr/bin/time measures a child of its own: a child of this script would count the
    # interpreter it was forked from.
    with tempfile.NamedTemporaryFile("r") as report:
        code = subprocess.call(["/usr/bin/time", "-o", report.name, "-f", "%M"] + args + [parm],
                               cwd=dir, stdout=subprocess.DEVNULL)
        if code != 0:
            raise SystemExit(f"run failed with status {code}")
        return int(report.read().split()[-1])


def main():
    kovran = os.path.abspath(sys.argv[1])
    counts = [int(c) for c in sys.argv[2:]] or [100000, 1000000]
    jobs = [("one file", SINGLE, "I=1"), ("matched", MATCH, "T=1,A=1,B=2")]
    peaks = {name: [] for name, _, _ in jobs}
    with tempfile.TemporaryDirectory(prefix="kovran-rss-") as dir:
        for count in counts:
            make_inputs(dir, count)
            for name, program, parm in jobs:
                kb = peak_kb(kovran, dir, program, parm)
                peaks[name].append(kb)
                print(f"{name:9s} {count:>9d} records: peak RSS {kb} KB")
    failed = False
    for name, kbs in peaks.items():
        if max(kbs) - min(kbs) > SLACK_KB:
            print(f"FAIL: {name}: peak RSS grows with the record count: {kbs}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
