#!/usr/bin/env python3
"""Keeps the record of what make install put where, and takes it away again.

  tools/uninstall.py --add MANIFEST RECORD   adds the files of an install manifest to RECORD
                                             (each under $DESTDIR, when that is set)
  tools/uninstall.py RECORD                  removes every file RECORD names, the folders of
                                             kovran's own documentation left empty, and RECORD

The record is kept apart from CMake's install_manifest.txt, which every later install (cpack
too, with the package's own paths) writes over.
"""
import os
import sys


def read_paths(path):
    with open(path, encoding="utf-8") as f:
        return [line for line in f.read().split("\n") if line]


def add(manifest, record):
    # The manifest names the files without DESTDIR, where the install put them all.
    destdir = os.environ.get("DESTDIR", "")
    known = read_paths(record) if os.path.exists(record) else []
    new = [destdir + p for p in read_paths(manifest) if destdir + p not in known]
    with open(record, "a", encoding="utf-8") as f:
        f.writelines(p + "\n" for p in new)


def own_folder(path):
    """The folder .../doc/kovran that holds `path`, or None: the only folders make install
    makes for kovran alone. Shared ones (bin, man1, completions) stay."""
    parts = path.split(os.sep)
    for k in range(len(parts) - 1, 0, -1):
        if parts[k] == "kovran" and parts[k - 1] == "doc":
            return os.sep.join(parts[: k + 1])
    return None


def remove(record):
    if not os.path.exists(record):
        print(f"uninstall: nothing to remove: {record} records no install")
        return 0
    folders = set()
    for path in read_paths(record):
        if os.path.lexists(path):
            os.remove(path)
            print(f"removed {path}")
        else:
            print(f"already gone: {path}")
        own = own_folder(path)
        if own is not None:
            folders.add(own)
    for own in sorted(folders):
        # Deepest first, and only folders left empty: nothing the user put there goes.
        for parent, _, _ in os.walk(own, topdown=False):
            if not os.listdir(parent):
                os.rmdir(parent)
    os.remove(record)
    return 0


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--add":
        add(sys.argv[2], sys.argv[3])
        return 0
    if len(sys.argv) == 2:
        return remove(sys.argv[1])
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
