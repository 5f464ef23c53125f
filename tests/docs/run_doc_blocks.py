#!/usr/bin/env python3
"""Runs the runnable command blocks of the project's guides.

A runnable block is a ```sh fence with the line <!-- doc-test --> directly
above it (<!-- doc-test exit=N --> when it is meant to end with status N).
A ```text fence with <!-- doc-output --> directly above it, right after a
runnable block, is the output the block must print (standard output and
standard error together, as on a terminal). Other fences are text to read
and never run.

  run_doc_blocks.py --bin BIN_DIR --repo REPO_ROOT [FILE.md...]

Without files it runs README.md and every docs/*.md of REPO_ROOT (globbed
when the test runs, so a new guide is covered without a build change).

Each file gets a scratch folder of its own: the working folder of its
blocks, holding links to the repository's docs/, examples/, tests/ and
tours/ (so the guides' relative paths hold and whatever a block writes
stays in the scratch folder), a home, a settings folder and a program
folder (SONVIO_PROGRAM_DIR, links to the built plug-in, transport and
simulator; the panels' logs land there). A transport address, trace or
clock a user exported is taken away (benchora --chip gen2 then starts its
own simulated handset on a free port); the build's bin folder comes first on PATH; the
repository root is in SONVIO_REPO. The blocks of one file run in order,
each in a fresh `bash -e -o pipefail`, so a later block may read the files
an earlier one wrote. What a block leaves running in the background is
ended when the block ends.

Before comparing, both the expected and the printed text are normalised:
trailing blanks and trailing empty lines go; "127.0.0.1:<port>" becomes
"127.0.0.1:PORT" (servers take free ports); a UTC time stamp
"2026-12-07T12:34:02Z" becomes "YYYY-MM-DDTHH:MM:SSZ" and hostname="..."
becomes hostname="HOST". A line "..." in the expected text stands for any
number of lines (none included).

Prints one line per block failed, naming FILE:LINE, then the count of
blocks run; exits 1 when any block failed, or when none was found.
"""

import argparse
import dataclasses
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

RUN_MARK = re.compile(r"^<!-- doc-test(?: exit=(\d+))? -->$")
OUTPUT_MARK = "<!-- doc-output -->"
BLOCK_TIMEOUT_S = 60
LINKED_FOLDERS = ("docs", "examples", "tests", "tours")
PROGRAM_FILES = ("Sonvio.dll", "TESSIC.dll", "fmr-sim")


@dataclasses.dataclass
class Block:
    path: str
    line: int  # the line of the ```sh fence, from 1
    code: str
    exit_status: int = 0
    expected: str | None = None


class MarkError(Exception):
    pass


def fence_body(lines, start, path):
    """The lines inside the fence opened at lines[start]; the index after it."""
    body = []
    for index in range(start + 1, len(lines)):
        if lines[index].rstrip() == "```":
            return "\n".join(body) + "\n", index + 1
        body.append(lines[index])
    raise MarkError(f"{path}:{start + 1}: the fence is never closed")


def extract(path):
    with open(path, encoding="utf-8") as handle:
        lines = handle.read().split("\n")
    blocks = []
    index = 0
    while index < len(lines):
        mark = RUN_MARK.match(lines[index].strip())
        if lines[index].strip() == OUTPUT_MARK:
            raise MarkError(f"{path}:{index + 1}: doc-output without a doc-test block before it")
        if not mark:
            index += 1
            continue
        fence = index + 1
        if fence >= len(lines) or lines[fence].rstrip() != "```sh":
            raise MarkError(f"{path}:{index + 1}: doc-test is not directly above a ```sh fence")
        code, index = fence_body(lines, fence, path)
        block = Block(path, fence + 1, code, int(mark.group(1) or 0))
        after = index
        while after < len(lines) and lines[after].strip() == "":
            after += 1
        if after < len(lines) and lines[after].strip() == OUTPUT_MARK:
            if after + 1 >= len(lines) or lines[after + 1].rstrip() != "```text":
                raise MarkError(f"{path}:{after + 1}: doc-output is not directly above a ```text fence")
            block.expected, index = fence_body(lines, after + 1, path)
        blocks.append(block)
    return blocks


def normalise(text):
    text = re.sub(r"127\.0\.0\.1:\d+", "127.0.0.1:PORT", text)
    text = re.sub(r"\b\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", "YYYY-MM-DDTHH:MM:SSZ", text)
    text = re.sub(r'hostname="[^"]*"', 'hostname="HOST"', text)
    lines = [line.rstrip() for line in text.split("\n")]
    while lines and lines[-1] == "":
        lines.pop()
    return lines


def matches(expected, printed):
    """Whether the printed lines fit the expected ones, "..." being any lines."""
    reachable = {0}  # indexes into printed that the expected lines so far can end at
    for want in expected:
        if want == "...":
            reachable = set(range(min(reachable), len(printed) + 1)) if reachable else set()
        else:
            reachable = {at + 1 for at in reachable if at < len(printed) and printed[at] == want}
        if not reachable:
            return False
    return len(printed) in reachable


