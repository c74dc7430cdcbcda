#!/usr/bin/env python3
"""Checks the built orvendale-cli from outside: refused command lines, --help, --version and
Ctrl-C during a run (about four seconds in all).

Usage: cli_program_test.py PATH_TO_ORVENDALE_CLI EXPECTED_VERSION"""
import json
import signal
import subprocess
import sys
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
for option in ["--runs", "--json", "--version"]:
    check(option in result.stdout, f"--help does not mention {option}")

result = run("--version")
check(result.returncode == 0 and
      result.stdout == f"orvendale-cli (Orvendale) {version}, workload revision 2\n",
      f"--version: {result.returncode} {result.stdout!r}")


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
