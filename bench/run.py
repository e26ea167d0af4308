#!/usr/bin/env python3
"""Benchmark kit: kovran against mawk, gawk, perl and GnuCOBOL on six batch jobs.

    bench/run.py [--records N | --quick] [--rounds R] [--jobs j1,j3] [--impls kovran,mawk]
                 [--no-callgrind] [--callgrind-records 10000,100000] [--output FILE]
                 [--build-dir DIR] [--keep]

Steps: build kovran (Release), build the data generator, the COBOL programs and the
hand-written C++ programs (jobs that have a job.cc), generate the data (cached in
bench/data/<N>/), run every implementation of every job once and compare its output files
byte for byte with kovran's, then time R interleaved rounds (every job and every
implementation once per round, in turn) and print a table of medians. The record-local jobs
(reformat, lookup, clean-up) also run sharded by tools/kovran-parallel over every core of the
machine ("sharded"), and a second table gives their speed-up over one kovran in the same run. Peers that are not
installed are skipped with a note. Finally kovran, mawk, perl and the hand-written programs
run each job under callgrind at two record counts (10^4 and 10^5); the difference of the
instruction counts divided by the difference of the record counts is the instructions per
input record with start-up removed.

A peer whose output differs from kovran's is reported with the first differing line of each.
When kovran itself fails a job (non-zero exit status, or no output), the peers are compared
with the first peer that ran, so that their agreement is still checked.
"""
import argparse
import datetime
import filecmp
import hashlib
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import threading
import time

BENCH = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(BENCH)
JOBS_DIR = os.path.join(BENCH, "jobs")
WORK = os.path.join(BENCH, "work")
DATA = os.path.join(BENCH, "data")
CLOCK = "2026-12-08T10:00:00"
PEERS = ["mawk", "gawk", "perl", "cobol", "hand", "sharded"]
# "hand": the hand-written C++ program of the job (job.cc); "sharded": kovran run by
# kovran-parallel over GNU parallel, one block per core (the jobs marked shard)
LABELS = {"hand": "hand C++", "sharded": "kovran-parallel"}
PARALLEL_TOOL = os.path.join(ROOT, "tools", "kovran-parallel")
CALLGRIND_IMPLS = ["kovran", "mawk", "perl", "hand"]
FLOORS = ["cat", "wc -l"]

# Each job: its directory, the data files it reads (the first is the record count's source;
# "records" is how many input records one run reads, in units of N), its output files, how
# kovran binds them, and the argument lists of the peers. Names in the lists are data files
# (master, trans, bystate, products) or outputs (out, matched, aonly, bonly). shard: the
# check calls the job record-local, so it also runs sharded over all cores.
JOBS = [
    dict(id="j1", dir="j1_reformat", title="reformat", inputs=["master"], records=1,
         outputs=["out"], kovran={"file1": "master", "file2": "out"}, shard=True,
         awk_vars=["out"], awk_args=["master"], args=["master", "out"]),
    dict(id="j2", dir="j2_select", title="select and total", inputs=["master"], records=1,
         outputs=["out"], kovran={"file1": "master", "file2": "out"},
         awk_vars=["out"], awk_args=["master"], args=["master", "out"]),
    dict(id="j3", dir="j3_report", title="paged report", inputs=["bystate"], records=1,
         outputs=["out"], kovran={"file1": "bystate", "listing": "out"},
         awk_vars=["out"], awk_args=["bystate"], args=["bystate", "out"]),
    dict(id="j4", dir="j4_match", title="match 1:1", inputs=["master", "trans"], records=2,
         outputs=["matched", "aonly", "bonly"],
         kovran={"file1": "master", "file2": "trans", "file3": "matched", "file4": "aonly",
                 "file5": "bonly"},
         awk_vars=["trans", "matched", "aonly", "bonly"], awk_args=["master"],
         args=["master", "trans", "matched", "aonly", "bonly"]),
    dict(id="j5", dir="j5_lookup", title="table lookup", inputs=["master"], records=1,
         outputs=["out"], kovran={"file1": "master", "file2": "out"}, shard=True,
         awk_vars=["out"], awk_args=["products", "master"],
         args=["products", "master", "out"]),
    dict(id="j6", dir="j6_cleanup", title="translate/change/find", inputs=["master"],
         records=1, outputs=["out"], kovran={"file1": "master", "file2": "out"}, shard=True,
         awk_vars=["out"], awk_args=["master"], args=["master", "out"]),
]
AWK_VAR_NAMES = {"out": "out", "trans": "trans", "matched": "matched", "aonly": "mastonly",
                 "bonly": "transonly"}