def make_scratch(root, name, repo, bin_dir):
    scratch = os.path.join(root, name)
    for sub in ("home/.config", "settings", "program"):
        os.makedirs(os.path.join(scratch, sub), exist_ok=True)
    for folder in LINKED_FOLDERS:
        if os.path.isdir(os.path.join(repo, folder)):
            os.symlink(os.path.join(repo, folder), os.path.join(scratch, folder))
    for file in PROGRAM_FILES:
        if os.path.exists(os.path.join(bin_dir, file)):
            os.symlink(os.path.join(bin_dir, file), os.path.join(scratch, "program", file))
    env = dict(os.environ)
    for variable in ("TESSIC_AT_SERVER", "TESSIC_TIMEOUT_MS", "TESSIC_TRACE", "SONVIO_CLOCK",
                     "WINEPREFIX"):
        env.pop(variable, None)
    env.update(
        HOME=os.path.join(scratch, "home"),
        XDG_CONFIG_HOME=os.path.join(scratch, "home/.config"),
        SONVIO_CONFIG_DIR=os.path.join(scratch, "settings"),
        SONVIO_PROGRAM_DIR=os.path.join(scratch, "program"),
        SONVIO_REPO=repo,
        PATH=bin_dir + os.pathsep + env.get("PATH", "/usr/bin:/bin"),
        LC_ALL="C.UTF-8",
    )
    return scratch, env


def run_block(block, scratch, env):
    """None when the block did as the guide says, else why not."""
    # The output goes to a file, and the block gets a process group of its
    # own that is ended with it: a program a block left running in the
    # background (a simulator) neither holds the test up nor outlives it.
    with tempfile.TemporaryFile() as output:
        shell = subprocess.Popen(["bash", "-e", "-o", "pipefail", "-c", block.code], cwd=scratch,
                                 env=env, stdin=subprocess.DEVNULL, stdout=output,
                                 stderr=subprocess.STDOUT, start_new_session=True)
        try:
            status = shell.wait(timeout=BLOCK_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            status = None
        try:
            os.killpg(shell.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        shell.wait()
        output.seek(0)
        printed = output.read().decode("utf-8", "replace")
    if status is None:
        return f"did not end within {BLOCK_TIMEOUT_S} s; it printed:\n" + indent(printed)
    if status != block.exit_status:
        return (f"exited with {status}, the guide says {block.exit_status}; it printed:\n"
                + indent(printed))
    if block.expected is not None and not matches(normalise(block.expected), normalise(printed)):
        return "printed other output than the guide shows:\n" + diff(block.expected, printed)
    return None


def indent(text):
    return "".join("    " + line + "\n" for line in text.rstrip("\n").split("\n")[-40:])


def diff(expected, printed):
    import difflib
    lines = difflib.unified_diff(normalise(expected), normalise(printed), "the guide", "printed",
                                 lineterm="", n=2)
    return indent("\n".join(lines))


def guides(repo):
    found = [os.path.join(repo, "README.md")]
    docs = os.path.join(repo, "docs")
    found += sorted(os.path.join(docs, name) for name in os.listdir(docs) if name.endswith(".md"))
    return [path for path in found if os.path.isfile(path)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bin", required=True, help="the build's bin folder")
    parser.add_argument("--repo", required=True, help="the repository root")
    parser.add_argument("files", nargs="*", help="markdown files (default: README.md, docs/*.md)")
    options = parser.parse_args()
    repo = os.path.abspath(options.repo)
    bin_dir = os.path.abspath(options.bin)
    files = [os.path.abspath(path) for path in options.files] or guides(repo)

    started = time.monotonic()
    failures = 0
    count = 0
    root = tempfile.mkdtemp(prefix="sonvio-doc-")
    try:
        for number, path in enumerate(files):
            shown = os.path.relpath(path, repo) if path.startswith(repo + os.sep) else path
            try:
                blocks = extract(path)
            except MarkError as error:
                print(f"FAIL {str(error).replace(path, shown, 1)}")
                failures += 1
                continue
            if not blocks:
                continue
            scratch, env = make_scratch(root, f"{number}-{os.path.basename(path)}", repo, bin_dir)
            for block in blocks:
                count += 1
                why = run_block(block, scratch, env)
                if why:
                    failures += 1
                    print(f"FAIL {shown}:{block.line}: the block {why}")
            print(f"{shown}: {len(blocks)} blocks")
    finally:
        shutil.rmtree(root, ignore_errors=True)
    seconds = time.monotonic() - started
    print(f"doc blocks: {count} run, {failures} failed, {seconds:.1f} s")
    if count == 0:
        print("FAIL no runnable block found")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
