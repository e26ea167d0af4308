#!/usr/bin/env python3
"""The include rule of HACKING.md: tests/include_rule.py [SRC_DIR]

Every product file of src/ belongs to a layer. A file may include the headers of the layers
below its own, and of its own layer only those of its own folder (in the base layer, any base
header). Tests (*_test.cc and the fixture driver/testing.h) may include anything. Prints each
include that breaks the rule as FILE:LINE and exits 1 when there is one.
"""
import fnmatch
import os
import re
import sys

# First match wins: (layer, rank, patterns relative to src/). Keep in step with HACKING.md.
LAYERS = [
    ("base", 0, ["driver/run_state.*", "driver/text.*", "driver/console.*",
                 "driver/diagnostics.*", "driver/signals.*", "driver/variables.*",
                 "driver/progress.*", "driver/exit_status.h", "compiler/node.*",
                 "compiler/operand.*", "records/files.*"]),
    ("operands", 1, ["fields/field_ref.*"]),
    ("families", 2, ["fields/*", "records/*", "conditions/*", "strings/*", "tables/*"]),
    ("compiler", 3, ["compiler/*"]),
    ("walks", 4, ["engine/*", "check/*"]),
    ("driver", 5, ["driver/*"]),
]
TESTS = ["*_test.cc", "driver/testing.h"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path):
    for name, rank, patterns in LAYERS:
        if any(fnmatch.fnmatch(path, p) for p in patterns):
            return name, rank
    return None, None


def violations(src):
    found = []
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".h", ".cc")):
                continue
            path = os.path.relpath(os.path.join(folder, name), src).replace(os.sep, "/")
            if any(fnmatch.fnmatch(path, p) for p in TESTS):
                continue
            layer, rank = layer_of(path)
            if layer is None:
                found.append(f"{path}: belongs to no layer; add it to LAYERS and HACKING.md")
                continue
            with open(os.path.join(src, path), encoding="utf-8") as f:
                lines = f.readlines()
            for number, line in enumerate(lines, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                target_layer, target_rank = layer_of(target)
                if target_layer is None:
                    found.append(f"{path}:{number}: includes {target}, which belongs to no layer")
                    continue
                same_folder = target.split("/")[0] == path.split("/")[0]
                if target_rank < rank or (target_rank == rank and (rank == 0 or same_folder)):
                    continue
                found.append(f"{path}:{number}: {layer} includes {target} ({target_layer}): "
                             "only lower layers, or its own folder, may be included")
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..",
                                                              "src")
    found = violations(src)
    for v in found:
        print(v)
    if found:
        print(f"{len(found)} include(s) break the rule of HACKING.md (Layers)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
