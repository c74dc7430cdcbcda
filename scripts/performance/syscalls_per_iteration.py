#!/usr/bin/env python3
"""syscalls_per_iteration.py PERF_FILE ITERATIONS: system calls per work iteration of a ten-second
run, from `perf stat -x, -I 1000 -e raw_syscalls:sys_enter -o PERF_FILE` around the program. Only
whole seconds 2 to 9 count: they lie inside the run, away from start-up and exit."""
import sys

perf_file, iterations = sys.argv[1], float(sys.argv[2])
fields = [line.split(",") for line in open(perf_file) if "sys_enter" in line]
counts = [float(f[1]) if f[1][:1].isdigit() else 0.0 for f in fields][1:9]
print(f"{sum(counts) / len(counts) / (iterations / 10):.6f}")
