"""Prints one line: line and branch coverage of runtime/ and of platform/."""
import sys

from coverage_lines import measured_files


def main(report_path):
    totals = {"runtime/": [0, 0, 0, 0], "platform/": [0, 0, 0, 0]}
    for name, lines, branches, _ in measured_files(report_path):
        for folder, total in totals.items():
            if name.startswith(folder):
                total[0] += sum(1 for count in lines.values() if count > 0)
                total[1] += len(lines)
                total[2] += sum(1 for count in branches if count > 0)
                total[3] += len(branches)
    parts = []
    for folder, (hit, lines, taken, branches) in totals.items():
        parts.append(f"{folder} lines {100 * hit / max(lines, 1):.1f}% ({hit} of {lines}), "
                     f"branches {100 * taken / max(branches, 1):.1f}% ({taken} of {branches})")
    print("coverage: " + "; ".join(parts))


if __name__ == "__main__":
    main(sys.argv[1])
