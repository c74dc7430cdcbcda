#!/usr/bin/env python3
"""One real ten-second run of orvendale-cli --json: it must exit 0 with one valid score, the
machine block and the processor's figures of the run.

Usage: cli_real_run_test.py PATH_TO_ORVENDALE_CLI"""
import json
import subprocess
import sys

result = subprocess.run([sys.argv[1], "--json"], capture_output=True, text=True, timeout=120)
sys.stderr.write(result.stderr)
print(result.stdout)
if result.returncode != 0:
    sys.exit(f"exit status {result.returncode}")
document = json.loads(result.stdout)
(run,) = document["runs"]
machine = document["machine"]
problems = [
    what for what, ok in [
        ("status", run["status"] == "scored"),
        ("score", isinstance(run["score"], (int, float)) and run["score"] >= 1
         and run["score"] == int(run["iterations"] * 8 / 5)),
        ("ticks", run["ticks"] == 100),
        ("wall time", 9900 <= run["wallTimeMs"] <= 10500),
        ("workload revision", document["workloadRevision"] == run["workloadRevision"] == 2),
        ("summary", document["summary"]["median"] == run["score"]),
        ("interrupted", document["interrupted"] is False),
        ("machine", machine["workloadRevision"] == 2 and machine["logicalCpus"] >= 1
         and machine["eventDispatcher"] == "QEventDispatcherUNIX"),
        ("CPU share", 0 < run["cpuPercent"] <= 110 and run["contended"] == (run["cpuPercent"] < 97)),
        ("contended runs", document["summary"]["contendedRuns"] == int(run["contended"])),
    ] if not ok
]
if problems:
    sys.exit("unexpected " + ", ".join(problems))
