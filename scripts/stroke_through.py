#!/usr/bin/env python3
"""Prints a stroke through the corners given ("x,y x,y ..."), a point about every 8 pixels, as a finger
drawing those lines sends them: the "x,y x,y ..." text the reference host reads from a file."""
import sys

corners = [tuple(map(int, p.split(","))) for p in sys.argv[1].split()]
points = []
for (x0, y0), (x1, y1) in zip(corners, corners[1:]):
    steps = max(abs(x1 - x0), abs(y1 - y0)) // 8
    points += [(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps) for i in range(steps)]
points.append(corners[-1])
print(" ".join(f"{x},{y}" for x, y in points))
