#!/usr/bin/env python3
"""store_figures.py [SESSIONS]: the results store's figures on this machine, for PERFORMANCE.md.

1. Cost inside a run: three pairs of one-run sessions, --no-store and storing alternating; each
   run's score, and the time the process took beyond its run (where storing happens).
2. Scale: a store of SESSIONS sessions (default 100000: 100 machines, a session every 9 hours
   over a year each; this machine is one of them), made by --import of generated result files
   1000 at a time. Times the first 1000 files' import, --history of this machine and --report of
   all machines, and gives the store's size on disk.
3. Concurrency: eight one-run sessions started at once into one new store; all eight must be
   there.
Run it from a release build: scripts/performance/store_figures.py (it builds orvendale-cli)."""
import copy
import json
import os
import sqlite3
import subprocess
import sys
import tempfile
import time
import uuid

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CLI = os.path.join(ROOT, "build", "release", "cli", "orvendale-cli")
MACHINES = 100
HOUR = 3600


def run(*arguments):
    started = time.monotonic()
    result = subprocess.run([CLI, *arguments], capture_output=True, text=True)
    if result.returncode not in (0, 2):
        sys.exit(f"{' '.join(arguments[:3])}: exit status {result.returncode}: {result.stderr}")
    return result, time.monotonic() - started


def cost_inside_a_run(folder):
    print("1. cost inside a run: score and time beyond the run, --no-store against storing")
    template = None
    for pair in range(3):
        line = []
        for store in (["--no-store"], ["--store", os.path.join(folder, "cost.sqlite")]):
            result, seconds = run("--json", *store)
            document = json.loads(result.stdout)
            template = template or document
            beyond = seconds - document["runs"][0]["wallTimeMs"] / 1000
            line.append(f"{document['runs'][0]['score']} ({beyond * 1000:.0f} ms beyond the run)")
        print(f"   pair {pair + 1}: no store {line[0]}, store {line[1]}")
    return template


def generated(template, index, sessions):
    """Session `index` of the year: machine index % MACHINES (0 is this machine), its kernel
    changed every 200 sessions, its score spread by a few percent."""
    document = copy.deepcopy(template)
    machine = index % MACHINES
    started = 1_767_225_600 + (index // MACHINES) * 9 * HOUR
    document["sessionId"] = str(uuid.UUID(int=index + 1))
    document["startedAt"] = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(started))
    if machine > 0:
        document["machine"]["id"] = f"{machine:032x}"
        document["machine"]["hostName"] = f"host-{machine:03d}"
    document["machine"]["kernel"] = f"Linux 6.1.0-{18 + index // (MACHINES * 200)}"
    for run_object in document["runs"]:
        run_object["score"] = int(run_object["score"] * (1 + ((index * 7919) % 61 - 30) / 1000))
    return document


def scale(folder, template, sessions):
    store = os.path.join(folder, "scale.sqlite")
    print(f"2. scale: {sessions} sessions of {MACHINES} machines")
    for first in range(0, sessions, 1000):
        batch = os.path.join(folder, "batch")
        os.makedirs(batch, exist_ok=True)
        files = []
        for index in range(first, min(first + 1000, sessions)):
            files.append(os.path.join(batch, f"{index}.json"))
            with open(files[-1], "w") as file:
                json.dump(generated(template, index, sessions), file, indent=4)
        _, seconds = run("--import", *files, "--store", store)
        if first == 0:
            print(f"   --import of 1000 files into a new store: {seconds:.2f} s (goal 10 s)")
        for file in files:
            os.remove(file)
    with sqlite3.connect(store) as db:
        count = db.execute("SELECT count(*) FROM sessions").fetchone()[0]
    _, seconds = run("--import", os.path.join(folder, "one.json"), "--store", store)
    print(f"   --import of 1 file into the full store: {seconds:.2f} s")
    result, seconds = run("--history", "--store", store)
    print(f"   --history ({len(result.stdout.splitlines())} lines): {seconds:.2f} s (goal 1 s)")
    _, seconds = run("--report", os.path.join(folder, "report.html"), "--store", store)
    page = os.path.getsize(os.path.join(folder, "report.html"))
    print(f"   --report of all machines ({page / 1e6:.1f} MB page): {seconds:.2f} s (goal 3 s)")
    size = sum(os.path.getsize(store + suffix) for suffix in ("", "-wal") if os.path.exists(store + suffix))
    print(f"   store: {count} sessions, {size / 1e6:.0f} MB on disk")


def concurrency(folder):
    store = os.path.join(folder, "eight.sqlite")
    processes = [subprocess.Popen([CLI, "--store", store], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL) for _ in range(8)]
    statuses = [process.wait() for process in processes]
    with sqlite3.connect(store) as db:
        count = db.execute("SELECT count(*) FROM sessions").fetchone()[0]
    print(f"3. concurrency: 8 sessions stored at once (exit statuses {statuses}): {count} kept")


def main():
    subprocess.run(["bash", "-c", "source scripts/lib/build.sh && build_preset release "
                    "orvendale-cli >/dev/null"], cwd=ROOT, check=True)
    sessions = int(sys.argv[1]) if len(sys.argv) > 1 else 100_000
    with tempfile.TemporaryDirectory() as folder:
        template = cost_inside_a_run(folder)
        with open(os.path.join(folder, "one.json"), "w") as file:
            json.dump({**template, "sessionId": str(uuid.uuid4())}, file)
        scale(folder, template, sessions)
        concurrency(folder)


main()
