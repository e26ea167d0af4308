#!/usr/bin/env python3
"""Every way a run ends keeps what it wrote: tests/endings_test.py KOVRAN

Each test starts kovran on a script that writes records to FILE2 and prints them to LISTING,
ends the run one way (normal end, an error, SIGINT, SIGTERM, SIGHUP, a closed pipe), and checks
the exit status, the message and that every record written is in its file with the listing's
final line feed. Also the files that cannot be read at all (unreadable, a directory).
"""
import re
import fcntl
import os
import resource
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import termios
import time
import unittest

KOVRAN = ""
CLOCK = ["--clock", "2026-12-08T10:00:00"]

# Writes each record to FILE2 and prints it on the next line of LISTING.
COPY = "M 1:1.20 2:1.20\nW 2\nM 1:1.20 L:1.20\nW L 1\n"


def listing_of(records, pgsize=60):
    """The LISTING of lines printed with skip 1: no separator before the first line, a line
    feed before each later one on the same page, a line feed and a form feed before the first
    line of each new page, and the final line feed."""
    out = ""
    for k, text in enumerate(records):
        if k > 0:
            out += "\n\f" if k % pgsize == 0 else "\n"
        out += text
    return out + "\n" if records else ""


def closed_pipe():
    """The write end of a pipe whose read end is already closed."""
    r, w = os.pipe()
    os.close(r)
    return w


def state_of(pid):
    with open(f"/proc/{pid}/stat") as f:
        return f.read().rsplit(")", 1)[1].split()[0]


def pipe_bytes(fd):
    buf = fcntl.ioctl(fd, termios.FIONREAD, struct.pack("i", 0))
    return struct.unpack("i", buf)[0]


def signal_taken(pid, sig):
    """True once `sig` sent to the process is no longer pending: its handler has run (or its
    default action has been taken)."""
    with open(f"/proc/{pid}/status") as f:
        masks = [int(line.split()[1], 16) for line in f if line.startswith(("SigPnd", "ShdPnd"))]
    return not any(m & (1 << (int(sig) - 1)) for m in masks)


def wait_blocked_writing(proc, reader_fd, timeout=30.0):
    """Waits until the pipe that kovran writes is full and kovran sleeps in the write."""
    deadline = time.monotonic() + timeout
    while pipe_bytes(reader_fd) < 65536 or state_of(proc.pid) != "S":
        if proc.poll() is not None or time.monotonic() > deadline:
            raise AssertionError("kovran never filled the pipe")
        time.sleep(0.02)


def wait_until(condition, timeout=30.0):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("the condition never held")
        time.sleep(0.01)


def wait_idle(proc, pipe_fd=None, timeout=30.0):
    """Waits until the pipe holds no more unread bytes and the process has been asleep (waiting
    for input) on several looks in a row."""
    quiet = 0
    deadline = time.monotonic() + timeout
    while quiet < 4:
        if time.monotonic() > deadline:
            raise AssertionError("kovran never waited for input")
        if proc.poll() is not None:
            raise AssertionError(f"kovran ended early with status {proc.returncode}")
        drained = pipe_fd is None or pipe_bytes(pipe_fd) == 0
        quiet = quiet + 1 if drained and state_of(proc.pid) == "S" else 0
        time.sleep(0.05)



COUNT_LINE = re.compile(r"F1 +\d+ +F2 +\d+ +F3 +\d+ +F4 +\d+ +F5 +\d+ +F6 +\d+ +List +\d+")


def signal_ending(console):
    """The cause line of a run ended by a signal: the console ends with it and the count line."""
    lines = console.rstrip("\n").split("\n")
    assert len(lines) >= 2 and COUNT_LINE.fullmatch(lines[-1]), console[-300:]
    return lines[-2]