def say(*items):
    print(*items, flush=True)


def run_checked(cmd, **kw):
    """Runs a build step; stops the benchmark with its output when it fails."""
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw)
    if r.returncode != 0:
        sys.stdout.write(r.stdout.decode("utf-8", "replace"))
        sys.exit(f"bench: failed: {' '.join(cmd)}")
    return r


def file_digest(*paths):
    h = hashlib.sha256()
    for p in paths:
        with open(p, "rb") as f:
            h.update(f.read())
    return h.hexdigest()[:16]


def up_to_date(target, stamp_text):
    stamp = target + ".stamp"
    if os.path.exists(target) and os.path.exists(stamp):
        with open(stamp) as f:
            return f.read() == stamp_text
    return False


def write_stamp(target, stamp_text):
    with open(target + ".stamp", "w") as f:
        f.write(stamp_text)


# --- building --------------------------------------------------------------------------------

def build_kovran(build_dir):
    say(f"== building kovran (Release) in {os.path.relpath(build_dir, ROOT)}")
    run_checked(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja",
                 "-DCMAKE_BUILD_TYPE=Release"])
    run_checked(["ninja", "-C", build_dir, "-j2", "kovran"])
    return os.path.join(build_dir, "kovran")


def build_gen():
    src = os.path.join(BENCH, "gen", "gen.cc")
    exe = os.path.join(WORK, "gen")
    stamp = file_digest(src)
    if not up_to_date(exe, stamp):
        cxx = os.environ.get("CXX") or shutil.which("c++") or shutil.which("g++")
        run_checked([cxx, "-O2", "-std=c++17", "-o", exe, src])
        write_stamp(exe, stamp)
    return exe


def build_cobol(jobs):
    """Compiles the COBOL programs; returns {job id: executable}, or {} without cobc."""
    if not shutil.which("cobc"):
        return {}
    out = {}
    copybook = os.path.join(JOBS_DIR, "rec.cpy")
    for job in jobs:
        src = os.path.join(JOBS_DIR, job["dir"], "job.cob")
        exe = os.path.join(WORK, "cobol", job["id"])
        os.makedirs(os.path.dirname(exe), exist_ok=True)
        stamp = file_digest(src, copybook)
        if not up_to_date(exe, stamp):
            run_checked(["cobc", "-x", "-free", "-O2", "-I", JOBS_DIR, "-o", exe, src])
            write_stamp(exe, stamp)
        out[job["id"]] = exe
    return out


def build_hand(jobs):
    """Compiles the hand-written programs; returns {job id: executable} for the jobs that have
    one."""
    out = {}
    cxx = os.environ.get("CXX") or shutil.which("g++") or shutil.which("c++")
    header = os.path.join(JOBS_DIR, "lines.h")
    for job in jobs:
        src = os.path.join(JOBS_DIR, job["dir"], "job.cc")
        if not cxx or not os.path.exists(src):
            continue
        exe = os.path.join(WORK, "hand", job["id"])
        os.makedirs(os.path.dirname(exe), exist_ok=True)
        stamp = file_digest(src, header)
        if not up_to_date(exe, stamp):
            run_checked([cxx, "-O2", "-std=c++17", "-Wall", "-Wextra", "-I", JOBS_DIR, "-o", exe,
                         src])
            write_stamp(exe, stamp)
        out[job["id"]] = exe
    return out


def generate(gen, n):
    """Generates (or reuses) the data for N records; returns {name: path}."""
    d = os.path.join(DATA, str(n))
    os.makedirs(d, exist_ok=True)
    files = {"master": "master.dat", "trans": "trans.dat", "bystate": "bystate.dat",
             "products": "products.tbl"}
    paths = {k: os.path.join(d, v) for k, v in files.items()}
    stamp = file_digest(os.path.join(BENCH, "gen", "gen.cc"))
    marker = os.path.join(d, "data")
    if not (up_to_date(marker, stamp) and all(os.path.exists(p) for p in paths.values())):
        say(f"== generating {n} records into {os.path.relpath(d, ROOT)}")
        t = time.perf_counter()
        run_checked([gen, str(n), d])
        open(marker, "w").close()
        write_stamp(marker, stamp)
        say(f"   done in {time.perf_counter() - t:.1f} s")
    return paths


