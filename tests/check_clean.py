#!/usr/bin/env python3
"""Every shipped job checks clean: tests/check_clean.py KOVRAN ROOT...

Runs kovran --check with the job's PARM over each directory under ROOT that holds a PROGRAM
(the example jobs, the benchmark jobs), in a scratch copy of its script. A correct script
must give status 0, nothing on standard error or output, and no file.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def main():
    kovran = os.path.abspath(sys.argv[1])
    failures = 0
    jobs = 0
    for root in sys.argv[2:]:
        for name in sorted(os.listdir(root)):
            job = os.path.join(root, name)
            if not os.path.isfile(os.path.join(job, "PROGRAM")):
                continue
            jobs += 1
            with tempfile.TemporaryDirectory(prefix="kovran-check-") as work:
                shutil.copy(os.path.join(job, "PROGRAM"), work)
                parm = []
                if os.path.exists(os.path.join(job, "PARM")):
                    with open(os.path.join(job, "PARM")) as f:
                        parm = f.read().splitlines()[:1]
                proc = subprocess.run([kovran, "--check"] + parm, cwd=work, capture_output=True,
                                      timeout=60)
                left = sorted(os.listdir(work))
            if proc.returncode != 0 or proc.stdout or proc.stderr or left != ["PROGRAM"]:
                failures += 1
                print(f"FAIL: {job}: status {proc.returncode}, files {left}")
                sys.stdout.write(proc.stdout.decode("latin-1") + proc.stderr.decode("latin-1"))
    if jobs == 0:
        print("FAIL: no job found")
        return 1
    print(f"{jobs} jobs, {failures} with findings")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
