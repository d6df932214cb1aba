"""Fails when a line of runtime/ is neither run by a test nor listed in the exceptions file,
and when an entry of the file no longer names what it was written for.

The exceptions file holds one entry a line: "path:where reason", where is
  "piece of code"     the one line of the file that holds it;
  "piece of code"+N   that line and the N lines after it;
  Function            the function of that name, as far as the next function of the file.
Line numbers are refused: other changes move them. A line starting with '#' is a comment.
Entries outside runtime/ are documentation only.

An entry is stale, and fails, when its piece of code is on no line or on more than one, its
function or file is gone, or every line it names is run by a test."""
import re
import sys

from coverage_lines import measured_files

ENTRY = re.compile(r'^(\S+?):("[^"]+"(?:\+\d+)?|[A-Za-z_]\w*)\s+(.+)$')
LINE_NUMBERS = re.compile(r"^\S+?:\d+(-\d+)?\s")


def read_exceptions(path):
    entries = []
    with open(path) as listing:
        for number, line in enumerate(listing, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            where = f"{path}:{number}"
            if LINE_NUMBERS.match(line):
                sys.exit(f'{where}: a line number moves with every change: quote the code '
                         f'("piece of code" or "piece of code"+N) or name the function')
            match = ENTRY.match(line)
            if not match:
                sys.exit(f'{where}: not \'path:"piece of code" reason\', '
                         f'\'path:"piece of code"+N reason\' or \'path:Function reason\'')
            entries.append((where, match.group(1), match.group(2)))
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


def named_lines(entry, name, functions, source):
    """The line numbers an entry names; exits when it names nothing."""
    origin, _, where = entry
    if where.startswith('"'):
        piece, _, after = where[1:].partition('"')
        found = [n for n, text in enumerate(source, 1) if piece in text]
        if len(found) != 1:
            holders = "no line of {} holds" if not found else f"lines {found} of {{}} hold"
            sys.exit(f'{origin}: {holders.format(name)} "{piece}": the entry is stale or '
                     f"must quote more of its line")
        extra = int(after[1:]) if after else 0
        return set(range(found[0], found[0] + extra + 1))
    first, last = function_ranges(functions).get(where, (None, None))
    if first is None:
        sys.exit(f"{origin}: no function {where} in {name}: the entry is stale")
    return set(range(first, min(last, len(source)) + 1))


def main(report_path, exceptions_path):
    entries = [e for e in read_exceptions(exceptions_path) if e[1].startswith("runtime/")]
    missing, stale, seen = [], [], set()
    for name, lines, _, functions in measured_files(report_path):
        if not name.startswith("runtime/"):
            continue
        seen.add(name)
        mine = [entry for entry in entries if entry[1] == name]
        with open(name) as file:
            source = file.readlines() if mine else []
        listed = set()
        for entry in mine:
            named = named_lines(entry, name, functions, source)
            if not any(lines.get(n) == 0 for n in named):
                stale.append(f"{entry[0]}: every line it names in {name} is run by a test "
                             f"(or holds no code): remove the entry")
            listed |= named
        missing += [f"{name}:{n}" for n, count in sorted(lines.items())
                    if count == 0 and n not in listed]
    stale += [f"{origin}: {path} is not measured: the entry is stale"
              for origin, path, _ in entries if path not in seen]
    for line in missing:
        print(f"not run by any test and not listed: {line}")
    for line in stale:
        print(line)
    print(f"runtime lines neither covered nor listed: {len(missing)}; stale entries: "
          f"{len(stale)}")
    return 1 if missing or stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
