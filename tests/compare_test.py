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

    def test_a_run_unit_splits_into_script_parm_and_two_files(self):
        files, parm = compare.decode_run_unit(b"M 1:1.2 2:1.2\n@@\nI=1\nTRACE\n@@\nab\n@@\ncd\n@@\n")
        self.assertEqual(files, {"PROGRAM": b"M 1:1.2 2:1.2", "FILE1": b"ab", "FILE2": b"cd\n@@\n"})
        self.assertEqual(parm, b"I=1,TRACE,LC=3000")
        files, parm = compare.decode_run_unit(b"W 2")  # no separator: all of it is the script
        self.assertEqual(files, {"PROGRAM": b"W 2", "FILE1": b"", "FILE2": b""})
        self.assertEqual(parm, b"LC=3000")
        _, parm = compare.decode_run_unit(b"U\n@@\n" + b"D" * 90 + b"\n@@\n", dmp=True)
        self.assertEqual(parm, b"D" * 80 + b",DMP,LC=3000")


if __name__ == "__main__":
    KOVRAN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
