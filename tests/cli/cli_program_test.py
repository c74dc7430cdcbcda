#!/usr/bin/env python3
"""cli_program_test.py ORVENDALE_CLI VERSION [--real-run | --jobs | --store | --quota]: the built
program from outside, its refusals, --version, --compare and Ctrl-C in a run; with --real-run,
whole runs in text mode; with --jobs, a whole --jobs 2 round, then a worker killed, Ctrl-C twice
and the starter killed during the workers' runs; with --store, the results store's failures and
imports; with --quota, runs in a cgroup of their own with a CPU quota of half a CPU (as root).
Every program it starts is ended with it, whatever ends it: a failure, an exception, SIGTERM (a
test's timeout) or its own death (SIGKILL). A cross build's program runs under the emulator that
ORVENDALE_EMULATOR names."""
import atexit
import contextlib
import ctypes
import json
import os
import re
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

program, version = sys.argv[1], sys.argv[2]
emulator = os.environ.get("ORVENDALE_EMULATOR", "").split()
failures = []
started = []
libc = ctypes.CDLL(None)
# The runs of these tests are stored, but never in the user's own store.
data_home = tempfile.TemporaryDirectory()
os.environ["XDG_DATA_HOME"] = data_home.name


def check(condition, what):
    if not condition:
        failures.append(what)


def exited(label, result, status, stdout=(), stderr=()):
    check(result.returncode == status,
          f"{label}: exit status {result.returncode}, not {status}: {result.stderr!r}")
    for stream, wanted in {"stdout": stdout, "stderr": stderr}.items():
        text = getattr(result, stream)
        for piece in wanted:
            check(piece in text, f"{label}: no {piece!r} on {stream}: {text!r}")


def within(what, value, limit):
    """A check of time or share: prints the figure, for the table of margins in TESTING.md. An
    emulated program's figures measure the emulator: they are printed, not held to the limit."""
    if emulator:
        print(f"timing: {what}: {value:.3f} (not checked: the program runs under {emulator[0]})")
        return
    print(f"timing: {what}: {value:.3f} (limit {limit})")
    check(value < limit, f"{what}: {value:.3f}, limit {limit}")


def start(arguments, command=None, then=lambda: None, **options):
    """The program (or `command`) in a process group of its own, killed (PR_SET_PDEATHSIG) if
    this test dies; `then` runs in the child before it starts."""
    process = subprocess.Popen(command or [*emulator, program, *arguments], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True, process_group=0,
                               preexec_fn=lambda: (libc.prctl(1, signal.SIGKILL), then()),
                               **options)
    started.append(process)
    return process


@atexit.register
def end_started():
    for process in started:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGKILL)


signal.signal(signal.SIGTERM, lambda *_: sys.exit("ended by SIGTERM"))


def ended(process, timeout=60):
    stdout, stderr = process.communicate(timeout=timeout)
    return subprocess.CompletedProcess(process.args, process.returncode, stdout, stderr)


def run(*arguments, timeout=60, env=None):
    return ended(start(arguments, env=env), timeout)


def refused(result, label, says):
    exited(label, result, 2, stderr=[says])
    check(result.stdout == "", f"{label}: {result.stdout!r} on stdout, nothing wanted")
    check(len(result.stderr.splitlines()) == 1, f"{label}: not one line: {result.stderr!r}")


def scored(*scores, revision=1):
    """A result file's document as --compare and --import need it at least."""
    return {"program": "Orvendale", "workloadRevision": revision,
            "runs": [{"status": "scored", "score": score} for score in scores]}


def write_in(folder, name, content):
    with open(os.path.join(folder, name), "w") as file:
        file.write(content if isinstance(content, str) else json.dumps(content))
    return os.path.join(folder, name)


