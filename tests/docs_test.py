#!/usr/bin/env python3
"""The documentation agrees with kovran: tests/docs_test.py KOVRAN LANGUAGE_PAGE

--help, the README, kovran(1) and the bash completion know the same options; --help, the
README and kovran(1) the same exit statuses; kovran-parallel(1) knows the options and statuses
of kovran-parallel --help; the manual pages carry kovran's version, render without a warning,
and the language page keeps every word of docs/language.md; the files the example jobs write
into their folders are ignored by git.
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import unittest

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KOVRAN = ""
LANGUAGE_PAGE = ""


def read(*parts):
    with open(os.path.join(SOURCE, *parts), encoding="utf-8") as f:
        return f.read()


def options_in(text):
    """The options a text names; --file1 .. --file6 count as one."""
    text = text.replace("\\-", "-")  # roff
    found = set(re.findall(r"(?<![\w-])(--?[a-zA-Z][\w-]*)", text)) - {"--opt"}
    return {re.sub(r"^--file[1-6]$", "--fileN", o) for o in found}


def statuses_in(text):
    return {s.replace(" ", "") for s in re.findall(r"\b(0|4|12|16|128 ?\+ ?n)\b", text)}


class Docs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.help = subprocess.run([KOVRAN, "--help"], capture_output=True, text=True).stdout
        cls.readme = read("README.md")
        cls.manual = read("docs", "kovran.1")

    def test_every_option_is_documented_and_completed(self):
        want = options_in(self.help)
        self.assertIn("--parm-file", want)
        self.assertIn("-V", want)
        self.assertLessEqual(want, options_in(self.readme), "README")
        self.assertLessEqual(want, options_in(self.manual), "kovran.1")
        script = (f"source {os.path.join(SOURCE, 'completion', 'kovran.bash')}; "
                  "COMP_WORDS=(kovran -); COMP_CWORD=1; _kovran; printf '%s\\n' \"${COMPREPLY[@]}\"")
        offered = subprocess.run(["bash", "-c", script], capture_output=True, text=True).stdout
        self.assertEqual(options_in(offered), want, "bash completion")
        self.assertIn("--\n", offered)  # the end of the options

    def test_every_exit_status_is_documented(self):
        section = self.help[self.help.index("Exit status:"):]
        want = statuses_in("\n".join(re.findall(r"^  (\S+)  ", section, re.M)))
        self.assertEqual(want, {"0", "4", "12", "16", "128+n"})
        rows = "\n".join(re.findall(r"^\| ([^|]+) \|", self.readme, re.M))
        self.assertLessEqual(want, statuses_in(rows), "README")
        entries = self.manual[self.manual.index(".SH EXIT STATUS"):]
        self.assertLessEqual(want, statuses_in("\n".join(re.findall(r"^\.B (.*)$", entries, re.M))),
                             "kovran.1")

    def test_kovran_parallel_options_and_statuses_are_documented(self):
        tool = os.path.join(SOURCE, "tools", "kovran-parallel")
        text = subprocess.run([sys.executable, tool, "--help"], capture_output=True,
                              text=True).stdout
        page = read("docs", "kovran-parallel.1")
        want = options_in(text)
        self.assertLessEqual({"--jobs", "--sshlogin", "--block", "--will-cite"}, want)
        self.assertLessEqual(want, options_in(page), "kovran-parallel.1")
        self.assertLessEqual({"--jobs", "--sshlogin", "--block"},
                             options_in(read("docs", "scaling.md")) & options_in(self.readme))
        section = page[page.index(".SH EXIT STATUS"):]
        self.assertLessEqual({"0", "4", "12", "16", "128+n"},
                             statuses_in("\n".join(re.findall(r"^\.B (.*)$", section, re.M))))

    def test_manual_pages_carry_the_version(self):
        version = subprocess.run([KOVRAN, "--version"], capture_output=True, text=True).stdout
        stamp = '"kovran ' + version.split()[1] + '"'
        with open(LANGUAGE_PAGE, encoding="ascii") as f:
            language = f.read()
        for name, page in (("kovran.1", self.manual), ("kovran-language.7", language),
                           ("kovran-parallel.1", read("docs", "kovran-parallel.1"))):
            self.assertIn(stamp, ("\n" + page).split("\n.TH ", 1)[1].split("\n")[0], name)

    @unittest.skipIf(shutil.which("groff") is None, "no groff")
    def test_manual_pages_render_and_keep_the_reference(self):
        def render(page):
            r = subprocess.run(["groff", "-t", "-man", "-Tutf8", "-ww", "-P-cbou", page],
                               capture_output=True, text=True)
            self.assertEqual(r.stderr, "", page)
            return r.stdout

        render(os.path.join(SOURCE, "docs", "kovran.1"))
        render(os.path.join(SOURCE, "docs", "kovran-parallel.1"))
        text = re.sub(r"-\n\s+", "-", render(LANGUAGE_PAGE))  # a word broken at its hyphen
        source = re.sub(r"<!--.*?-->|\]\([^)]*\)", "", read("docs", "language.md"), flags=re.S)

        def words(t):
            return collections.Counter(re.findall(r"[a-z0-9_]+", t.lower()))

        have = words(text)
        lost = {w: n - have[w] for w, n in words(source).items() if have[w] < n}
        self.assertEqual(lost, {}, "words of docs/language.md missing from kovran-language.7")

    def test_what_the_examples_write_is_ignored_by_git(self):
        inside = subprocess.run(["git", "-C", SOURCE, "rev-parse", "--is-inside-work-tree"],
                                capture_output=True, text=True)
        if inside.stdout.strip() != "true":
            self.skipTest("not a git work tree")
        for job in sorted(os.listdir(os.path.join(SOURCE, "examples"))):
            expect = os.path.join(SOURCE, "examples", job, "expect")
            if not os.path.isdir(expect):
                continue
            for name in set(os.listdir(expect)) - {"status", "SYSPRINT"} | {"FILEDUMP"}:
                path = f"examples/{job}/{name}"
                ignored = subprocess.run(["git", "-C", SOURCE, "check-ignore", "-q", path])
                self.assertEqual(ignored.returncode, 0, f"{path} is not ignored")


if __name__ == "__main__":
    KOVRAN, LANGUAGE_PAGE = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=1)
