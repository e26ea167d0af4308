#!/usr/bin/env python3
"""What make install and make deb put on a machine, and that it works from there.

  tests/install_test.py install BUILD   install under a scratch DESTDIR as make install does,
                                        run from there, then uninstall: nothing of it is left
  tests/install_test.py package BUILD   make the Debian package with cpack and unpack it
  tests/install_test.py package --deb FILE   unpack a package already made (CI: make deb)

An unpacked or installed tree must hold the binary and kovran-parallel, the manual pages, the
bash completion, the copyright file, docs/scaling.md and the example jobs without their
outputs; its kovran must show its version and run the example reformat as its expect/ folder
says, and its kovran-parallel must find that kovran. Exit status 77: skipped (no dpkg-deb).
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
UNINSTALL = os.path.join(SOURCE, "tools", "uninstall.py")


def files_under(root):
    found = set()
    for parent, _, names in os.walk(root):
        found.update(os.path.relpath(os.path.join(parent, n), root) for n in names)
    return found


def check_tree(prefix):
    """The installed files under `prefix` (/usr of a package); returns the failures."""
    failures = []
    have = files_under(prefix)
    want = {
        "bin/kovran",
        "bin/kovran-parallel",
        "share/man/man1/kovran.1",
        "share/man/man1/kovran-parallel.1",
        "share/man/man7/kovran-language.7",
        "share/bash-completion/completions/kovran",
        "share/doc/kovran/copyright",
        "share/doc/kovran/scaling.md",
    }
    examples = os.path.join(SOURCE, "examples")
    for name in os.listdir(examples):
        job = os.path.join(examples, name)
        if not os.path.isdir(job):
            want.add(f"share/doc/kovran/examples/{name}")
            continue
        outputs = set(os.listdir(os.path.join(job, "expect")))
        for f in files_under(job):
            if f not in outputs and f not in ("LISTING", "FILEDUMP"):
                want.add(f"share/doc/kovran/examples/{name}/{f}")
    failures += [f"missing: {f}" for f in sorted(want - have)]
    failures += [f"not expected: {f}" for f in sorted(have - want)]
    kovran = os.path.join(prefix, "bin", "kovran")
    if not os.access(kovran, os.X_OK):
        return failures + ["bin/kovran is not executable"]
    version = subprocess.run([kovran, "--version"], capture_output=True, text=True)
    if version.returncode != 0 or not version.stdout.startswith("kovran "):
        failures.append(f"kovran --version: {version.returncode} {version.stdout!r}")
    print(f"{kovran} --version: {version.stdout.strip()}")
    # kovran-parallel finds the kovran installed beside it.
    tool = os.path.join(prefix, "bin", "kovran-parallel")
    told = subprocess.run([tool, "--version"], capture_output=True, text=True)
    if told.returncode != 0 or version.stdout not in told.stdout:
        failures.append(f"kovran-parallel --version: {told.returncode} {told.stdout!r}")
    job = os.path.join(prefix, "share", "doc", "kovran", "examples", "reformat")
    run = subprocess.run([sys.executable, os.path.join(HERE, "run_case.py"), kovran, job],
                         capture_output=True, text=True)
    if run.returncode != 0:
        failures.append("the installed example reformat:\n" + run.stdout)
    else:
        print(f"{job}: runs with --parm-file PARM and writes what its expect/ holds")
    return failures


def install(build, work):
    stage = os.path.join(work, "stage")
    prefix = "/opt/kovran"
    record = os.path.join(work, "installed_files.txt")
    env = dict(os.environ, DESTDIR=stage)
    subprocess.run(["cmake", "--install", build, "--prefix", prefix], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run([sys.executable, UNINSTALL, "--add",
                    os.path.join(build, "install_manifest.txt"), record], env=env, check=True)
    with open(record) as f:
        recorded = f.read().split()
    if not recorded or any(not p.startswith(stage + "/") for p in recorded):
        return [f"the record names files outside the scratch root: {recorded[:3]}"]
    failures = check_tree(stage + prefix)
    # What a user ran in an installed example folder is theirs: uninstall leaves it.
    job = stage + prefix + "/share/doc/kovran/examples/reformat"
    with open(os.path.join(job, "FILE2"), "w") as f:
        f.write("mine\n")
    subprocess.run([sys.executable, UNINSTALL, record], check=True, stdout=subprocess.DEVNULL)
    left = files_under(stage)
    if left != {"opt/kovran/share/doc/kovran/examples/reformat/FILE2"}:
        failures.append(f"left after uninstall: {sorted(left)}")
    elif os.listdir(os.path.dirname(job)) != ["reformat"] or os.listdir(job) != ["FILE2"]:
        failures.append("the folders of kovran's documentation left empty are still there")
    if os.path.exists(record):
        failures.append("the record of the install is still there")
    return failures


def package(deb, work):
    fields = subprocess.run(["dpkg-deb", "--field", deb, "Package", "Version", "Depends"],
                            capture_output=True, text=True, check=True).stdout
    failures = []
    if "Package: kovran" not in fields or "Depends: " not in fields:
        failures.append(f"control fields: {fields!r}")
    root = os.path.join(work, "root")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    return failures + check_tree(os.path.join(root, "usr"))


def main():
    mode, where = sys.argv[1], sys.argv[-1]
    with tempfile.TemporaryDirectory(prefix="kovran-install-") as work:
        if mode == "install":
            failures = install(os.path.abspath(where), work)
        else:
            if shutil.which("dpkg-deb") is None:
                print("no dpkg-deb: the package is not checked")
                return 77
            if sys.argv[2] == "--deb":
                deb = os.path.abspath(where)
            else:
                out = os.path.join(work, "package")
                subprocess.run(["cpack", "-G", "DEB", "--config",
                                os.path.join(where, "CPackConfig.cmake"), "-B", out],
                               check=True, stdout=subprocess.DEVNULL)
                deb = glob.glob(os.path.join(out, "kovran_*.deb"))[0]
            failures = package(deb, work)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