def quick_cases():
    for case in [dict(arguments=["extra"], says="'extra'"),
                 dict(arguments=["--compare", "old.json"], says="--compare"),
                 # Catches --jobs unbounded: a typo must not start a process per job.
                 dict(arguments=["--jobs", "2000000000"], says="--jobs 2000000000 is more than")]:
        refused(run(*case["arguments"]), " ".join(case["arguments"]), case["says"])
    result = run("--version")
    check(result.stdout == f"orvendale-cli (Orvendale) {version}, workload revision 3\n",
          f"--version: {result.stdout!r}, not the version line")

    # A clear difference between two hand-made files, then files that cannot be compared: one
    # line naming the file (its control characters made printable) and the field.
    def multi_core(*scores, jobs=2):
        return {**scored(100), "jobs": jobs, "rounds": [{"multiCoreScore": s} for s in scores]}

    def write(name, content):
        return write_in(folder, name, content)

    with tempfile.TemporaryDirectory() as folder:
        old = write("old.json", scored(100, 102, 101, 103))
        newer = scored(110, 113, 111, 112)
        newer["runs"][2]["contended"] = True
        newer["runs"][1]["uneven"] = True
        # Runs without a score are left out, not refused (catches resfile-unscored-refused).
        newer["runs"] += [{"status": "interrupted"}, {"status": "failed"}]
        result = run("--compare", old, write("new.json", newer))
        exited("--compare", result, 0, stdout=["new / old (medians): 1.0985 (+9.85 %)",
               "significant at the 5 % level (p = 0.0286): new scores higher",
               "0 of 4 old and 1 of 4 new runs were contended", "0 old and 1 new runs were uneven"])
        for case in [
            dict(name="bad.json", data="{not json", says="bad.json: not JSON"),
            dict(name="bad.json", data={**scored(), "program": "Another"}, says='"program"'),
            dict(name="bad.json", data=scored(100, revision=2),
                 says="bad.json has 2: their scores measure different"),
            dict(name="bad\x1f.json", data=scored(100, 0), says='bad?.json: field "runs[1].score"'),
            dict(name="jobs.json", data=multi_core(200),
                 says="jobs.json holds multi-core scores (--jobs)"),
            # Catches fractions taken as whole numbers.
            dict(name="bad.json", data=scored(100.5), says='bad.json: field "runs[0].score"'),
            dict(name="bad.json", data=scored(100, revision=1.5),
                 says='bad.json: field "workloadRevision"'),
        ]:
            refused(run("--compare", old, write(case["name"], case["data"])),
                    f"--compare with {case['name']!r}", case["says"])
        # Of different worker counts, compared with a note naming both (catches them refused).
        result = run("--compare", write("a.json", multi_core(200, 204, 202, 206)),
                     write("b.json", multi_core(420, 426, 422, 424, jobs=4)))
        exited("--compare of --jobs files", result, 0, stdout=[
               "4 multi-core scores (--jobs 2): median", "note: old ran 2 workers and new 4:"])

    # Ctrl-C a second and a half into the first of two runs: the unfinished run is not scored.
    # Without a terminal there is no progress bar. The documented switch makes the pump plain.
    process = start(["--runs", "2"], env={**os.environ, "ORVENDALE_EVENT_PUMP": "plain"})
    time.sleep(1.5)
    process.send_signal(signal.SIGINT)
    signalled = time.monotonic()
    result = ended(process, 30)
    # Seen at the next tick, within 100 ms; the rest is the program's end.
    within("Ctrl-C to the end of a run, s", time.monotonic() - signalled, 0.5)
    exited("Ctrl-C", result, 130, stdout=["QEventDispatcherUNIX, plain event pump"],
           stderr=["0 of 2 runs finished", "run 1 of 2: interrupted after"])
    check("\r" not in result.stderr, f"Ctrl-C: a progress bar: {result.stderr!r}")
    check("score" not in result.stdout, f"Ctrl-C: the unfinished run scored: {result.stdout!r}")


