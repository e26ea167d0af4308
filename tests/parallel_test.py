#!/usr/bin/env python3
"""kovran-parallel against one kovran run: tests/parallel_test.py KOVRAN

Every record-local example and benchmark job (the check says which) is run once by kovran and
sharded into 1, 2, 3 and 8 blocks (or the next split its records allow) by
tools/kovran-parallel; every file, the console and the status must be the same. Then an input whose last line has no line feed, records longer than
a block, an empty input, standard input and output, the multi-host path on GNU parallel's local
pseudo-host (--sshlogin :), a job the check does not call record-local (refused, status 16),
and blocks that fail (nothing left behind). Exit status 77: skipped (GNU parallel missing).
"""
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
TOOL = os.path.join(SOURCE, "tools", "kovran-parallel")
CLOCK = "2026-12-08T10:00:00"
KOVRAN = ""


def bench_runner():
    spec = importlib.util.spec_from_file_location("bench_run",
                                                  os.path.join(SOURCE, "bench", "run.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def folder_files(path):
    out = {}
    for name in sorted(os.listdir(path)):
        with open(os.path.join(path, name), "rb") as f:
            out[name] = f.read()
    return out


class Run:
    def __init__(self, proc, files):
        self.status, self.stdout, self.stderr, self.files = (proc.returncode, proc.stdout,
                                                             proc.stderr, files)

    def blocks(self):
        return len(re.findall(rb"^kovran-parallel: block \d+: ", self.stderr, re.M))


def run_in(files, cmd, stdin=b""):
    """Runs `cmd` in a scratch folder holding `files`; returns what it printed and left."""
    with tempfile.TemporaryDirectory(prefix="kovran-parallel-test-") as work:
        for name, data in files.items():
            with open(os.path.join(work, name), "wb") as f:
                f.write(data)
        proc = subprocess.run(cmd, cwd=work, input=stdin, capture_output=True, timeout=120)
        return Run(proc, folder_files(work))


def single(files, args, stdin=b""):
    return run_in(files, [KOVRAN, "--clock", CLOCK] + args, stdin)


def sharded(files, args, tool_args=(), stdin=b""):
    return run_in(files, [sys.executable, TOOL, "--will-cite", "--kovran", KOVRAN, "--clock",
                          CLOCK, "--jobs", "2"] + list(tool_args) + args, stdin)


def split(data, size):
    """How many blocks GNU parallel --pipepart makes of `data` with --block `size`: a block
    takes `size` bytes and runs on to the end of the record it ended in."""
    start = count = 0
    while start < len(data):
        end = data.find(b"\n", start + size)
        start = len(data) if end < 0 else end + 1
        count += 1
    return count


def block_size(data, blocks):
    """The largest block size that splits `data` into at least `blocks` blocks (records of one
    length split evenly: 20 records into 10 when 8 is asked), or into one block per record when
    it holds fewer."""
    lo, hi = 1, max(1, len(data))
    while lo < hi:  # the largest size giving at least `blocks` blocks
        mid = (lo + hi + 1) // 2
        if split(data, mid) >= blocks:
            lo = mid
        else:
            hi = mid - 1
    return lo


def example(name):
    job = os.path.join(SOURCE, "examples", name)
    return {n: open(os.path.join(job, n), "rb").read() for n in os.listdir(job)
            if os.path.isfile(os.path.join(job, n)) and n != "NOTE"}


class Identity(unittest.TestCase):
    """The sharded run writes what one run writes."""

    def same(self, files, args, input_name, blocks, tool_args=()):
        one = single(files, args)
        size = block_size(files[input_name], blocks)
        many = sharded(files, args, ["--show-blocks", "--block", str(size)] + list(tool_args))
        want = split(files[input_name], size)  # `blocks`, or the next count the records allow
        self.assertEqual(many.blocks(), max(1, want), many.stderr.decode("latin-1"))
        self.assertEqual(many.status, one.status, many.stderr.decode("latin-1"))
        self.assertEqual(many.stdout, one.stdout)  # the console
        self.assertEqual(sorted(many.files), sorted(one.files))
        for name in one.files:
            self.assertEqual(many.files[name], one.files[name], name)
        return one, many

    def test_every_record_local_example(self):
        found = []
        for name in sorted(os.listdir(os.path.join(SOURCE, "examples"))):
            if not os.path.isdir(os.path.join(SOURCE, "examples", name)):
                continue
            files = example(name)
            answer = run_in(files, [KOVRAN, "--record-local", "--parm-file", "PARM"])
            if b": record-local: yes" not in answer.stderr:
                continue
            found.append(name)
            for blocks in (1, 2, 3, 8):
                with self.subTest(example=name, blocks=blocks):
                    self.same(files, ["--parm-file", "PARM"], "FILE1", blocks)
        self.assertLessEqual({"cleanup", "lookup", "reformat"}, set(found))

    def test_every_record_local_bench_job(self):
        bench = bench_runner()
        with tempfile.TemporaryDirectory(prefix="kovran-parallel-data-") as data:
            gen = os.path.join(data, "gen")
            subprocess.run([os.environ.get("CXX", "c++"), "-O1", "-std=c++17", "-o", gen,
                            os.path.join(SOURCE, "bench", "gen", "gen.cc")], check=True)
            subprocess.run([gen, "400", data], check=True)
            lookup = bench.compose_lookup_program(os.path.join(data, "products.tbl"),
                                                  os.path.join(data, "j5.PROGRAM"))
            found = []
            for job in bench.JOBS:
                jd = os.path.join(SOURCE, "bench", "jobs", job["dir"])
                program = lookup if job["id"] == "j5" else os.path.join(jd, "PROGRAM")
                files = {"PROGRAM": open(program, "rb").read()}
                args = [open(os.path.join(jd, "PARM")).readline().strip()]
                data_files = {"master": "master.dat", "trans": "trans.dat",
                              "bystate": "bystate.dat"}
                binds = []
                for opt, what in job["kovran"].items():
                    name = data_files.get(what, what)
                    if what in data_files:
                        files[name] = open(os.path.join(data, name), "rb").read()
                    binds += [f"--{opt}", name]
                answer = run_in(files, [KOVRAN, "--record-local"] + binds + args)
                if b": record-local: yes" not in answer.stderr:
                    continue
                found.append(job["id"])
                for blocks in (1, 2, 3, 8):
                    with self.subTest(job=job["id"], blocks=blocks):
                        self.same(files, binds + args, "master.dat", blocks)
            self.assertEqual(found, ["j1", "j5", "j6"])

    def test_last_line_without_line_feed_and_records_longer_than_a_block(self):
        files = example("reformat")
        files["FILE1"] = files["FILE1"].rstrip(b"\n")
        self.same(files, ["--parm-file", "PARM"], "FILE1", 3)
        # Blocks of 1000 bytes end inside records of 6000: each block runs to the end of the
        # record it ends in; the cut warnings count records from the start of the whole input.
        files = example("cleanup")
        records = files["FILE1"].split(b"\n")[:-1]
        long = [r + b"x" * (6000 - len(r)) if k % 3 == 1 else r
                for k, r in enumerate(records * 4)]
        files["FILE1"] = b"\n".join(long) + b"\n"
        one = single(files, ["--parm-file", "PARM"])
        many = sharded(files, ["--parm-file", "PARM"], ["--show-blocks", "--block", "1000"])
        self.assertGreater(many.blocks(), 3)
        self.assertEqual((many.status, many.stdout), (4, one.stdout))
        self.assertIn(b"WARNING: FILE1 RECORD 5 CUT TO 4096 CHARACTERS (WAS 6000)", many.stdout)
        self.assertEqual(many.files, one.files)

    def test_empty_input_standard_streams_and_the_multi_host_path(self):
        files = example("reformat")
        self.same(dict(files, FILE1=b""), ["--parm-file", "PARM"], "FILE1", 1)
        # Standard input in, FILE2 out on standard output, the console on standard error.
        args = ["--file1", "-", "--file2", "-", "--parm-file", "PARM"]
        one = single(files, args, files["FILE1"])
        many = sharded(files, args, ["--block", "300"], files["FILE1"])
        self.assertEqual((many.status, many.stdout, many.stderr, many.files),
                         (one.status, one.stdout, one.stderr, one.files))
        # The transport of the remote hosts (blocks written in the work folder, returned from
        # the host, the script sent along), on the local pseudo-host.
        self.same(files, ["--parm-file", "PARM"], "FILE1", 3, ["--sshlogin", ":"])


class Refusals(unittest.TestCase):
    def test_a_job_that_is_not_record_local_is_refused_with_its_reasons(self):
        files = example("select-total")
        r = sharded(files, ["--parm-file", "PARM"])
        self.assertEqual(r.status, 16)
        self.assertEqual(r.stdout, b"")
        text = r.stderr.decode()
        self.assertEqual(text.count(": note: not record-local: "), 3, text)
        self.assertIn("PROGRAM:12: note: not record-local: an end-of-job block (I F)", text)
        self.assertIn("kovran-parallel: not run: the job is not record-local (3 reasons)", text)
        self.assertEqual(r.files, files)

    def test_command_lines_it_cannot_use(self):
        files = example("reformat")
        for args, told in ((["--bogus"], b"unknown option --bogus"),
                           (["--jobs", "many"], b"--jobs wants a number"),
                           (["--program", "-", "I=1"], b"the script must be a file"),
                           (["I=1", "T=0"], b"more than one PARM given")):
            with self.subTest(args=args):
                r = sharded(files, args)
                self.assertEqual((r.status, r.files), (16, files))
                self.assertIn(told, r.stderr)

    def test_a_failing_block_fails_the_run_and_leaves_nothing(self):
        # The output folder does not exist: every block fails to open FILE2.
        files = example("reformat")
        r = sharded(files, ["--parm-file", "PARM", "--file2", "missing/FILE2"], ["--block", "300"])
        self.assertEqual(r.status, 12)
        self.assertIn(b"CANNOT OPEN FILE2 (missing/FILE2)", r.stdout)
        self.assertIn(b"kovran-parallel: block 1 (FILE1 from record 1) ended with status 12; "
                      b"no output file was written", r.stderr)
        self.assertEqual(r.files, files)  # no FILE3, no temporary file
        # Record 14 stops the run with a conversion error: its block fails, the blocks before
        # it have written their records, and still no output file appears.
        data = b"".join(b"%05d\n" % k if k != 14 else b"ABCDE\n" for k in range(1, 21))
        files = {"PROGRAM": b"M 1:1.5 S:1.5\nX S:1.5 '2' 0 2:1.6\nW 2\n", "FILE1": data}
        one = single(files, ["I=1"])
        many = sharded(files, ["I=1"], ["--block", "24"])  # five records a block
        self.assertEqual((many.status, many.stdout), (12, one.stdout))
        self.assertIn(b"record 14 of FILE1; written: FILE2 13)", many.stderr)
        self.assertIn(b"kovran-parallel: block 3 (FILE1 from record 11) ended with status 12",
                      many.stderr)
        self.assertEqual(many.files, files)
        self.assertIn("FILE2", one.files)  # one run keeps what it wrote before the error


if __name__ == "__main__":
    if shutil.which("parallel") is None:
        print("GNU parallel is not installed: kovran-parallel is not tested")
        sys.exit(77)
    KOVRAN = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1], verbosity=2)
