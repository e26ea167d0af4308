#!/usr/bin/env python3
"""Checks of the benchmark kit itself: the generated data has the promised shape, the
hand-written programs write the peers' bytes, the runner's comparison names the first
differing line, and its callgrind figures and table are right.   python3 bench/test_bench.py"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run  # noqa: E402


class GeneratedData(unittest.TestCase):
    N = 3000

    @classmethod
    def setUpClass(cls):
        os.makedirs(run.WORK, exist_ok=True)
        cls.gen = run.build_gen()
        cls.tmp = tempfile.TemporaryDirectory()
        subprocess.run([cls.gen, str(cls.N), cls.tmp.name], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def lines(self, name):
        with open(os.path.join(self.tmp.name, name), "rb") as f:
            data = f.read()
        self.assertTrue(data.endswith(b"\n"), name)
        return data[:-1].split(b"\n")

    def test_records_are_100_bytes_in_the_documented_layout(self):
        for name in ("master.dat", "trans.dat", "bystate.dat"):
            recs = self.lines(name)
            self.assertEqual(len(recs), self.N, name)
            for r in recs:
                with self.subTest(file=name, record=r):
                    self.assertEqual(len(r), 100)
                    self.assertTrue(r[0:10].isdigit())         # key
                    self.assertTrue(r[40:49].isdigit())        # amount in cents
                    self.assertLess(int(r[40:49]), 10000000)   # 10^7 records total in 15 digits
                    self.assertTrue(r[49:51].isalpha() and r[49:51].isupper())  # state
                    self.assertLess(int(r[51:55]), 2000)       # product code
                    self.assertRegex(r[63:75], rb"^\d{3}-\d{3}-\d{4}$")
                    self.assertNotEqual(r[99:100], b" ")       # no trailing blank to strip

    def test_sort_orders_and_shared_keys(self):
        master = [r[0:10] for r in self.lines("master.dat")]
        trans = [r[0:10] for r in self.lines("trans.dat")]
        for keys in (master, trans):
            self.assertTrue(all(a < b for a, b in zip(keys, keys[1:])), "strictly ascending")
        shared = len(set(master) & set(trans))
        # About a third of the keys of each file are in the other one: all three kinds of
        # pass (matched, master alone, transaction alone) occur often.
        self.assertGreater(shared, self.N // 5)
        self.assertLess(shared, self.N // 2)
        bystate = [(r[49:51], r[0:10]) for r in self.lines("bystate.dat")]
        self.assertEqual(bystate, sorted(bystate))
        self.assertGreater(len({s for s, _ in bystate}), 40)

    def test_table_has_1000_distinct_codes_for_half_of_the_range(self):
        entries = self.lines("products.tbl")
        self.assertEqual(len(entries), 1000)
        self.assertEqual(len({e[0:4] for e in entries}), 1000)
        for e in entries:
            self.assertEqual(len(e), 24)
            self.assertNotIn(b"'", e)      # an entry line is quoted in the script
            self.assertNotIn(b";", e)      # and must not be split there
        self.assertNotEqual([e[0:4] for e in entries], sorted(e[0:4] for e in entries))

    def test_same_count_gives_same_bytes(self):
        with tempfile.TemporaryDirectory() as other:
            subprocess.run([self.gen, str(self.N), other], check=True)
            for name in ("master.dat", "trans.dat", "bystate.dat", "products.tbl"):
                with open(os.path.join(other, name), "rb") as a, \
                        open(os.path.join(self.tmp.name, name), "rb") as b:
                    self.assertEqual(a.read(), b.read(), name)


class HandWritten(unittest.TestCase):
    """The hand-written programs against the perl peer on generated data (more than one read
    block), and on the odd lines the data never holds."""

    @classmethod
    def setUpClass(cls):
        os.makedirs(run.WORK, exist_ok=True)
        cls.exe = run.build_hand(run.JOBS)
        cls.tmp = tempfile.TemporaryDirectory()
        subprocess.run([run.build_gen(), "3000", cls.tmp.name], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def output(self, job_id, program, master):
        out = os.path.join(self.tmp.name, f"{job_id}.out")
        subprocess.run(program + [master, out], check=True)
        with open(out, "rb") as f:
            return f.read()

    def test_same_bytes_as_perl_on_generated_data(self):
        self.assertEqual(sorted(self.exe), ["j1", "j2"])
        master = os.path.join(self.tmp.name, "master.dat")
        for job in run.JOBS:
            if job["id"] in self.exe:
                with self.subTest(job=job["id"]):
                    perl = ["perl", os.path.join(run.JOBS_DIR, job["dir"], "job.pl")]
                    self.assertEqual(self.output(job["id"], [self.exe[job["id"]]], master),
                                     self.output(job["id"], perl, master))

    def test_short_lines_carriage_returns_and_a_last_line_without_line_feed(self):
        ca = b"0000000001" + b"Lee, Ada".ljust(30) + b"000000250CA0042"
        master = os.path.join(self.tmp.name, "odd.dat")
        with open(master, "wb") as f:
            f.write(b"12345\r\n" + ca + b"   \r\n" + ca)
        # j1: columns past a short record are blanks; trailing blanks go.
        self.assertEqual(self.output("j1", [self.exe["j1"]], master),
                         b"  12345\n" + (b"CA0000000001000000250" b"0042Lee, Ada\n") * 2)
        # j2: the CA record without its blanks, twice; then the count and total.
        self.assertEqual(self.output("j2", [self.exe["j2"]], master),
                         ca + b"\n" + ca + b"\nTOTAL CA 000000002 000000000000500\n")


class Callgrind(unittest.TestCase):
    def test_marginal_count_removes_start_up_and_counts_both_files(self):
        self.assertEqual(run.marginal(3000000 + 100 * 10000, 3000000 + 100 * 100000,
                                      10000, 100000), (100, 3000000))
        self.assertEqual(run.marginal(1000 + 2 * 50 * 10, 1000 + 2 * 50 * 100, 10, 100, 2),
                         (50, 1000))
        self.assertEqual(run.collected("==7== Events    : Ir\n==7== Collected : 123456\n"),
                         123456)
        self.assertIsNone(run.collected("valgrind: command not found"))

    def test_table_states_every_program_and_both_ratios(self):
        instr = {("j1", "kovran"): (500, 9e6), ("j1", "mawk"): (1000, 1e6),
                 ("j1", "perl"): (2000, 1e7), ("j1", "hand"): (50, 1e5),
                 ("j3", "kovran"): (3000, 9e6), ("j3", "mawk"): (1500, 1e6)}
        lines = run.instruction_table(run.JOBS, instr, (10000, 100000))
        self.assertIn("10^4 to 10^5 records", lines[0])
        self.assertEqual(lines[2], "| job | kovran | mawk | perl | hand C++ | kovran ÷ mawk | "
                                   "kovran ÷ hand C++ | kovran start-up |")
        self.assertEqual(lines[4:], [
            "| j1 reformat | 500 | 1,000 | 2,000 | 50 | 0.50 | 10.00 | 9,000,000 |",
            "| j3 paged report | 3,000 | 1,500 | - | - | 2.00 | - | 9,000,000 |"])


class Sharded(unittest.TestCase):
    def test_speedup_table_takes_the_record_local_jobs_from_the_same_rounds(self):
        medians = {("j1", "kovran"): 2.0, ("j1", "sharded"): 1.25, ("j2", "kovran"): 1.0,
                   ("j6", "sharded"): 0.5}
        lines = run.speedup_table(run.JOBS, medians, 2)
        self.assertIn("all 2 cores", lines[0])
        self.assertEqual(lines[4:], ["| j1 reformat | 2.000 | 1.250 | 1.60 |",
                                     "| j6 translate/change/find | - | 0.500 | - |"])
        self.assertEqual([j["id"] for j in run.JOBS if j.get("shard")], ["j1", "j5", "j6"])


class Comparison(unittest.TestCase):
    def test_first_difference_names_the_line_and_both_programs(self):
        with tempfile.TemporaryDirectory() as d:
            paths = {}
            for name, text in (("a", b"one\ntwo\nthree\n"), ("b", b"one\ntwo\nthree\n"),
                               ("c", b"one\ntwo \nthree\n"), ("d", b"one\ntwo\n")):
                paths[name] = os.path.join(d, name)
                with open(paths[name], "wb") as f:
                    f.write(text)
            self.assertIsNone(run.first_difference(("x", paths["a"]), ("y", paths["b"])))
            diff = run.first_difference(("kovran", paths["a"]), ("mawk", paths["c"]))
            self.assertIn("line 2 differs", diff)
            self.assertIn("b'two \\n'", diff)
            self.assertIn("line 3 differs",
                          run.first_difference(("x", paths["a"]), ("y", paths["d"])))
            self.assertEqual(run.first_difference(("x", paths["a"]), ("y", d + "/none")),
                             "y wrote no file")

    def test_lookup_script_gets_one_quoted_entry_per_table_line(self):
        with tempfile.TemporaryDirectory() as d:
            tbl = os.path.join(d, "products.tbl")
            with open(tbl, "wb") as f:
                f.write(b"0001Brass Hinge    A0001\n0000Oak Lever      B0002\n")
            prog = run.compose_lookup_program(tbl, os.path.join(d, "PROGRAM"))
            with open(prog, "rb") as f:
                lines = f.read().split(b"\n")
            t = next(i for i, ln in enumerate(lines) if ln.startswith(b"T "))
            self.assertEqual(lines[t + 1:], [b"'0001Brass Hinge    A0001'",
                                             b"'0000Oak Lever      B0002'", b""])


class MissingPeers(unittest.TestCase):
    def test_a_missing_peer_is_skipped_with_a_note(self):
        real_which = run.shutil.which
        run.shutil.which = lambda name: None if name == "gawk" else real_which(name)
        try:
            impls, notes = run.available(["kovran", "mawk", "gawk", "perl", "cobol"], False)
        finally:
            run.shutil.which = real_which
        self.assertEqual(impls, ["kovran", "mawk", "perl"])
        self.assertEqual(len(notes), 2)
        self.assertIn("gawk not installed", notes[0])
        self.assertIn("cobc", notes[1])


if __name__ == "__main__":
    unittest.main()