def compose_lookup_program(products, dest):
    """The lookup job's script: its statements, then one quoted entry line per table entry."""
    with open(os.path.join(JOBS_DIR, "j5_lookup", "PROGRAM"), "rb") as f:
        text = f.read()
    with open(products, "rb") as f:
        entries = [line.rstrip(b"\n") for line in f]
    with open(dest, "wb") as f:
        f.write(text)
        for e in entries:
            f.write(b"'" + e + b"'\n")
    return dest


# --- commands --------------------------------------------------------------------------------

class Impl:
    def __init__(self, name, available, note=""):
        self.name, self.available, self.note = name, available, note


def command(impl, job, data, outs, tools):
    """The argument list that runs one implementation of one job, with its working files."""
    jd = os.path.join(JOBS_DIR, job["dir"])

    def res(name):
        return data[name] if name in data else outs[name]

    if impl == "sharded":  # the kovran command line, run by kovran-parallel on every core
        return [sys.executable, PARALLEL_TOOL, "--will-cite", "--kovran", tools["kovran"],
                "--jobs", str(os.cpu_count() or 1)] + command("kovran", job, data, outs, tools)[1:]
    if impl == "kovran":
        program = tools["lookup_program"] if job["id"] == "j5" else os.path.join(jd, "PROGRAM")
        with open(os.path.join(jd, "PARM")) as f:
            parm = f.readline().strip()
        cmd = [tools["kovran"], "--clock", CLOCK, "--program", program,
               "--sysprint", outs["sysprint"]]
        for opt, name in job["kovran"].items():
            cmd += [f"--{opt}", res(name)]
        return cmd + [parm]
    if impl in ("mawk", "gawk"):
        cmd = [shutil.which(impl)]
        for v in job["awk_vars"]:
            cmd += ["-v", f"{AWK_VAR_NAMES[v]}={res(v)}"]
        return cmd + ["-f", os.path.join(jd, "job.awk")] + [res(a) for a in job["awk_args"]]
    if impl == "perl":
        return ["perl", os.path.join(jd, "job.pl")] + [res(a) for a in job["args"]]
    if impl in ("cobol", "hand"):
        return [tools[impl][job["id"]]] + [res(a) for a in job["args"]]
    if impl == "cat":
        return ["cat"] + [data[i] for i in job["inputs"]]
    if impl == "wc -l":
        return ["wc", "-l"] + [data[i] for i in job["inputs"]]
    raise ValueError(impl)


def job_impls(job, impls, tools):
    """The implementations that exist for this job: a hand-written program only for some, the
    sharded run for the record-local jobs."""
    return [i for i in impls if (i != "hand" or job["id"] in tools["hand"]) and
            (i != "sharded" or job.get("shard"))]


def label(impl):
    return LABELS.get(impl, impl)


def output_paths(impl, job, tag="check"):
    d = os.path.join(WORK, "out", tag, impl.replace(" ", "_"))
    os.makedirs(d, exist_ok=True)
    outs = {o: os.path.join(d, f"{job['id']}.{o}") for o in job["outputs"]}
    outs["sysprint"] = os.path.join(d, f"{job['id']}.sysprint")
    outs["stdout"] = os.path.join(d, f"{job['id']}.stdout")
    return outs


TIMEOUT = 900.0  # seconds; a run that takes longer is killed (an unfinished feature can loop)


TIME = "/usr/bin/time"


def timed_out(rc):
    return rc in (-9, 128 + 9)


