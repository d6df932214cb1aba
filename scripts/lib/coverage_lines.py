"""Reads gcovr's JSON report: the measured lines and branches of each source file."""
import json


def measured_files(report_path):
    """Yields (file, lines, branches): lines as {line number: count} of the lines that hold
    code, branches as a list of counts."""
    with open(report_path) as report:
        files = json.load(report)["files"]
    for entry in files:
        lines, branches = {}, []
        for line in entry["lines"]:
            if line.get("gcovr/noncode") or line.get("gcovr/excluded"):
                continue
            number = line["line_number"]
            lines[number] = lines.get(number, 0) + line["count"]
            branches.extend(branch["count"] for branch in line.get("branches", []))
        yield entry["file"], lines, branches, entry.get("functions", [])
