"""Fails when a line of runtime/ is neither run by a test nor listed in the exceptions file.

The exceptions file holds one entry a line: "path:where reason", where is a line number, a
range "first-last", a function name (as far as the next function of the file begins), or a
quoted piece of code ("...": every line of the file that holds it, which stays right when
lines move). A line starting with '#' is a comment. Entries outside runtime/ are
documentation only."""
import re
import sys

from coverage_lines import measured_files

ENTRY = re.compile(r'^(\S+?):("[^"]+"|\S+)\s+(.+)$')


def read_exceptions(path):
    entries = []
    with open(path) as listing:
        for number, line in enumerate(listing, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            match = ENTRY.match(line)
            if not match:
                sys.exit(f"{path}:{number}: not 'path:line reason' or 'path:function reason'")
            entries.append((match.group(1), match.group(2)))
    return entries


def function_ranges(functions):
    """{name: (first, last)} for the functions of one file, each running to the next one."""
    starts = sorted((f["lineno"], f.get("name", "")) for f in functions)
    firsts = sorted({first for first, _ in starts})
    ranges = {}
    for first, name in starts:
        # Template instances share their first line: the range ends where another begins.
        later = [line for line in firsts if line > first]
        last = later[0] - 1 if later else 1 << 30
        for word in re.findall(r"[A-Za-z_$][\w$]*", name):
            ranges.setdefault(word, (first, last))
    return ranges


def listed_lines(entries, name, functions):
    listed = set()
    ranges = None
    for path, where in entries:
        if path != name:
            continue
        if where.startswith('"'):
            with open(name) as source:
                found = [n for n, text in enumerate(source, 1) if where[1:-1] in text]
            if not found:
                sys.exit(f"exceptions: no line of {name} holds {where}")
            listed.update(found)
        elif re.fullmatch(r"\d+", where):
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