def run_once(cmd, stdout_path):
    """Runs one command in WORK (where kovran-parallel makes its work folder); returns (wall
    seconds, peak RSS in KiB, exit status, stderr text). The peak RSS comes from
    /usr/bin/time where it exists: a child forked straight from this script would carry the
    script's own high-water mark across exec; for kovran-parallel it is its largest process."""
    env = dict(os.environ, LC_ALL="C")
    rss_file = os.path.join(WORK, "peak-rss.txt")
    if os.path.exists(TIME):
        cmd = [TIME, "-f", "%M", "-o", rss_file] + cmd
    with open(stdout_path, "wb") as out:
        t0 = time.perf_counter()
        p = subprocess.Popen(cmd, stdout=out, stderr=subprocess.PIPE, env=env, cwd=WORK,
                             start_new_session=True)
        # Kill the whole group: the command runs under /usr/bin/time.
        timer = threading.Timer(TIMEOUT, lambda: os.killpg(p.pid, signal.SIGKILL))
        timer.start()
        err = p.stderr.read()
        _, status, usage = os.wait4(p.pid, 0)
        wall = time.perf_counter() - t0
        timer.cancel()
        p.returncode = os.waitstatus_to_exitcode(status)
        p.stderr.close()
    text = err.decode("utf-8", "replace")
    rss = usage.ru_maxrss
    if os.path.exists(rss_file):
        with open(rss_file) as f:
            words = f.read().split()
        os.remove(rss_file)
        if words and words[-1].isdigit():
            rss = int(words[-1])
    if timed_out(p.returncode):
        text = f"killed after {TIMEOUT:.0f} s\n" + text
    return wall, rss, p.returncode, text


def remove_outputs(outs):
    for k, p in outs.items():
        if k != "sysprint" and os.path.exists(p):
            os.remove(p)


# --- checking --------------------------------------------------------------------------------

def first_difference(a, b):
    """None when the files (name, path) are equal, else a short description of the first
    difference."""
    for name, path in (a, b):
        if not os.path.exists(path):
            return f"{name} wrote no file"
    if filecmp.cmp(a[1], b[1], shallow=False):
        return None
    with open(a[1], "rb") as fa, open(b[1], "rb") as fb:
        n = 0
        while True:
            la, lb = fa.readline(), fb.readline()
            n += 1
            if la != lb:
                return (f"line {n} differs:\n        {a[0]:7} {la[:120]!r}\n"
                        f"        {b[0]:7} {lb[:120]!r}")
            if not la:
                return "files differ"


def check(jobs, impls, data, tools, keep):
    """Runs each implementation once per job and compares outputs; returns {(job, impl): text}."""
    status = {}
    for job in jobs:
        say(f"== checking {job['id']} {job['title']}")
        runs = []
        for impl in job_impls(job, impls, tools):
            outs = output_paths(impl, job)
            remove_outputs(outs)
            cmd = command(impl, job, data, outs, tools)
            wall, rss, rc, err = run_once(cmd, outs["stdout"])
            note = ""
            if impl in ("kovran", "sharded"):
                # 4 means diagnostics were printed: the outputs exist but are suspect.
                ok = rc in (0, 4)
                if rc != 0:
                    note = f"kovran exit status {rc}"
                    with open(outs["sysprint"], "rb") as f:
                        lines = f.read().decode("latin-1").splitlines()
                    for ln in [ln for ln in lines[1:] if ln.strip()][:4]:
                        note += f"\n        sysprint: {ln}"
            else:
                ok = rc == 0
                if rc != 0:
                    note = f"exit status {rc}: {err.strip()[:200]}"
            runs.append((impl, outs, ok, note, rc))
        runs = [r[:4] for r in runs]
        usable = [(i, o) for i, o, ok, _ in runs if ok]
        kov = next(((i, o) for i, o in usable if i == "kovran"), None)
        peers = [(i, o) for i, o in usable if i != "kovran"]

        def differences(a, b):
            return [f"{o}: {d}" for o in job["outputs"]
                    for d in [first_difference((a[0], a[1][o]), (b[0], b[1][o]))] if d]

        # The peers are first compared with one another (with the first of them), then each
        # with kovran.
        peer_ref = peers[0] if peers else None
        peer_diff = {i: differences(peer_ref, (i, o)) for i, o in peers[1:]}
        kov_diff = {i: differences(kov, (i, o)) for i, o in peers} if kov else {}
        for impl, outs, ok, note in runs:
            key = (job["id"], impl)
            if not ok:
                status[key] = "FAILED"
                say(f"   {label(impl):8} FAILED {note}")
                continue
            if impl == "kovran":
                agree = [i for i, d in kov_diff.items() if not d]
                if not kov_diff:
                    status[key] = "no peer ran"
                elif len(agree) == len(kov_diff):
                    status[key] = "= all peers"
                else:
                    status[key] = "DIFFERS from " + ", ".join(
                        label(i) for i, d in kov_diff.items() if d)
                say(f"   kovran   {status[key]}" + (f" ({note})" if note else ""))
                first = next((d for d in kov_diff.values() if d), [])
                for d in first[:2]:
                    say(f"      {d}")
                continue
            parts = []
            if kov:
                parts.append("= kovran" if not kov_diff[impl] else "DIFFERS from kovran")
            if impl != peer_ref[0]:
                parts.append(f"= {label(peer_ref[0])}" if not peer_diff[impl]
                             else f"DIFFERS from {label(peer_ref[0])}")
            status[key] = ", ".join(parts) or "reference peer"
            say(f"   {label(impl):8} {status[key]}")
            # A difference from kovran is shown here only when kovran agrees with some peer;
            # otherwise it was shown once under kovran.
            shown = (peer_diff.get(impl) or [])[:2]
            if kov and any(not d for d in kov_diff.values()):
                shown += kov_diff[impl][:2]
            for d in shown:
                say(f"      {d}")
        if not keep:
            for impl, outs, ok, note in runs:
                remove_outputs(outs)
    return status


