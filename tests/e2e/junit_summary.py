# Reads a JUnit XML report with a CI report parser and prints what it
# understood: each suite with its counts, each case with its outcome.
import sys

from junitparser import JUnitXml

report = JUnitXml.fromfile(sys.argv[1])
for suite in report:
    print(f"suite {suite.name}: {suite.tests} tests, {suite.failures} failures, "
          f"{suite.errors} errors, {suite.skipped} skipped")
    # What the suite is about, as far as it is the same on every bench.
    stable = ("dut", "chip", "link", "handset", "plugin_version")
    named = {p.name: p.value for p in suite.properties()}
    print("  about: " + ", ".join(f"{name}={named[name]}" for name in stable if name in named))
    for case in suite:
        outcome = "passed"
        for result in case.result:
            outcome = f"{result.__class__.__name__.lower()}: {result.message}"
        print(f"  {case.name} [{case.classname}]: {outcome}")
