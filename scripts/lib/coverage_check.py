"""Fails when a line of runtime/ is neither run by a test nor listed in the exceptions file.

The exceptions file holds one entry a line, "path:line reason", "path:first-last reason" or
"path:function reason" (a function by its name, as far as the next function of the file
begins); '#' starts a comment. Entries outside runtime/ are documentation only."""
import re
import sys

from coverage_lines import measured_files

ENTRY = re.compile(r"^(\S+?):(\S+)\s+(.+)$")


def read_exceptions(path):
    entries = []
    with open(path) as listing:
        for number, line in enumerate(listing, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            match = ENTRY.match(line)
            if not match:
                sys.exit(f"{path}:{number}: not 'path:line reason' or 'path:function reason'")
            entries.append((match.group(1), match.group(2)))
    return entries


def function_ranges(functions):
    """{name: (first, last)} for the functions of one file, each running to the next one."""
    starts = sorted((f["lineno"], f.get("name", "")) for f in functions)
    ranges = {}
    for i, (first, name) in enumerate(starts):
        last = starts[i + 1][0] - 1 if i + 1 < len(starts) else 1 << 30
        for word in re.findall(r"[A-Za-z_$][\w$]*", name):
            ranges.setdefault(word, (first, last))
    return ranges


def listed_lines(entries, name, functions):
    listed = set()
    ranges = None
    for path, where in entries:
        if path != name:
            continue
        if re.fullmatch(r"\d+", where):
            listed.add(int(where))
        elif re.fullmatch(r"\d+-\d+", where):
            first, last = map(int, where.split("-"))
            listed.update(range(first, last + 1))
        else:
            ranges = ranges if ranges is not None else function_ranges(functions)
            if where not in ranges:
                sys.exit(f"exceptions: no function {where} in {name}")
            first, last = ranges[where]
            listed.update(range(first, min(last, first + 100000) + 1))
    return listed


def main(report_path, exceptions_path):
    entries = read_exceptions(exceptions_path)
    missing = []
    for name, lines, _, functions in measured_files(report_path):
        if not name.startswith("runtime/"):
            continue
        listed = listed_lines(entries, name, functions)
        missing += [f"{name}:{n}" for n, count in sorted(lines.items())
                    if count == 0 and n not in listed]
    for line in missing:
        print(f"not run by any test and not listed: {line}")
    print(f"runtime lines neither covered nor listed: {len(missing)}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
