#!/usr/bin/env python3
"""Adds up CTest's JUnit reports into one line: "N passed, N failed".

Arguments are REPORT:EXITCODE pairs, one per CTest run. A run that exited non-zero
without a failing test in its report counts as one failure, so that a broken test
list or a crash of CTest itself never reads as success."""
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for argument in sys.argv[1:]:
    path, _, code = argument.rpartition(":")
    run_failed = code not in ("", "0")
    failures_before = failed
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError) as error:
        print(f"cannot read {path}: {error}", file=sys.stderr)
        failed += 1
        continue
    for case in root.iter("testcase"):
        status = case.get("status", "")
        if case.find("failure") is not None or case.find("error") is not None or status == "fail":
            failed += 1
        elif case.find("skipped") is not None or status in ("notrun", "disabled"):
            skipped += 1
        else:
            passed += 1
    if run_failed and failed == failures_before:
        print(f"{path}: CTest failed without a failing test (exit code {code})", file=sys.stderr)
        failed += 1
line = f"{passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed or passed == 0 else 0)
