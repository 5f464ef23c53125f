#!/usr/bin/env python3
"""Checks run_doc_blocks.py on markdown fixtures: blocks that pass, blocks
that fail, exit with another status or print other output, and a mark on a
fence that is not ```sh. A runner that extracts nothing, runs nothing or
compares nothing fails here.

  extractor_selftest.py REPO_ROOT
"""

import os
import re
import subprocess
import sys
import tempfile

repo = os.path.abspath(sys.argv[1])
here = os.path.join(repo, "tests", "docs")
runner = os.path.join(here, "run_doc_blocks.py")
failures = []


def run(fixture):
    with tempfile.TemporaryDirectory() as bin_dir:
        done = subprocess.run([sys.executable, runner, "--bin", bin_dir, "--repo", repo,
                               os.path.join(here, "fixture", fixture)],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              timeout=120)
    return done.returncode, done.stdout


def check(name, condition, output):
    if not condition:
        failures.append(f"{name}\n{output}")


def failed_lines(output, fixture):
    return sorted(int(line) for line in
                  re.findall(rf"^FAIL tests/docs/fixture/{fixture}:(\d+): ", output, re.M))


status, output = run("good.md")
check("good.md passes", status == 0, output)
check("good.md runs its five marked blocks and not the unmarked one",
      "doc blocks: 5 run, 0 failed" in output, output)

status, output = run("bad.md")
check("bad.md fails", status == 1, output)
check("bad.md: each of its six blocks fails, named by its fence's line",
      failed_lines(output, "bad.md") == [4, 10, 21, 26, 33, 42] and "6 run, 6 failed" in output,
      output)
check("a block that fails says how it ended", "exited with 1, the guide says 0" in output, output)
check("a block that should fail but does not says so", "exited with 0, the guide says 2" in output,
      output)
check("wrong output is shown as a difference", "+two" in output and "-three" in output, output)

status, output = run("malformed.md")
check("a mark on a ```bash fence is refused", status == 1 and
      "malformed.md:3: doc-test is not directly above a ```sh fence" in output, output)

for failure in failures:
    print("FAIL", failure)
print(f"extractor self-test: {len(failures)} failed")
sys.exit(1 if failures else 0)
