#!/usr/bin/env python3
"""Checks the built orvendale-cli from outside: refused command lines, --help, --version,
--compare of result files and Ctrl-C during a run (about four seconds in all).

Usage: cli_program_test.py PATH_TO_ORVENDALE_CLI EXPECTED_VERSION"""
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

program, version = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*arguments):
    return subprocess.run([program, *arguments], capture_output=True, text=True, timeout=60)


# A bad command line: exit status 2, nothing on stdout, one line on stderr naming the argument.
for arguments, named in [
    (["--runs", "0"], "'0'"),
    (["--runs", "x"], "'x'"),
    (["--runs"], "--runs"),
    (["--json", "--frobnicate"], "'--frobnicate'"),
    (["extra"], "'extra'"),
    (["--compare", "old.json"], "--compare"),
    (["--compare", "a.json", "b.json", "--runs", "3"], "--compare"),
]:
    result = run(*arguments)
    label = " ".join(arguments)
    check(result.returncode == 2, f"{label}: exit status {result.returncode}, not 2")
    check(result.stdout == "", f"{label}: wrote to stdout: {result.stdout!r}")
    lines = result.stderr.splitlines()
    check(len(lines) == 1 and named in lines[0], f"{label}: stderr {result.stderr!r}")

result = run("--help")
check(result.returncode == 0 and result.stdout.startswith("Usage: orvendale-cli"),
      f"--help: {result.returncode} {result.stdout!r}")
for option in ["--runs", "--json", "--version", "--compare"]:
    check(option in result.stdout, f"--help does not mention {option}")

result = run("--version")
check(result.returncode == 0 and
      result.stdout == f"orvendale-cli (Orvendale) {version}, workload revision 2\n",
      f"--version: {result.returncode} {result.stdout!r}")



# --compare: a clear difference between two hand-made files, then files that cannot be compared:
# exit status 2 and one line naming the file and the field.
def result_file(folder, name, content):
    path = os.path.join(folder, name)
    with open(path, "w") as file:
        file.write(content if isinstance(content, str) else json.dumps(content))
    return path


def scored(*scores, revision=1):
    return {"program": "Orvendale", "workloadRevision": revision,
            "runs": [{"status": "scored", "score": score} for score in scores]}


with tempfile.TemporaryDirectory() as folder:
    old = result_file(folder, "old.json", scored(100, 102, 101, 103))
    newer = scored(110, 113, 111, 112)
    newer["runs"][2]["contended"] = True
    new = result_file(folder, "new.json", newer)
    result = run("--compare", old, new)
    check(result.returncode == 0 and "new / old (medians): 1.0985 (+9.85 %)" in result.stdout
          and "significant at the 5 % level (p = 0.0286): new scores higher" in result.stdout
          and "0 of 4 old and 1 of 4 new runs were contended" in result.stdout,
          f"--compare: {result.returncode} {result.stdout!r} {result.stderr!r}")
    for content, named in [
        ("{not json", "not JSON"),
        ({"program": "Another", "workloadRevision": 1, "runs": []}, '"program"'),
        (scored(100, revision=2), "bad.json has 2: their scores measure different work"),
        (scored(100, 0), '"runs[1].score"'),
        ({"program": "Orvendale", "workloadRevision": 1}, '"runs"'),
    ]:
        result = run("--compare", old, result_file(folder, "bad.json", content))
        lines = result.stderr.splitlines()
        check(result.returncode == 2 and result.stdout == "" and len(lines) == 1
              and "bad.json" in lines[0] and named in lines[0],
              f"--compare with {content!r}: {result.returncode} {result.stderr!r}")

# Ctrl-C a second and a half into the first of two runs: status 130, and the unfinished run
# is not scored. Without a terminal there is no progress bar.
def interrupted(*arguments):
    process = subprocess.Popen([program, "--runs", "2", *arguments], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
    time.sleep(1.5)
    process.send_signal(signal.SIGINT)
    stdout, stderr = process.communicate(timeout=30)
    return process.returncode, stdout, stderr


status, stdout, stderr = interrupted()
check(status == 130, f"Ctrl-C: exit status {status}, not 130")
check("score" not in stdout, f"Ctrl-C: a score for an unfinished run: {stdout!r}")
check("run 1 of 2: interrupted after" in stderr and "0 of 2 runs finished" in stderr,
      f"Ctrl-C: stderr {stderr!r}")
check("\r" not in stderr, "a progress bar without a terminal")

status, stdout, stderr = interrupted("--json")
check(status == 130, f"Ctrl-C with --json: exit status {status}, not 130")
try:
    document = json.loads(stdout)
    check(document["interrupted"] is True, "--json: not marked interrupted")
    check(len(document["runs"]) == 1 and document["runs"][0]["status"] == "interrupted"
          and "score" not in document["runs"][0], f"--json runs: {document['runs']}")
    check(document["summary"] is None, "--json: a summary without scores")
except (ValueError, KeyError, IndexError) as error:
    failures.append(f"Ctrl-C with --json: {error}: {stdout!r}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
