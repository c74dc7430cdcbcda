#!/usr/bin/env python3
"""pair_medians.py FILE FIRST SECOND: the medians of the two columns of FILE (a pair of scores a
line, measured alternately) and the second's median over the first's."""
import statistics
import sys

path, first, second = sys.argv[1:4]
pairs = [tuple(map(float, line.split())) for line in open(path)]
a = statistics.median(p[0] for p in pairs)
b = statistics.median(p[1] for p in pairs)
print(f"median {first} {a:.0f}, median {second} {b:.0f}, {second} / {first} = {b / a:.3f}")