def real_run():
    # Qt's Unix dispatcher with the gated pump; then GLib's, where every pump is a plain one.
    for case in [dict(no_glib="1", pump="QEventDispatcherUNIX, gated"),
                 dict(no_glib="", pump="QEventDispatcherGlib, plain")]:
        pump = case["pump"]
        result = run(env={**os.environ, "QT_NO_GLIB": case["no_glib"]})
        print(result.stdout + result.stderr)
        score = re.search(r"^run 1 of 1: score (\d+) \(workload revision 3\), (\d+) iterations "
                          r"in ([\d.]+) ms, .*; CPU [\d.]+ ms, ([\d.]+) % of the wall time, "
                          r"kernel [\d.]+ ms \(([\d.]+) % of the CPU time\)", result.stdout, re.M)
        exited(pump, result, 0)
        check(score, f"{pump}: no run line")
        if not score:
            continue
        check(int(score[1]) >= 1, f"{pump}: score {score[1]}, below 1")
        check(int(score[1]) == int(score[2]) * 8 // 5, f"{pump}: score, not iterations * 8 / 5")
        check(float(score[4]) > 0, f"{pump}: CPU time 0 % of the wall time")
        within(f"{pump}: a run's time past 10 s, ms", float(score[3]) - 10000, 500)
        within(f"{pump}: a run's time short of 10 s, ms", 10000 - float(score[3]), 100)
        # A pump that enters the kernel every iteration spends some 15 % of the run there. A
        # sanitized build spends some 3 % there of its own, which would hide that: there the
        # gate is shown by the machine block alone.
        if pump.endswith("gated") and "-fsanitize" not in result.stdout:
            within(f"{pump}: the kernel's share, %", float(score[5]), 3)
        check(f"event dispatcher {pump} event pump\n" in result.stdout, f"{pump}: the machine")
        check(re.search(r"^  iterations per second: .{10} \(\d+ to \d+\), steadiness [\d.]+",
                        result.stdout, re.M), f"{pump}: no line of the run's seconds")
        check("scores of" not in result.stdout, f"{pump}: a summary of one run")
        # Catches an emulated program claiming the host's processor as its own.
        host = re.search(r"^model name\s*: (.*)$", open("/proc/cpuinfo").read(), re.M)
        machine = re.search(r"^machine: .*", result.stdout, re.M)
        if emulator and host and machine and host[1] in machine[0]:
            check("processor information, read by this" in machine[0],
                  f"{pump}: the host's processor taken for the program's: {machine[0]}")
        unread_readings(pump, result.stdout)


def unread_readings(label, stdout):
    """Catches a reading this machine has no file for shown as a figure (0 MHz, say)."""
    absent = {"clock unknown": "/sys/devices/system/cpu/cpu0/cpufreq",
              "temperature unknown": "/sys/class/thermal/thermal_zone0"}
    check(re.search(r"^  readings: ", stdout, re.M), f"{label}: no readings line")
    for says, path in absent.items():
        if not os.path.exists(path):
            check(says in stdout, f"{label}: {path} is absent, yet not {says!r}")


def children(pid):
    found = []
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                if int(stat.read().rsplit(")", 1)[1].split()[1]) == pid:
                    found.append(int(entry))
        except (OSError, ValueError, IndexError):
            pass
    return found


def jobs():
    # One whole round: a solo run, then two workers at once.
    result = run("--jobs", "2", "--json", timeout=90)
    print(result.stdout + result.stderr)
    exited("--jobs 2", result, 0)
    first = json.loads(result.stdout)["rounds"][0] if result.returncode == 0 else {}
    scores = [worker.get("score", 0) for worker in first.get("workers", [])]
    check(len(scores) == 2, f"--jobs 2: {len(scores)} workers in the round, not 2")
    check(all(scores), f"--jobs 2: a worker without a score: {scores}")
    check(first.get("multiCoreScore") == sum(scores), "--jobs 2: multi-core score not the sum")
    within("start skew of two workers, ms", first.get("startSkewMs", 1e9), 50)

    # Twelve seconds in, both workers are running, named as the program is: kill one, Ctrl-C the
    # starter twice, 50 ms apart, as a user in a hurry does, and kill the starter.
    started = {what: start(["--jobs", "2"]) for what in ["worker killed", "Ctrl-C", "starter killed"]}
    time.sleep(12)
    workers = {what: children(process.pid) for what, process in started.items()}
    for what, pids in workers.items():
        check(len(pids) == 2, f"{what}: {len(pids)} workers, not 2: {pids}")
    names = {open(f"/proc/{pid}/comm").read().strip()
             for pid in [started["Ctrl-C"].pid, *workers["Ctrl-C"]]}
    check(names == {"orvendale-cli"}, f"the starter and its workers are called {names}")
    os.kill(workers["worker killed"][0], signal.SIGKILL)
    started["Ctrl-C"].send_signal(signal.SIGINT)
    signalled = time.monotonic()
    time.sleep(0.05)
    started["Ctrl-C"].send_signal(signal.SIGINT)
    started["starter killed"].kill()
    started["Ctrl-C"].wait(timeout=30)
    # The workers stop at their next tick; the rest of the round would take eight seconds.
    within("Ctrl-C to the end of a round, s", time.monotonic() - signalled, 2)
    results = {what: ended(process) for what, process in started.items()}
    time.sleep(1)
    left = [pid for pids in workers.values() for pid in pids if os.path.exists(f"/proc/{pid}")]
    check(not left, f"workers left behind: {left}")
    exited("worker killed", results["worker killed"], 1, stderr=["killed by signal 9"])
    check(re.search(r"worker \d on CPU \d: score \d+", results["worker killed"].stdout),
          f"worker killed: the other worker's score lost: {results['worker killed'].stdout!r}")
    # Catches the second Ctrl-C ending the starter, and Ctrl-C passed on to the workers twice:
    # each worker's interrupted run is reported.
    exited("Ctrl-C twice", results["Ctrl-C"], 130, stderr=["0 of 1 rounds finished"])
    check(len(re.findall(r"worker \d[^:]*: interrupted after", results["Ctrl-C"].stderr)) == 2,
          f"Ctrl-C twice: not two interrupted runs reported: {results['Ctrl-C'].stderr!r}")


def stored_sessions(path, where="1"):
    with contextlib.closing(sqlite3.connect(path)) as db:
        return db.execute(f"SELECT count(*) FROM sessions WHERE {where}").fetchone()[0]


def store_failures(folder):
    """Runs at once, each meeting a store it cannot write: one warning line each, the score
    printed, exit status 0, and the file byte for byte as it was."""
    prepared = write_in(folder, "one.json", scored(100))
    failing = {}
    for name in ["read-only", "locked", "no space", "damaged", "newer"]:
        failing[name] = os.path.join(folder, name.replace(" ", "-") + ".sqlite")
        exited(f"{name}: prepared", run("--import", prepared, "--store", failing[name]), 0)
    with open(failing["damaged"], "r+b") as file:
        file.write(b"not a database" * 100)
    with contextlib.closing(sqlite3.connect(failing["newer"])) as db:
        db.execute("PRAGMA user_version = 99")
    locker = sqlite3.connect(failing["locked"], isolation_level=None)
    locker.execute("BEGIN EXCLUSIVE")
    before = {name: open(path, "rb").read() for name, path in failing.items()}
    os.chmod(folder, 0o755)
    os.chmod(failing["read-only"], 0o444)
    # Root writes whatever the file's mode says: the read-only store is then another user's.
    nobody = (lambda: os.setresuid(65534, 65534, 65534)) if os.getuid() == 0 else lambda: None
    # A full disk: a tiny file system of its own, filled up, mounted in a namespace of its own.
    tiny = os.path.join(folder, "tiny")
    os.mkdir(tiny)
    full = (f"mount -t tmpfs -o size=64k tmpfs {tiny} && cp {failing['no space']} {tiny}/s && "
            f"(dd if=/dev/zero of={tiny}/fill bs=4k count=64 2>/dev/null; "
            f"setpriv --pdeathsig KILL {program} --store {tiny}/s; s=$?; "
            f"cmp -s {tiny}/s {failing['no space']} || echo no space: the store changed >&2; "
            f"exit $s)")
    commands = {"no space": ["unshare", "-rm", "sh", "-c", full]}
    if subprocess.run(["unshare", "-rm", "true"]).returncode != 0:
        print("skipped: no space: cannot make a mount namespace here")
        del failing["no space"]
    reasons = {"read-only": "read-only", "locked": "locked by another program", "no space":
               "no space left", "damaged": "damaged, or not a results store", "newer": "written by a newer"}
    processes = {name: start(["--store", path], command=commands.get(name),
                             then=nobody if name == "read-only" else lambda: None)
                 for name, path in failing.items()}
    for name, process in processes.items():
        result = ended(process, timeout=60)
        path = f"{tiny}/s" if name == "no space" else failing[name]
        exited(name, result, 0, stdout=["run 1 of 1: score"],
               stderr=[f"warning: results not stored: {path}: {reasons[name]}"])
        check(sum(path in line for line in result.stderr.splitlines()) == 1,
              f"{name}: not one line: {result.stderr!r}")
        check(open(failing[name], "rb").read() == before[name], f"{name}: the store changed")
    locker.close()


def store_imports(folder):
    """Eight imports at once into a new store, all kept; a session imported again counts once; a
    refused file leaves nothing of itself; --history shows this machine's sessions alone, with a
    change of kernel marked."""
    files = [write_in(folder, f"s{i}.json", {**scored(100 + i), "sessionId": f"s{i}"})
             for i in range(8)]
    store = os.path.join(folder, "imports.sqlite")
    for process in [start(["--import", file, "--store", store]) for file in files]:
        exited("--import at once", ended(process), 0, stdout=["imported 1 session"])
    check(stored_sessions(store) == 8, f"{stored_sessions(store)} of 8 imported at once")
    # A new store the moment it has its tables but not yet its WAL journal, another writer
    # holding the lock: SQLite refuses the journal's switch at once, rather than wait (catches
    # that refusal taken as final, which lost one session in thirty rounds of the above).
    early = os.path.join(folder, "early.sqlite")
    run("--import", files[0], "--store", early)
    with contextlib.closing(sqlite3.connect(early, isolation_level=None)) as writer:
        writer.execute("PRAGMA journal_mode = DELETE")
        writer.execute("BEGIN IMMEDIATE")
        importing = start(["--import", files[1], "--store", early])
        time.sleep(1)
        writer.execute("COMMIT")
    exited("--import while another writer holds a new store", ended(importing), 0)
    check(stored_sessions(early) == 2, "a session lost to a lock held while the journal turns")
    bad = write_in(folder, "bad.json", {**scored(), "sessionId": "bad"})
    result = run("--import", files[0], bad, files[1], "--store", store)
    exited("--import of a stored and a bad file", result, 2,
           stdout=["imported 0 sessions", "2 already stored, 1 refused"],
           stderr=['not imported: ' + bad + ': field "runs"'])
    check(stored_sessions(store, "id = 'bad'") == 0, "a refused file was stored")
    # Sessions of this machine, told by a run's own document, and of another machine.
    machine = json.loads(run("--json", "--no-store").stdout)["machine"]
    for i, kernel in enumerate(["Linux 6.1.0-18", "Linux 6.1.0-25"]):
        document = {**scored(200 + i, 210, 220), "sessionId": f"h{i}", "startedAt": f"2026-0{i + 1}",
                    "machine": {**machine, "kernel": kernel}}
        run("--import", write_in(folder, f"h{i}.json", document), "--store", store)
    result = run("--history", "--store", store)
    exited("--history", result, 0, stdout=["kernel Linux 6.1.0-18 → Linux 6.1.0-25"])
    check(len(re.findall("^2026-0", result.stdout, re.M)) == 2,
          f"--history: not this machine's two sessions alone: {result.stdout!r}")


def store():
    with tempfile.TemporaryDirectory() as folder:
        store_failures(folder)
        store_imports(folder)

def cpu_cgroup():
    """A new cgroup with the cpu controller: v1's where it is mounted, else v2's; nothing where
    this process cannot make one. It is removed when this test ends, however it ends: a child
    process waits for the test's death and removes it once its processes are gone."""
    if os.geteuid() != 0:
        return None, "not root"
    mounts = [line.split() for line in open("/proc/self/mountinfo")]
    v1 = [m[4] for m in mounts if m[m.index("-") + 1] == "cgroup" and "cpu" in m[-1].split(",")]
    v2 = [m[4] for m in mounts if m[m.index("-") + 1] == "cgroup2"]
    top = v1[0] if v1 else v2[0] if v2 else None
    if top is None:
        return None, "no cgroup with the cpu controller is mounted"
    path = os.path.join(top, f"orvendale-quota-test-{os.getpid()}")
    try:
        if not v1:
            with open(os.path.join(top, "cgroup.subtree_control"), "w") as control:
                control.write("+cpu")
        os.mkdir(path)
    except OSError as error:
        return None, f"cannot make a cgroup under {top}: {error.strerror}"
    parent = os.getpid()
    if os.fork() == 0:
        signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGTERM])
        libc.prctl(1, signal.SIGTERM)
        null = os.open(os.devnull, os.O_RDWR)
        for stream in range(3):
            os.dup2(null, stream)
        if os.getppid() == parent:
            signal.sigwait([signal.SIGTERM])
        for _ in range(100):
            with contextlib.suppress(OSError):
                os.rmdir(path)
                break
            time.sleep(0.1)
        os._exit(0)
    return path, ""