# --- timing ----------------------------------------------------------------------------------

def time_rounds(jobs, impls, data, tools, rounds, status):
    """Interleaved rounds; returns {(job, impl): [(wall, rss, exit status), ...]}. A program
    that failed the check is not timed."""
    times = {}
    for r in range(rounds):
        say(f"== round {r + 1} of {rounds}")
        for job in jobs:
            order = job_impls(job, impls, tools) + FLOORS
            # Rotate the order each round so that no implementation always runs first.
            k = r % len(order)
            for impl in order[k:] + order[:k]:
                if status.get((job["id"], impl)) == "FAILED":
                    continue
                outs = output_paths(impl, job, "time")
                cmd = command(impl, job, data, outs, tools)
                stdout = os.devnull if impl == "wc -l" else outs["stdout"]
                wall, rss, rc, err = run_once(cmd, stdout)
                remove_outputs(outs)
                times.setdefault((job["id"], impl), []).append((wall, rss, rc))
    return times


def collected(text):
    """The instruction count callgrind reports on standard error, or None."""
    m = re.search(r"Collected\s*:\s*(\d+)", text)
    return int(m.group(1)) if m else None


def marginal(low, high, n_low, n_high, records=1):
    """(instructions per input record, start-up instructions) from the counts of two runs of
    n_low and n_high records per file; a job reading two files reads `records` records per
    record count."""
    per_record = (high - low) / ((n_high - n_low) * records)
    return per_record, low - per_record * n_low * records


def callgrind(jobs, impls, tools, gen, counts):
    """Instructions per input record of each implementation of each job, start-up removed:
    every run is counted under callgrind at both record counts. Returns {(job id, impl):
    (per record, start-up)}."""
    if not shutil.which("valgrind"):
        say("== callgrind: valgrind not installed, skipped")
        return {}
    wanted = [i for i in CALLGRIND_IMPLS if i in impls]
    totals = {}
    for n in counts:
        data = generate(gen, n)
        n_tools = dict(tools, lookup_program=compose_lookup_program(
            data["products"], os.path.join(WORK, f"j5.{n}.PROGRAM")))
        say(f"== callgrind: {', '.join(label(i) for i in wanted)} on {n} records")
        for job in jobs:
            for impl in job_impls(job, wanted, tools):
                outs = output_paths(impl, job, "callgrind")
                cmd = command(impl, job, data, outs, n_tools)
                cg = ["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + cmd
                wall, rss, rc, err = run_once(cg, outs["stdout"])
                remove_outputs(outs)
                count = collected(err)
                if count is None or rc not in ((0, 4) if impl == "kovran" else (0,)):
                    say(f"   {job['id']} {label(impl)}: no count (exit status {rc})")
                    continue
                totals[(job["id"], impl, n)] = count
    result = {}
    for job in jobs:
        for impl in job_impls(job, wanted, tools):
            runs = [totals.get((job["id"], impl, n)) for n in counts]
            if None not in runs:
                result[(job["id"], impl)] = marginal(*runs, *counts, job["records"])
        say(f"   {job['id']} " + ", ".join(f"{label(i)} {result[(job['id'], i)][0]:,.0f}"
                                       for i in wanted if (job["id"], i) in result)
            + " instructions per record")
    return result


def ratio(a, b):
    return f"{a / b:.2f}" if a is not None and b else "-"


def instruction_table(jobs, instr, counts):
    """The callgrind table: instructions per record of each program and kovran's ratios."""
    def figure(job, impl):
        got = instr.get((job["id"], impl))
        return got[0] if got else None

    lo, hi = (f"10^{len(str(n)) - 1}" if re.fullmatch(r"10*", str(n)) else str(n)
              for n in counts)
    lines = [f"Instructions per input record (callgrind; the growth from {lo} to {hi} records, "
             "so start-up is removed):", "",
             "| job | " + " | ".join(label(i) for i in CALLGRIND_IMPLS) +
             " | kovran ÷ mawk | kovran ÷ hand C++ | kovran start-up |",
             "|---|" + "---:|" * (len(CALLGRIND_IMPLS) + 3)]
    for job in jobs:
        if not any((job["id"], i) in instr for i in CALLGRIND_IMPLS):
            continue
        cells = [figure(job, i) for i in CALLGRIND_IMPLS]
        kov = cells[0]
        start = instr.get((job["id"], "kovran"), (None, None))[1]
        lines.append(f"| {job['id']} {job['title']} | " +
                     " | ".join("-" if c is None else f"{c:,.0f}" for c in cells) +
                     f" | {ratio(kov, figure(job, 'mawk'))} | {ratio(kov, figure(job, 'hand'))}"
                     f" | {'-' if start is None else f'{start:,.0f}'} |")
    return lines


# --- report ----------------------------------------------------------------------------------

def machine_line():
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}"