class Run:
    """A scratch directory with a script; starts kovran in it."""

    def __init__(self, program, files=None):
        self.tmp = tempfile.TemporaryDirectory(prefix="kovran-endings-")
        self.dir = self.tmp.name
        self.write("PROGRAM", program)
        for name, text in (files or {}).items():
            self.write(name, text)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "wb") as f:
            f.write(text.encode("latin-1") if isinstance(text, str) else text)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read().decode("latin-1")

    def exists(self, name):
        return os.path.exists(self.path(name))

    def start(self, args, **popen):
        popen.setdefault("stdout", subprocess.PIPE)
        popen.setdefault("stderr", subprocess.PIPE)
        popen.setdefault("stdin", subprocess.DEVNULL)
        proc = subprocess.Popen([KOVRAN] + CLOCK + args, cwd=self.dir, **popen)
        if isinstance(popen["stdout"], int) and popen["stdout"] >= 0:
            os.close(popen["stdout"])  # our copy of a descriptor handed to kovran
        return proc

    def run(self, args, **popen):
        proc = self.start(args, **popen)
        out, err = proc.communicate(timeout=120)
        return proc.returncode, (out or b"").decode("latin-1"), (err or b"").decode("latin-1")

    def close(self):
        self.tmp.cleanup()


class Endings(unittest.TestCase):
    def setUp(self):
        self.runs = []

    def tearDown(self):
        for r in self.runs:
            r.close()

    def make(self, program, files=None):
        r = Run(program, files)
        self.runs.append(r)
        return r

    def assert_written(self, r, records):
        self.assertEqual(r.read("FILE2"), "".join(x + "\n" for x in records))
        self.assertEqual(r.read("LISTING"), listing_of(records))

    # --- signals -----------------------------------------------------------------------------

    def test_signal_while_waiting_for_input(self):
        # The input never ends; once every record sent is read, kovran waits in a read. The
        # signal ends the run there: status 128 + signal, one line naming it, nothing lost.
        records = [f"REC{k:05d}" for k in range(1, 2001)]  # about 20 KB: still in buffers
        data = "".join(x + "\n" for x in records).encode()
        for source in ("fifo", "stdin"):
            for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
                with self.subTest(source=source, sig=sig.name):
                    r = self.make(COPY)
                    if source == "fifo":
                        os.mkfifo(r.path("FIFO"))
                        proc = r.start(["--file1", "FIFO", "I=1"])
                        writer = open_fifo_writer(r.path("FIFO"), proc)
                    else:
                        proc = r.start(["--file1", "-", "I=1"], stdin=subprocess.PIPE)
                        writer = proc.stdin.fileno()
                    os.write(writer, data)
                    wait_idle(proc, writer)
                    proc.send_signal(sig)
                    proc.wait(timeout=60)  # the input stays open: the signal alone ends the run
                    out, err = proc.stdout.read(), proc.stderr.read()
                    os.close(writer) if source == "fifo" else proc.stdin.close()
                    self.assertEqual(proc.returncode, 128 + sig)
                    # FILE1 bound to - sends the console to standard error.
                    console, other = (err, out) if source == "stdin" else (out, err)
                    self.assertEqual(signal_ending(console.decode()),
                                     f"RUN ENDED BY SIGNAL {int(sig)}")
                    self.assertEqual(other, b"")
                    self.assert_written(r, records)

    def test_signal_in_an_endless_line(self):
        # /dev/zero has no line feed: the first record never ends, and no statement runs.
        r = self.make(COPY)
        proc = r.start(["--file1", "/dev/zero", "I=1"])
        time.sleep(0.3)
        proc.send_signal(signal.SIGTERM)
        out, err = proc.communicate(timeout=60)
        self.assertEqual(proc.returncode, 143)
        self.assertEqual(signal_ending(out.decode()), "RUN ENDED BY SIGNAL 15")
        self.assertFalse(r.exists("FILE2"))

    def test_signal_in_an_endless_loop(self):
        # After writing and printing the first record the script loops forever (no LC). The
        # trace shows the loop is running; the signal stops it at the next node.
        program = COPY + "I S:1 E ' '\nD\nU\n"
        for sig in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(sig=sig.name):
                r = self.make(program, {"FILE1": "FIRST\nSECOND\n"})
                proc = r.start(["I=1,TRACE"])
                first = proc.stdout.read(1)  # the console's buffer went out: deep in the loop
                self.assertEqual(first, b"K")
                proc.send_signal(sig)
                out, err = proc.communicate(timeout=60)
                self.assertEqual(proc.returncode, 128 + sig)
                last = signal_ending(out.decode())
                self.assertRegex(last, rf"^RUN ENDED BY SIGNAL {int(sig)} IN LINE [567]$")
                self.assertEqual(err, b"")
                self.assert_written(r, ["FIRST"])

    def test_signals_in_quick_succession(self):
        # FILE2 is a FIFO whose reader does not read yet: kovran sleeps in a write. Two SIGTERMs
        # (as a timeout sends them) are both taken while it waits; once the pipe is drained
        # the run ends in order, every record whole. A third signal ends the process at once,
        # the way out of a pipe that is never drained.
        records = [f"{k:07d}" for k in range(1, 100001)]
        for count in (2, 3):
            with self.subTest(signals=count):
                r = self.make("M 1:1.20 2:1.20\nW 2\n", {"FILE1": "".join(x + "\n" for x in records)})
                os.mkfifo(r.path("FIFO"))
                proc = r.start(["--file2", "FIFO", "I=1"])
                reader = os.open(r.path("FIFO"), os.O_RDONLY | os.O_NONBLOCK)
                wait_blocked_writing(proc, reader)
                for _ in range(count):
                    proc.send_signal(signal.SIGTERM)
                    wait_until(lambda: signal_taken(proc.pid, signal.SIGTERM))
                os.set_blocking(reader, True)
                with os.fdopen(reader, "rb") as f:
                    written = f.read().decode()
                out, err = proc.communicate(timeout=60)
                if count == 3:
                    self.assertEqual(proc.returncode, -signal.SIGTERM)
                    continue
                self.assertEqual(proc.returncode, 143)
                last = signal_ending(out.decode())
                self.assertRegex(last, r"^RUN ENDED BY SIGNAL 15( IN LINE [123])?$")
                self.assertEqual(err, b"")
                self.assertTrue(written.endswith("\n"))
                self.assert_prefix(written, records)

    def test_signal_while_opening_a_fifo_nobody_writes(self):
        r = self.make(COPY)
        os.mkfifo(r.path("FIFO"))
        proc = r.start(["--file1", "FIFO", "I=1"])
        wait_idle(proc)
        proc.send_signal(signal.SIGTERM)
        out, err = proc.communicate(timeout=60)
        self.assertEqual(proc.returncode, 143)
        self.assertEqual(signal_ending(out.decode()), "RUN ENDED BY SIGNAL 15")
        self.assertFalse(r.exists("FILE2"))

    def test_signal_while_reading_the_script(self):
        # The script comes from a FIFO whose writer stays: kovran waits for its next line.
        r = self.make("")
        os.mkfifo(r.path("FIFO"))
        proc = r.start(["--program", "FIFO", "I=1"])
        writer = open_fifo_writer(r.path("FIFO"), proc)
        os.write(writer, b"M 1:1 2:1\nW 2\n")
        wait_idle(proc, writer)
        proc.send_signal(signal.SIGINT)
        out, err = proc.communicate(timeout=60)
        os.close(writer)
        self.assertEqual(proc.returncode, 130)
        self.assertEqual(out.decode().split("\n")[1:],
                         ["RUN ENDED BY SIGNAL 2", "F1  0  F2  0  F3  0  F4  0  F5  0  F6  0  List   0", ""])
        self.assertEqual(err, b"")
        self.assertFalse(r.exists("FILE2"))

    # --- closed pipes --------------------------------------------------------------------------

    def test_console_pipe_closed_during_the_run(self):
        # The trace fills SYSPRINT; nobody reads it. The first write fails, and the run stops at
        # the next node with 141. Whatever was written is whole, and it stopped early.
        records = [f"{k:07d}" for k in range(1, 100001)]
        r = self.make(COPY, {"FILE1": "".join(x + "\n" for x in records)})
        proc = r.start(["I=1,TRACE"], stdout=closed_pipe())
        err = proc.communicate(timeout=120)[1]
        self.assertEqual(proc.returncode, 141)
        self.assertEqual(err, b"")
        written = r.read("FILE2")
        self.assertTrue(written.endswith("\n"))
        count = written.count("\n")
        self.assertLess(count, len(records))
        # The stop comes before a W 2 or after it: the listing has the same lines or one fewer.
        printed = r.read("LISTING")
        self.assertIn(count - printed.count("\n"), (0, 1))
        if printed:
            self.assert_listing_prefix(printed, records)
        self.assert_prefix(written, records)

    def assert_prefix(self, written, records):
        lines = written.split("\n")[:-1]
        self.assertEqual(lines, records[: len(lines)])

    def assert_listing_prefix(self, printed, records):
        count = printed.count("\n")
        self.assertGreater(count, 0)
        self.assertEqual(printed, listing_of(records[:count]))

    def test_console_pipe_closed_at_the_end(self):
        # Everything fits in the buffers: the run ends normally, the console's last flush fails,
        # and the status still says the output was cut (141), with every record in FILE2.
        records = ["A", "B", "C"]
        r = self.make(COPY, {"FILE1": "A\nB\nC\n"})
        proc = r.start(["I=1"], stdout=closed_pipe())
        err = proc.communicate(timeout=60)[1]
        self.assertEqual(proc.returncode, 141)
        self.assertEqual(err, b"")
        self.assert_written(r, records)

    def test_data_file_pipe_closed(self):
        # FILE2 is standard output and nobody reads it: W reports the failure naming FILE2.
        # With the console on the same pipe (kovran --file2 - | head -1) the end is quiet.
        records = [f"{k:07d}" for k in range(1, 100001)]
        for console in ("SYSPRINT", "-"):
            with self.subTest(console=console):
                r = self.make(COPY, {"FILE1": "".join(x + "\n" for x in records)})
                proc = r.start(["--file2", "-", "--sysprint", console, "I=1"],
                               stdout=closed_pipe())
                err = proc.communicate(timeout=120)[1]
                self.assertEqual(proc.returncode, 141)
                self.assertEqual(err, b"")
                if console != "-":
                    self.assertIn("\nCANNOT WRITE FILE2 (-): Broken pipe IN LINE 2\n",
                                  r.read("SYSPRINT"))
                self.assert_listing_prefix(r.read("LISTING"), records)

    # --- errors and the normal end ------------------------------------------------------------

    def test_error_endings_keep_records(self):
        # Standard error says where the script stood: its line, the statement and the record.
        cases = [
            # name, extra statement, FILE1, PARM, status, last console line, standard error,
            # records kept
            ("normal", "", "0001\n0002\n0003\n", "I=1", 0,
             "F1  3  F2  3  F3  0  F4  0  F5  0  F6  0  List   3", "", ["0001", "0002", "0003"]),
            # five nodes a pass: the 15th is node 5 of the third pass, after both its writes
            ("loop limit", "K\n", "0001\n0002\n0003\n0004\n", "I=1,LC=14", 12,
             "LOOP LIMIT LC=14 EXCEEDED IN LINE 5",
             "kovran: PROGRAM:5: run ended: LOOP LIMIT LC=14 EXCEEDED"
             " (statement 5, record 3 of FILE1; written: FILE2 3, LISTING 3)\n",
             ["0001", "0002", "0003"]),
            ("conversion", "+ 1:1.4 S:1.6\n", "0001\n0002\n00X3\n0004\n", "I=1", 12,
             "CONVERSION ERROR IN  ADD_RTN , ONCODE= 1 , ONSOURCE= 0000000000000X3",
             "kovran: PROGRAM:5: run ended: CONVERSION ERROR IN ADD_RTN, ONCODE=1,"
             " ONSOURCE=0000000000000X3 (statement 5, record 3 of FILE1; written: FILE2 3,"
             " LISTING 3)\n",
             ["0001", "0002", "00X3"]),
            ("division by zero", "/ 1:1.4 1:1.4 0 S:1.6\n", "0001\n0000\n0003\n", "I=1", 12,
             "DIVISION BY ZERO IN LINE 5",
             "kovran: PROGRAM:5: run ended: DIVISION BY ZERO (statement 5, record 2 of FILE1;"
             " written: FILE2 2, LISTING 2)\n",
             ["0001", "0000"]),
        ]
        for name, extra, data, parm, status, last, told, kept in cases:
            with self.subTest(name):
                r = self.make(COPY + extra, {"FILE1": data})
                code, out, err = r.run([parm])
                self.assertEqual(code, status)
                self.assertEqual(out.rstrip("\n").rsplit("\n", 1)[-1], last)
                self.assertEqual(err, told)
                self.assert_written(r, kept)

        # With the console in a file the run is not silent either.
        r = self.make(COPY + "/ 1:1.4 1:1.4 0 S:1.6\n", {"FILE1": "0000\n"})
        code, out, err = r.run(["--sysprint", "/dev/null", "I=1"])
        self.assertEqual((code, out), (12, ""))
        self.assertIn("PROGRAM:5: run ended: DIVISION BY ZERO (statement 5, record 1 of", err)
        self.assertTrue(err.endswith("; written: FILE2 1, LISTING 1)\n"), err)

    def test_output_to_a_full_device(self):
        # Enough records that the buffer goes out during the run: W itself reports it.
        records = [f"{k:07d}" for k in range(1, 20001)]
        r = self.make(COPY, {"FILE1": "".join(x + "\n" for x in records)})
        code, out, err = r.run(["--file2", "/dev/full", "I=1"])
        self.assertEqual(code, 12)
        self.assertIn("\nCANNOT WRITE FILE2 (/dev/full): No space left on device IN LINE 2\n", out)
        self.assertRegex(err, r"^kovran: PROGRAM:2: run ended: CANNOT WRITE FILE2 \(/dev/full\): "
                              r"No space left on device \(statement 2, record \d+ of FILE1; "
                              r"written: FILE2 \d+, LISTING \d+\)\n$")
        self.assert_listing_prefix(r.read("LISTING"), records)

    def test_a_full_file_is_cut_back_to_whole_records(self):
        # A file-size limit (SIGXFSZ ignored: the write fails with EFBIG) stands for a full
        # disk. Each record is 8 bytes with its line feed (a dump line 12, a listing line 8
        # with its separator) and the limit is no multiple of that, so the failing write
        # leaves a part of a record, which is cut off again: the file ends in a whole record
        # and the line says how many it holds. With a limit below the buffer, the failure
        # comes only from the flush at the end of input: no end-of-run lines then.
        limit = 100003
        lots = [f"{k:07d}" for k in range(1, 30001)]
        few = lots[:5000]
        cases = [
            # name, program, PARM, records, file, held, line ending the console
            ("FILE2", "M 1:1.20 2:1.20\nW 2\n", "I=1", lots, "FILE2", limit // 8, " IN LINE 2"),
            ("LISTING", "M 1:1.20 L:1.20\nW L 1\n", "I=1", lots, "LISTING", None, " IN LINE 2"),
            ("FILEDUMP", "K\n", "I=1,DUMP=30000", lots, "FILEDUMP", limit // 12, ""),
            ("at the end", "M 1:1.20 2:1.20\nW 2\n", "I=1", few, "FILE2", 5000, ""),
        ]
        def small_files(size):
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
        for name, program, parm, records, file, held, where in cases:
            with self.subTest(name):
                r = self.make(program, {"FILE1": "".join(x + "\n" for x in records)})
                size = 30001 if name == "at the end" else limit
                code, out, err = r.run([parm], preexec_fn=lambda: small_files(size))
                self.assertEqual(code, 12)
                # Standard error repeats the cause with the script line, nothing else.
                self.assertRegex(err, r"^kovran: (PROGRAM:\d+: )?run ended: CANNOT WRITE "
                                      + file + r" \(" + file + r"\), WHICH HOLDS [^\n]*\n$")
                written = r.read(file)
                if file == "LISTING":
                    count = written.count("\n") + 1  # the last line has no line feed yet
                    self.assertEqual(written + "\n", listing_of(records[:count]))
                    noun = "LINES"
                else:
                    count = written.count("\n")
                    prefix = "1 : " if file == "FILEDUMP" else ""
                    self.assertEqual(written, "".join(prefix + x + "\n" for x in records[:count]))
                    noun = "RECORDS"
                if held is None:
                    self.assertGreater(count, limit // 9)
                else:
                    self.assertEqual(count, 30001 // 8 if name == "at the end" else held)
                # (the console wraps a line at 80 columns: only the words count here)
                self.assertEqual(
                    " ".join(out.split("\n")[1:]).strip(),
                    f"CANNOT WRITE {file} ({file}), WHICH HOLDS {count} WHOLE {noun}: "
                    f"File too large{where}")

    def test_closed_standard_descriptors(self):
        # Console and standard error closed: the first file opened must not take descriptor 1
        # (the console would land in FILE2); they are opened on /dev/null.
        records = ["A", "B", "C"]
        r = self.make(COPY)
        def close_outputs():
            os.close(1)
            os.close(2)
        proc = r.start(["--file1", "-", "I=1,TRACE"], stdin=subprocess.PIPE,
                       preexec_fn=close_outputs)
        proc.communicate("".join(x + "\n" for x in records).encode(), timeout=60)
        self.assertEqual(proc.returncode, 0)
        self.assert_written(r, records)

    def test_out_of_memory_at_the_start(self):
        # Address-space limits from where the loader cannot map the libraries (status 127) up
        # to the first that lets the run end normally: every run between ends with status 12
        # and a message, never with an exception escaping (134).
        with open(KOVRAN, "rb") as f:
            if b"__asan_" in f.read():
                self.skipTest("a sanitized build reserves more address space than any limit")
        r = self.make("")
        r.write("FILE1", "")
        seen = set()
        for kb in range(3000, 20000, 20):
            limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (kb << 10, kb << 10))
            code, out, err = r.run(["I=1"], preexec_fn=limit)
            if code == 0:
                break
            # The loader, before kovran: it says "error while loading shared libraries",
            # "cannot allocate TLS" or only "out of memory"; kovran never ends with 127.
            if code == 127 and not err.startswith("kovran"):
                continue
            with self.subTest(kb=kb):
                self.assertEqual(code, 12, err)
                if err == "kovran: out of memory before the run could start\n":
                    seen.add("start")
                else:  # the run had begun: its console says so, and standard error too
                    self.assertTrue(out.endswith("\nRUN ENDED: OUT OF MEMORY\n"), out)
                    self.assertRegex(err, r"^kovran: run ended: OUT OF MEMORY( \(.*\))?\n$")
                    seen.add("run")
        self.assertEqual(code, 0)
        self.assertIn("start", seen)

    def test_out_of_memory_is_an_error(self):
        # 30000 statements need some 25 MB of nodes; the address space allows 16 MB (kovran
        # itself needs about 8). The allocation fails while the script is read.
        with open(KOVRAN, "rb") as f:
            if b"__asan_" in f.read():
                self.skipTest("a sanitized build reserves more address space than any limit")
        r = self.make("K\n" * 30000)
        limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (16 << 20, 16 << 20))
        code, out, err = r.run(["I=1"], preexec_fn=limit)
        self.assertEqual(code, 12)
        self.assertEqual(out.rstrip("\n").rsplit("\n", 1)[-1], "RUN ENDED: OUT OF MEMORY")
        self.assertEqual(err, "kovran: run ended: OUT OF MEMORY\n")  # while the script is read

    # --- files that cannot be read -------------------------------------------------------------

    def test_missing_unreadable_and_directory_inputs(self):
        cases = [
            ("PROGRAM", ["--program", "P"], "CANNOT OPEN PROGRAM (P): "),
            ("FILE1", ["--file1", "P", "I=1"], "CANNOT OPEN FILE1 (P): "),
        ]
        for name, args, message in cases:
            for kind in ("missing", "directory", "unreadable"):
                if kind == "unreadable" and os.geteuid() == 0:
                    continue  # root reads a file whatever its mode
                with self.subTest(name=name, kind=kind):
                    r = self.make(COPY)
                    if kind == "missing":
                        reason = "No such file or directory"
                    elif kind == "directory":
                        os.mkdir(r.path("P"))
                        reason = "Is a directory"
                    else:
                        r.write("P", COPY)
                        os.chmod(r.path("P"), 0)
                        reason = "Permission denied"
                    code, out, err = r.run(args)
                    if r.exists("P"):
                        os.chmod(r.path("P"), stat.S_IRWXU)
                    self.assertEqual(code, 12)
                    self.assertEqual(out.rstrip("\n").rsplit("\n", 1)[-1], message + reason)
                    self.assertEqual(err, "kovran: run ended: " + message + reason + "\n")
                    self.assertFalse(r.exists("FILE2"))


def open_fifo_writer(path, proc, timeout=30.0):
    """Opens the FIFO for writing once kovran has opened it for reading."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            fd = os.open(path, os.O_WRONLY | os.O_NONBLOCK)
            os.set_blocking(fd, True)
            return fd
        except OSError:
            if proc.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("kovran never opened the FIFO")
            time.sleep(0.02)


if __name__ == "__main__":
    KOVRAN = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
