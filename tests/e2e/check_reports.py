# Reads a run's reports as a test station would and prints what it found:
# the JUnit file checked by xmllint and read by a CI report parser, the
# JSON lines of standard output by a JSON parser, the CSV by Python's csv
# module, with every cell checked for a formula start. Prints the value of
# the NAME's row in each, one line per report, or why a report is unusable.
#   check_reports.py NAME REPORT.xml REPORT.csv STDOUT.txt
import csv
import json
import subprocess
import sys

from junitparser import JUnitXml

name, xml_path, csv_path, stdout_path = sys.argv[1:5]

lint = subprocess.run(["xmllint", "--noout", xml_path], capture_output=True, text=True)
print("xmllint: " + ("valid" if lint.returncode == 0 else "INVALID " + lint.stderr.strip()))

for suite in JUnitXml.fromfile(xml_path):
    for case in suite:
        for result in case.result:
            if case.name.startswith(name + " "):
                print(f"junit: {result.__class__.__name__.lower()}: {result.message}")

with open(stdout_path, "rb") as out:
    for raw in out:
        line = raw.decode("utf-8")  # raises on bytes that are not UTF-8
        if line.startswith("{"):
            record = json.loads(line)
            if record["name"] == name:
                print(f"json: {record['verdict']} value={record['value']}")

FORMULA_STARTS = ("=", "+", "-", "@", "\t", "\r")


def is_number(cell):
    try:
        float(cell)
        return True
    except ValueError:
        return False


with open(csv_path, newline="", encoding="utf-8") as f:
    rows = [row for row in csv.reader(line for line in f if not line.startswith("#"))]
header = rows[0]
for row in rows[1:]:
    for cell in row:
        if cell.startswith(FORMULA_STARTS) and not is_number(cell):
            print(f"csv: FORMULA CELL {cell!r}")
    record = dict(zip(header, row))
    if record["name"] == name:
        print(f"csv: {record['verdict']} value={record['value']}")