def versions(impls):
    out = []
    probes = {"mawk": ["mawk", "-W", "version"], "gawk": ["gawk", "--version"],
              "perl": ["perl", "-e", "print $^V"], "cobol": ["cobc", "--version"]}
    for impl in impls:
        if impl in probes:
            try:
                r = subprocess.run(probes[impl], stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, timeout=10)
                first = r.stdout.decode("utf-8", "replace").strip().splitlines()[0]
                out.append(f"{impl}: {first.split(',')[0].strip()[:60]}")
            except (OSError, IndexError, subprocess.TimeoutExpired):
                pass
    return out


def report(jobs, impls, notes, n, rounds, times, status, instr, counts):
    lines = []
    try:
        rev = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL
                             ).stdout.decode().strip()
    except OSError:
        rev = "?"
    lines.append(f"- N = {n} records per file, {rounds} rounds, median wall time; "
                 f"kovran at {rev}; {datetime.date.today().isoformat()}")
    lines.append(f"- machine: {machine_line()}")
    for v in versions(impls):
        lines.append(f"- {v}")
    for note in notes:
        lines.append(f"- {note}")
    lines.append("")
    lines.append("| job | program | median s | records/s | peak RSS MiB | ratio to mawk | "
                 "ratio to hand C++ | output |")
    lines.append("|---|---|---:|---:|---:|---:|---:|---|")

    def median_of(job, impl):
        ts = times.get((job["id"], impl))
        return statistics.median(w for w, _, _ in ts) if ts else None

    for job in jobs:
        for impl in impls + FLOORS:
            ts = times.get((job["id"], impl))
            name = label(impl) if impl not in FLOORS else f"`{impl}`"
            if not ts:
                if status.get((job["id"], impl)) == "FAILED":
                    lines.append(f"| {job['id']} {job['title']} | {name} | - | - | - | - | - | "
                                 "FAILED, not timed |")
                continue
            med = median_of(job, impl)
            rss = max(r for _, r, _ in ts) / 1024
            recs = n * job["records"]
            st = status.get((job["id"], impl), "floor" if impl in FLOORS else "-")
            if any(rc != 0 and not (impl in ("kovran", "sharded") and rc == 4) for _, _, rc in ts):
                st += " (failed runs)"
            lines.append(f"| {job['id']} {job['title']} | {name} | {med:.3f} | "
                         f"{recs / med:,.0f} | {rss:.1f} | {ratio(med, median_of(job, 'mawk'))} | "
                         f"{ratio(med, median_of(job, 'hand'))} | {st} |")
    medians = {key: statistics.median(w for w, _, _ in ts) for key, ts in times.items() if ts}
    if any(impl == "sharded" for _, impl in medians):
        lines.append("")
        lines += speedup_table(jobs, medians, os.cpu_count() or 1)
    if instr:
        lines.append("")
        lines += instruction_table(jobs, instr, counts)
    return "\n".join(lines) + "\n"


