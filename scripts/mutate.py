#!/usr/bin/env python3
"""Mutation runner: how many plausible programmer mistakes does the suite catch?

Copies the tree (the files git knows of, as they are in the working tree, or
those of a commit with --rev) to build/mutate/tree, builds it once without sanitizers and checks that ctest
passes there. Then, for each fault of the list, one at a time: replaces its
text in its file, rebuilds incrementally, runs ctest (stopping at the first
failure), and puts the file back. A fault is caught when ctest fails; one
whose tree does not build is reported apart and not counted. The Windows
cross builds and the Wine runs are left out (each would rebuild everything);
their portable code runs in the native tests.

The list (tests/mutation/faults.tsv): one fault a line, tab-separated:
AREA, FILE, TEXT, REPLACEMENT, WHAT. TEXT must stand exactly once in FILE;
in TEXT and REPLACEMENT, \\n is a line end, \\t a tab, \\\\ a backslash.
Lines starting with # and blank lines are skipped.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
from collections import OrderedDict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXCLUDED_TESTS = "^windows_(cross_build|exports|package|wine_|ini_same_bytes)"


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "t": "\t", "\\": "\\"}.get(text[i + 1], "\\" + text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class Fault:
    def __init__(self, number, line_no, area, path, text, replacement, what):
        self.number, self.line_no = number, line_no
        self.area, self.path, self.what = area, path, what
        self.text, self.replacement = unescape(text), unescape(replacement)


def read_faults(path):
    faults, problems = [], []
    with open(path, encoding="utf-8") as f:
        for line_no, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 5:
                problems.append(f"{path}:{line_no}: {len(fields)} fields, want 5")
                continue
            faults.append(Fault(len(faults) + 1, line_no, *fields))
    return faults, problems


def check_faults(faults, files):
    problems = []
    for fault in faults:
        if fault.path not in files:
            problems.append(f"line {fault.line_no}: no file {fault.path}")
            continue
        count = files[fault.path].decode("utf-8").count(fault.text)
        if count != 1:
            problems.append(f"line {fault.line_no}: text stands {count} times in {fault.path}: "
                            f"{fault.text!r}")
        if fault.text == fault.replacement:
            problems.append(f"line {fault.line_no}: replacement changes nothing")
    return problems


def tree_files(rev):
    """The files to copy: name -> bytes, from the working tree or a commit."""
    if rev is None:
        names = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                               check=True, capture_output=True).stdout.decode().split("\0")
        files = {}
        for name in names:
            path = os.path.join(ROOT, name)
            if name and not name.startswith("build/") and os.path.isfile(path):
                files[name] = open(path, "rb").read()
        return files
    names = subprocess.run(["git", "ls-tree", "-r", "-z", "--name-only", rev], cwd=ROOT,
                           check=True, capture_output=True).stdout.decode().split("\0")
    return {name: subprocess.run(["git", "show", f"{rev}:{name}"], cwd=ROOT, check=True,
                                 capture_output=True).stdout for name in names if name}


def copy_tree(tree, files):
    wanted = set(files)
    for name, data in files.items():
        target = os.path.join(tree, name)
        # Unchanged files keep their time stamps, so a rerun rebuilds little.
        if os.path.isfile(target) and open(target, "rb").read() == data:
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(data)
        mode = os.stat(os.path.join(ROOT, name)).st_mode if os.path.exists(
            os.path.join(ROOT, name)) else 0o644
        os.chmod(target, mode & 0o777)
    for folder, _, names in os.walk(tree):
        for name in names:
            relative = os.path.relpath(os.path.join(folder, name), tree)
            if relative not in wanted:
                os.remove(os.path.join(folder, name))


def run(command, log, cwd=None, timeout=None):
    with open(log, "w") as out:
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", default=os.path.join(ROOT, "tests/mutation/faults.tsv"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build/mutate"))
    parser.add_argument("--area", action="append", help="only faults of this area (repeatable)")
    parser.add_argument("--only", type=int, action="append", help="only fault number N")
    parser.add_argument("--check", action="store_true", help="only check the list against the tree")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--results", help="also write the results table (TSV) to this file")
    parser.add_argument("--rev", help="plant the faults in this commit instead of the working tree")
    args = parser.parse_args()

    faults, problems = read_faults(args.list)
    if args.area:
        faults = [f for f in faults if f.area in args.area]
    if args.only:
        faults = [f for f in faults if f.number in args.only]
    files = tree_files(args.rev)
    problems += check_faults(faults, files)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 2
    print(f"{len(faults)} faults in {args.list}")
    if args.check:
        return 0
    tree = os.path.join(args.work, "tree")
    os.makedirs(tree, exist_ok=True)
    copy_tree(tree, files)

    build = os.path.join(args.work, "build")
    logs = os.path.join(args.work, "logs")
    os.makedirs(logs, exist_ok=True)
    jobs = str(args.jobs)
    ctest = ["ctest", "--test-dir", build, "-j", jobs, "--timeout", "120", "--stop-on-failure",
             "-E", EXCLUDED_TESTS]
    configure = ["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
                 "-DSONVIO_SANITIZE=OFF", "-DSONVIO_BUILD_BENCH=OFF"]
    started = time.time()
    if run(configure, os.path.join(logs, "configure.log")) != 0 or \
            run(["cmake", "--build", build, "-j", jobs], os.path.join(logs, "build.log")) != 0:
        print(f"the unchanged tree does not build: see {logs}/build.log", file=sys.stderr)
        return 2
    if run(ctest, os.path.join(logs, "baseline.log")) != 0:
        print(f"ctest fails on the unchanged tree: see {logs}/baseline.log", file=sys.stderr)
        return 2
    print(f"baseline built and passed in {time.time() - started:.0f} s")

    areas = OrderedDict()
    survivors = []
    for fault in faults:
        file = os.path.join(tree, fault.path)
        original = open(file, encoding="utf-8").read()
        began = time.time()
        try:
            with open(file, "w", encoding="utf-8") as f:
                f.write(original.replace(fault.text, fault.replacement, 1))
            log = os.path.join(logs, f"fault-{fault.number}.log")
            if run(["cmake", "--build", build, "-j", jobs], log) != 0:
                verdict = "no build"
            else:
                verdict = "caught" if run(ctest, log, timeout=1200) != 0 else "SURVIVED"
        finally:
            with open(file, "w", encoding="utf-8") as f:
                f.write(original)
        stats = areas.setdefault(fault.area, {"caught": 0, "total": 0, "no build": 0})
        if verdict == "no build":
            stats["no build"] += 1
        else:
            stats["total"] += 1
            stats["caught"] += verdict == "caught"
        if verdict == "SURVIVED":
            survivors.append(fault)
        print(f"[{fault.number:3}] {verdict:8} {fault.area:10} {fault.path}: {fault.what} "
              f"({time.time() - began:.0f} s)", flush=True)
    # The tree is left as it was copied: rebuild it so a rerun starts clean.
    run(["cmake", "--build", build, "-j", jobs], os.path.join(logs, "build.log"))

    rows = [("area", "caught", "total", "score")]
    caught = total = 0
    for area, stats in areas.items():
        caught, total = caught + stats["caught"], total + stats["total"]
        score = 100.0 * stats["caught"] / stats["total"] if stats["total"] else 0.0
        rows.append((area, str(stats["caught"]), str(stats["total"]), f"{score:.0f} %"))
    rows.append(("all", str(caught), str(total), f"{100.0 * caught / total:.0f} %" if total else "-"))
    print()
    for row in rows:
        print(f"{row[0]:12} {row[1]:>7} {row[2]:>6} {row[3]:>6}")
    unbuilt = sum(s["no build"] for s in areas.values())
    if unbuilt:
        print(f"{unbuilt} faults did not build and are not counted")
    for fault in survivors:
        print(f"survived: [{fault.number}] {fault.area} {fault.path}: {fault.what}")
    print(f"{time.time() - started:.0f} s in all")
    if args.results:
        with open(args.results, "w") as out:
            for row in rows:
                out.write("\t".join(row) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
