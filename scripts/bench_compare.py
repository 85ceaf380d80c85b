#!/usr/bin/env python3
"""Puts the figures of the previous docs/performance.md beside the new ones.

Usage: bench_compare.py PREVIOUS.md SECTION NEW_TABLES.md
Every table row of NEW_TABLES.md whose first cell names a row of the same table kind in section SECTION
("## ..." heading) of PREVIOUS.md gets the previous figure as one more column; rows without one get "–".
The recognition table compares its engine column, the measure table its figure column.
"""
import re
import sys


def rows_of(text, section):
    """{(table kind, first cell): figure} for the tables under the heading `section`."""
    figures = {}
    inside = False
    kind = None
    for line in text.splitlines():
        if line.startswith("## "):
            inside = line[3:].strip() == section
            continue
        if not inside or not line.startswith("|"):
            kind = None if not line.startswith("|") else kind
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if kind is None:
            kind = cells[0]
            continue
        if set(cells[0]) <= set(":-"):
            continue
        figure = cells[2] if kind == "templates" else cells[1]
        figures[(kind, cells[0])] = figure
    return figures


def main():
    previous_path, section, new_path = sys.argv[1:4]
    try:
        with open(previous_path, encoding="utf-8") as f:
            previous = rows_of(f.read(), section)
    except OSError:
        previous = {}
    out = []
    kind = None
    with open(new_path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for line in lines:
        if not line.startswith("|"):
            kind = None
            out.append(line)
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if kind is None:
            kind = cells[0]
            label = "engine, previous run" if kind == "templates" else "previous run"
            out.append(line + f" {label} |")
        elif set(cells[0]) <= set(":-"):
            out.append(line + "---:|")
        else:
            out.append(line + f" {previous.get((kind, cells[0]), '–')} |")
    with open(new_path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
