#!/usr/bin/env python3
"""readings_figures.py: what a run's readings cost, and a run under a CPU quota, on this machine.

1. Cost, whole runs: five pairs of one-run sessions alternating, readings off
   (ORVENDALE_READINGS=off) and on; each pair's scores and the on/off ratio.
2. Cost, in the tick handler: readings_bench (Google Benchmark) on this machine's files and on a
   laptop's set of files; ten clock readings and one of the rest a second, as a share of it.
3. A CPU quota of half a CPU: three pairs alternating, a free run and one in a cgroup of its own
   with the quota (as root; cgroup v1's cpu controller or v2); the scores and the throttled share.
Run it from the checkout: scripts/performance/readings_figures.py (it builds what it runs)."""
import json
import os
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.join(ROOT, "build", "release")
CLI = os.path.join(BUILD, "cli", "orvendale-cli")


def one_run(env=None, cgroup=None):
    join = (lambda: open(os.path.join(cgroup, "cgroup.procs"), "w").write(str(os.getpid()))) \
        if cgroup else None
    result = subprocess.run([CLI, "--json", "--no-store"], capture_output=True, text=True,
                            env={**os.environ, **(env or {})}, preexec_fn=join, check=True)
    return json.loads(result.stdout)["runs"][0]


def cost_of_whole_runs():
    print("1. whole runs, readings off against on (5 pairs, alternating)")
    ratios = []
    for pair in range(5):
        off = one_run({"ORVENDALE_READINGS": "off"})["score"]
        on = one_run()["score"]
        ratios.append(on / off)
        print(f"   pair {pair + 1}: off {off:.0f}, on {on:.0f}, on/off {on / off:.4f}")
    print(f"   median on/off {statistics.median(ratios):.4f}")


def cost_in_the_tick_handler():
    print("2. in the tick handler (readings_bench)")
    output = subprocess.run([os.path.join(BUILD, "bench", "readings_bench"),
                             "--benchmark_format=json", "--benchmark_min_time=1"],
                            capture_output=True, text=True, check=True).stdout
    times = {b["name"]: b["real_time"] for b in json.loads(output)["benchmarks"]}
    for files in ["this_machine", "laptop_files"]:
        tick, second = times[f"BM_SampleClock/{files}"], times[f"BM_EndSecond/{files}"]
        share = (10 * tick + second) / 1e9 * 100
        print(f"   {files}: clock {tick:.0f} ns a tick, the rest {second:.0f} ns a second: "
              f"{share:.4f} % of each second")


def quota_cgroup():
    mounts = [line.split() for line in open("/proc/self/mountinfo")]
    for m in mounts:
        kind, options = m[m.index("-") + 1], m[-1].split(",")
        if kind == "cgroup" and "cpu" in options or kind == "cgroup2":
            path = os.path.join(m[4], "orvendale-readings-figures")
            os.makedirs(path, exist_ok=True)
            v2 = os.path.exists(os.path.join(path, "cpu.max"))
            with open(os.path.join(path, "cpu.max" if v2 else "cpu.cfs_quota_us"), "w") as quota:
                quota.write("50000 100000" if v2 else "50000")
            return path
    sys.exit("no cgroup with the cpu controller")


def quota_runs():
    print("3. free against a quota of half a CPU (3 pairs, alternating)")
    cgroup = quota_cgroup()
    try:
        for pair in range(3):
            free = one_run()
            held = one_run(cgroup=cgroup)
            print(f"   pair {pair + 1}: free {free['score']:.0f}, under the quota "
                  f"{held['score']:.0f} ({held['score'] / free['score']:.3f} of free), throttled "
                  f"{held['readings']['quotaThrottledPercent']:.1f} % of the run in "
                  f"{held['readings']['quotaThrottledPeriods']} periods, CPU "
                  f"{held['cpuPercent']:.1f} %, causes {held['throttleCauses']}")
    finally:
        os.rmdir(cgroup)


subprocess.run(["cmake", "--build", BUILD, "--target", "orvendale-cli", "readings_bench"],
               check=True, capture_output=True)
cost_of_whole_runs()
cost_in_the_tick_handler()
quota_runs()