def quota():
    cgroup, reason = cpu_cgroup()
    if not cgroup:
        print(f"skipped: {reason}")
        sys.exit(77)
    quota_file = "cpu.max" if os.path.exists(os.path.join(cgroup, "cpu.max")) else "cpu.cfs_quota_us"
    write_in(cgroup, quota_file, "50000 100000" if quota_file == "cpu.max" else "50000")
    join = lambda: write_in(cgroup, "cgroup.procs", str(os.getpid()))
    # Both runs share the half CPU: each is held back by the quota.
    as_text = start(["--no-store"], then=join)
    as_json = start(["--json", "--no-store"], then=join)
    text, document = ended(as_text), ended(as_json)
    for label, result in {"text": text, "JSON": document}.items():
        exited(label, result, 0, stderr=["warning: CPU quota of 0.50 CPUs (50000 µs of every "
                                         "100000 µs, cgroup v"])
    run_line = re.search(r"^run 1 of 1: .*", text.stdout, re.M)
    check(run_line and run_line[0].endswith(", contended, throttled (cpu quota)"),
          f"text: the run not contended and throttled by the quota: {text.stdout!r}")
    check("limits: CPU quota 0.50 CPUs" in text.stdout, f"text: no quota in the machine block")
    with contextlib.suppress(ValueError):
        document = json.loads(document.stdout)
        run = document["runs"][0]
        check(run["contended"] and run["throttled"] and "cpu quota" in run["throttleCauses"],
              f"JSON: the run not contended and throttled by the quota: {run}")
        check(run["readings"]["quotaThrottledMs"] > 0, f"JSON: no throttled time: {run}")
        check(document["machine"]["cpuQuota"]["cpus"] == 0.5, "JSON: no quota in the machine block")
        print(json.dumps(run["readings"], indent=1))


modes = {"--real-run": real_run, "--jobs": jobs, "--store": store, "--quota": quota}
modes.get(sys.argv[3] if len(sys.argv) > 3 else "", quick_cases)()
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
