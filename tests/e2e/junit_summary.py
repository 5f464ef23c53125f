# Reads a JUnit XML report with a CI report parser and prints what it
# understood: each suite with its counts, each case with its outcome.
import sys

from junitparser import JUnitXml

report = JUnitXml.fromfile(sys.argv[1])
for suite in report:
    print(f"suite {suite.name}: {suite.tests} tests, {suite.failures} failures, {suite.errors} errors")
    for case in suite:
        outcome = "passed"
        for result in case.result:
            outcome = f"{result.__class__.__name__.lower()}: {result.message}"
        print(f"  {case.name} [{case.classname}]: {outcome}")
