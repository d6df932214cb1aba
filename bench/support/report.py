#!/usr/bin/env python3
"""Turns the ratio lines of scripts/bench into a report: both word sizes side by side on the
console, in report.md and in ratios.svg, a bar chart of every operation's ratio to its anchor.

    report.py DIR [I686_REASON]

DIR holds ratios-x86-64.txt and ratios-i686.txt, lines of the form
"Operation: 12.30 ns, Anchor: 10.00 ns, ratio 1.23"; I686_REASON says why i686 was not timed.
"""
import datetime
import html
import math
import re
import subprocess
import sys
from pathlib import Path

SIZES = ("x86-64", "i686")
COLOURS = {"x86-64": "#3b6ea8", "i686": "#e0863a"}
LINE = re.compile(r"^(.+?): ([\d.]+) ns, (.+?): ([\d.]+) ns, ratio ([\d.]+)$")


def read_ratios(path):
    """Rows in file order: ("Operation / Anchor", ratio)."""
    rows = []
    if path.exists():
        for line in path.read_text().splitlines():
            match = LINE.match(line.strip())
            if match:
                rows.append((f"{match[1]} / {match[3]}", float(match[5])))
    return rows


def machine():
    processor = "unknown processor"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                processor = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    try:
        commit = subprocess.run(["git", "describe", "--always", "--dirty"], capture_output=True,
                                text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        commit = "unknown commit"
    return processor, commit


def table(names, ratios):
    lines = ["| operation / anchor | x86-64 | i686 |", "|---|---|---|"]
    for name in names:
        cells = [f"{ratios[s][name]:.2f}" if name in ratios[s] else "-" for s in SIZES]
        lines.append(f"| {name} | {cells[0]} | {cells[1]} |")
    return lines


def svg_chart(names, ratios, caption):
    """Horizontal bars on a logarithmic axis from 1/32 to 4, 1.0 marked."""
    label_width, plot_width, row_height, top = 330, 420, 22, 58
    low, high = math.log2(1 / 32), math.log2(4)
    height = top + row_height * len(names) + 40
    width = label_width + plot_width + 30

    def x(ratio):
        r = min(max(math.log2(max(ratio, 1e-9)), low), high)
        return label_width + (r - low) / (high - low) * plot_width

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'font-family="sans-serif" font-size="11">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="10" y="18" font-size="13" font-weight="bold">Time of each operation '
           f'/ time of its anchor (below 1 is faster)</text>',
           f'<text x="10" y="35" fill="#555">{html.escape(caption)}</text>']
    legend_x = label_width
    for size in SIZES:
        out.append(f'<rect x="{legend_x}" y="42" width="10" height="10" '
                   f'fill="{COLOURS[size]}"/>')
        out.append(f'<text x="{legend_x + 14}" y="51">{size}</text>')
        legend_x += 70
    bottom = top + row_height * len(names)
    for tick in (1 / 32, 1 / 16, 1 / 8, 1 / 4, 1 / 2, 1, 2, 4):
        tx = x(tick)
        colour, stroke = ("#c00", 1.5) if tick == 1 else ("#ddd", 1)
        out.append(f'<line x1="{tx:.1f}" y1="{top}" x2="{tx:.1f}" y2="{bottom}" '
                   f'stroke="{colour}" stroke-width="{stroke}"/>')
        text = f"{tick:g}" if tick >= 1 else f"1/{round(1 / tick)}"
        out.append(f'<text x="{tx:.1f}" y="{bottom + 14}" text-anchor="middle">{text}</text>')
    bar = (row_height - 6) / 2
    for i, name in enumerate(names):
        y = top + i * row_height
        out.append(f'<text x="{label_width - 6}" y="{y + row_height / 2 + 4:.1f}" '
                   f'text-anchor="end">{html.escape(name)}</text>')
        for k, size in enumerate(SIZES):
            if name not in ratios[size]:
                continue
            ratio = ratios[size][name]
            by = y + 3 + k * bar
            out.append(f'<rect x="{label_width}" y="{by:.1f}" width="{x(ratio) - label_width:.1f}" '
                       f'height="{bar:.1f}" fill="{COLOURS[size]}"><title>{size} '
                       f'{ratio:.2f}</title></rect>')
            out.append(f'<text x="{x(ratio) + 3:.1f}" y="{by + bar - 1:.1f}" font-size="9">'
                       f'{ratio:.2f}</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    folder = Path(sys.argv[1])
    i686_reason = sys.argv[2] if len(sys.argv) > 2 else ""
    rows = {size: read_ratios(folder / f"ratios-{size}.txt") for size in SIZES}
    ratios = {size: dict(rows[size]) for size in SIZES}
    names = [name for name, _ in rows["x86-64"]]
    names += [name for name, _ in rows["i686"] if name not in ratios["x86-64"]]
    if not names:
        print("no ratios to report")
        return 1
    processor, commit = machine()
    date = datetime.date.today().isoformat()
    caption = f"{date}, {processor}, commit {commit}"

    lines = table(names, ratios)
    print("\n== both word sizes (ratio to the anchor; below 1 is faster)")
    print("\n".join(lines))
    report = [f"# Corvala beside its anchors", "",
              f"{caption}. Ratio = time of the operation / time of its anchor (the routine a "
              f"C++ programmer would use instead), both built for the same word size and "
              f"measured in the same run, fastest of five; below 1 is faster.", ""]
    if i686_reason:
        report += [f"i686 not timed: {i686_reason}.", ""]
    report += lines + ["", "![ratios](ratios.svg)", ""]
    (folder / "report.md").write_text("\n".join(report))
    (folder / "ratios.svg").write_text(svg_chart(names, ratios, caption))
    print(f"\nreport: {folder / 'report.md'}, chart: {folder / 'ratios.svg'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
