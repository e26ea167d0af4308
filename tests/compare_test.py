#!/usr/bin/env python3
"""Checks of tests/compare.py itself: tests/compare_test.py KOVRAN

The same build twice over the golden cases shows no difference; a build that writes one byte
more is caught and the byte named; a whole-run fuzz unit is split as the fuzz target splits it.
"""
import contextlib
import io
import os
import stat
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare  # noqa: E402

KOVRAN = ""


def quiet_main(args):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        status = compare.main(args)
    return status, out.getvalue()


class Compare(unittest.TestCase):
    def test_the_same_build_twice_is_equal_on_every_golden_case(self):
        status, out = quiet_main([KOVRAN, KOVRAN, "--sets", "cases", "-j", "2"])
        self.assertEqual(status, 0, out)
        self.assertRegex(out, r"compared (\d{2,}) runs \(cases \1\): 0 with differences")

    def test_an_extra_byte_in_a_data_file_is_a_difference(self):
        with tempfile.TemporaryDirectory() as d:
            other = os.path.join(d, "kovran")
            with open(other, "w") as f:
                f.write(f'#!/bin/sh\n"{KOVRAN}" "$@"; s=$?\n'
                        "[ -f FILE2 ] && printf x >> FILE2\nexit $s\n")
            os.chmod(other, stat.S_IRWXU)
            status, out = quiet_main([KOVRAN, other, "--sets", "examples", "--only", "reformat"])
        self.assertEqual(status, 1, out)
        self.assertRegex(out, r"DIFFERS examples/reformat\n +file FILE2: byte \d+ \(line \d+\): "
                              r"old b'' \((\d+) bytes\), new b'x'")
        self.assertIn("1 with differences", out)

    def test_a_run_unit_splits_as_the_fuzz_target_splits_it(self):
        # Five control bytes, then the script, PARM and FILE1 .. FILE6; a part left out is a
        # file that does not exist.
        files, parm = compare.decode_run_unit(
            b"\x0a\0\0\0\0M 1:1.2 2:1.2\n@@\nI=1\nTRACE\n@@\nab\n@@\ncd\n@@\n")
        self.assertEqual(files, {"PROGRAM": b"M 1:1.2 2:1.2", "FILE1": b"ab", "FILE2": b"cd",
                                 "FILE3": b""})
        self.assertEqual(parm, b"I=1,TRACE,LC=400")
        files, parm = compare.decode_run_unit(b"\0\0\0\0\0W 2")  # no separator: the script
        self.assertEqual(files, {"PROGRAM": b"W 2"})
        self.assertEqual(parm, b"LC=400")
        _, parm = compare.decode_run_unit(b"\0" * 5 + b"U\n@@\n" + b"D" * 90 + b"\n@@\n", dmp=True)
        self.assertEqual(parm, b"D" * 80 + b",DMP,LC=400")
        files, _ = compare.decode_run_unit(b"\0" * 5 + b"\n@@\n".join([b"x"] * 10))
        self.assertEqual(files["FILE6"], b"x")  # what follows FILE6 is dropped

if __name__ == "__main__":
    KOVRAN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