def speedup_table(jobs, medians, cores):
    """The record-local jobs sharded over every core against one kovran, from the medians of
    the same rounds: {(job id, impl): seconds}."""
    lines = [f"Sharded over all {cores} cores (kovran-parallel: GNU parallel, one block per core; "
             "the time includes the check, the split and the joining of the outputs):", "",
             "| job | kovran s | kovran-parallel s | speed-up |", "|---|---:|---:|---:|"]
    for job in jobs:
        one, many = medians.get((job["id"], "kovran")), medians.get((job["id"], "sharded"))
        if many is None:
            continue
        lines.append(f"| {job['id']} {job['title']} | "
                     f"{'-' if one is None else f'{one:.3f}'} | {many:.3f} | {ratio(one, many)} |")
    return lines


def available(wanted, cobol_built, hand_built=True):
    """The wanted programs that can run here, and a note for each one that cannot."""
    impls, notes = [], []
    for impl in wanted:
        if impl == "cobol" and not cobol_built:
            notes.append("note: cobc (GnuCOBOL) not installed: the COBOL peer is skipped")
        elif impl == "hand" and not hand_built:
            notes.append("note: no hand-written program built (no C++ compiler, or no job.cc "
                         "among the jobs): skipped")
        elif impl in ("mawk", "gawk", "perl") and not shutil.which(impl):
            notes.append(f"note: {impl} not installed: skipped")
        elif impl == "sharded" and not shutil.which("parallel"):
            notes.append("note: GNU parallel not installed: the sharded runs are skipped")
        else:
            impls.append(impl)
    return impls, notes


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--records", type=int, default=1000000, help="records per file (10^6)")
    ap.add_argument("--quick", action="store_true", help="10^5 records, 3 rounds")
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--jobs", default="", help="comma-separated job ids (default all)")
    ap.add_argument("--impls", default="", help="comma-separated implementations")
    ap.add_argument("--no-callgrind", action="store_true")
    ap.add_argument("--callgrind-records", default="10000,100000",
                    help="the two record counts of the callgrind runs (10000,100000)")
    ap.add_argument("--check-only", action="store_true", help="compare outputs, no timing")
    ap.add_argument("--output", help="also write the report to this file")
    ap.add_argument("--build-dir", default=os.path.join(ROOT, "build"))
    ap.add_argument("--keep", action="store_true", help="keep the checked outputs")
    ap.add_argument("--timeout", type=float, help="seconds per run (default 120 + N/10^4)")
    a = ap.parse_args()
    n, rounds = (100000, 3) if a.quick else (a.records, a.rounds)
    counts = tuple(int(c) for c in a.callgrind_records.split(",") if c)
    if len(counts) != 2 or not 0 < counts[0] < counts[1]:
        ap.error("--callgrind-records wants two record counts, the smaller first")
    global TIMEOUT
    TIMEOUT = a.timeout or 120.0 + n / 10000

    jobs = [j for j in JOBS if not a.jobs or j["id"] in a.jobs.split(",")]
    wanted = a.impls.split(",") if a.impls else ["kovran"] + PEERS
    wanted.sort(key=lambda i: i != "kovran")  # kovran first: it is the reference
    unknown = [i for i in wanted if i not in ["kovran"] + PEERS]
    if unknown:
        ap.error(f"unknown program {', '.join(unknown)}; known: kovran, {', '.join(PEERS)}")
    os.makedirs(WORK, exist_ok=True)

    tools = {"kovran": build_kovran(os.path.abspath(a.build_dir))}
    gen = build_gen()
    tools["cobol"] = build_cobol(jobs) if "cobol" in wanted else {}
    tools["hand"] = build_hand(jobs) if "hand" in wanted else {}
    impls, notes = available(wanted, bool(tools["cobol"]), bool(tools["hand"]))
    for note in notes:
        say(note)

    data = generate(gen, n)
    tools["lookup_program"] = compose_lookup_program(
        data["products"], os.path.join(WORK, f"j5.{n}.PROGRAM"))
    status = check(jobs, impls, data, tools, a.keep)
    times = {} if a.check_only else time_rounds(jobs, impls, data, tools, rounds, status)
    instr = {} if a.no_callgrind else callgrind(jobs, impls, tools, gen, counts)
    text = report(jobs, impls, notes, n, 0 if a.check_only else rounds, times, status, instr,
                  counts)
    say("")
    sys.stdout.write(text)
    if a.output:
        with open(a.output, "w") as f:
            f.write(text)
    bad = [k for k, v in status.items() if "DIFFERS" in v or v == "FAILED"]
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
