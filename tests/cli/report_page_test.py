#!/usr/bin/env python3
"""report_page_test.py ORVENDALE_CLI [--screenshot PNG]: two real sessions of this machine, and
edited copies standing for other machines, go into a temporary store; the --report page, loaded
in Chromium, must draw what the store holds, read back through Chart.js and the points' pixels."""
import copy
import json
import math
import pathlib
import re
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import zlib
from dataclasses import dataclass

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
from chromium_page import ChromiumPage  # noqa: E402

program = sys.argv[1]
failures = []
# A host name that must stay text: were it markup, it would end the page's data early.
EVIL_HOST = "twin</script>"
FLAG_NAMES = ("contended", "uneven", "throttled")
FLAGS = {"run": (False, False, False), "contended run": (True, False, False),
         "uneven run": (False, True, False), "throttled run": (False, False, True),
         "contended and uneven run": (True, True, False),
         "contended and throttled run": (True, False, True),
         "uneven and throttled run": (False, True, True),
         "contended, uneven and throttled run": (True, True, True)}


@dataclass
class Copy:
    """The real sessions under another machine's id and host name."""
    host: str
    started: str
    scale: float  # of every score and second
    runs: int = 0  # single-core: the real runs repeated to this count, each 0.1 % above the last
    # (index, a flag of FLAG_NAMES) of the runs flagged, in the order: runs, then each round's
    # solo run and workers; every other run is clean.
    flags: tuple = ()
    kernel: str = "Linux 6.1.0-25"
    revision: int = 0  # another workload revision, or 0 for the real one
    readings: bool = False  # every run but the first gets readings of each second, with gaps


COPIES = [
    Copy("fast", "2030-01-01T00:00:00Z", 3.0, runs=6, kernel="Linux 6.1.0-18"),
    Copy("fast", "2030-01-02T00:00:00Z", 3.0, runs=6),
    Copy("fast", "2029-01-01T00:00:00Z", 1.0, revision=2),
    Copy(EVIL_HOST, "2030-01-02T00:00:00Z", 3.0015, runs=6),  # its runs between fast's
    # A worker throttled (index 3) makes its round throttled; so does a solo run (hot's index 1).
    Copy("mid", "2030-01-02T00:00:00Z", 2.0, runs=8,
         flags=((0, "contended"), (1, "uneven"), (2, "contended"), (3, "throttled"))),
    Copy("hot", "2030-01-02T00:00:00Z", 1.5, runs=6, flags=((1, "throttled"),), readings=True),
]
# The rank test's verdicts between neighbours with enough runs.
VERDICTS = {(EVIL_HOST, "fast"): "verdict not-significant", ("fast", "mid"): "verdict significant",
            ("mid", "hot"): "verdict significant"}
# The readings of each second drawn under the runs' seconds, by the chart drawing them, each with
# the value of the copies' first second.
READINGS = {"clock": {"clockMHz": 3000.5, "maxClockMHz": 3600}, "temperature": {"temperatureC": 60},
            "quota": {"quotaThrottledMs": 40.5}}


def check(condition, fault):
    if not condition:
        failures.append(fault)


def cli(*arguments):
    return subprocess.run([program, *arguments], check=True, capture_output=True, text=True).stdout


def edited(document, twin):
    document = copy.deepcopy(document)
    rounds = document.get("rounds", [])
    document.update(sessionId=f"{twin.host}/{twin.started}/{len(rounds)}",
                    startedAt=twin.started,
                    workloadRevision=twin.revision or document["workloadRevision"])
    document["machine"].update(id=f"{zlib.crc32(twin.host.encode()):032x}", hostName=twin.host,
                               kernel=twin.kernel)
    if twin.runs and not rounds:
        real = document["runs"]
        document["runs"] = [dict(real[i % len(real)], run=i + 1) for i in range(twin.runs)]
    every = document["runs"] + [run for r in rounds for run in [r["solo"], *r["workers"]]]
    for i, run in enumerate(every):
        run.update(score=round(run["score"] * twin.scale * (1 + i / 1000)),
                   secondIterations=[round(s * twin.scale) for s in run["secondIterations"]],
                   **{flag: (i, flag) in twin.flags for flag in FLAG_NAMES})
        if twin.readings and i > 0:
            # Each reading a gap (null) in a second of its own, which a zero would not match.
            series = {key: first for kind in READINGS.values() for key, first in kind.items()}
            run["readings"] = {"seconds": {key: [None if s == k else first + i + s / 10
                                                 for s in range(len(run["secondIterations"]))]
                                           for k, (key, first) in enumerate(series.items())}}
    for r in rounds:
        r["multiCoreScore"] = round(r["multiCoreScore"] * twin.scale)
    return document


def points(document, key="multiCoreScore"):
    """(value, (contended, uneven, throttled)) of each scored run, or of each complete round."""
    if "rounds" not in document:
        return [(r["score"], tuple(r.get(f, False) for f in FLAG_NAMES))
                for r in document["runs"] if r["status"] == "scored"]
    return [(r[key], (any(w["contended"] for w in r["workers"]),
                      any(w["uneven"] for w in r["workers"] + [r["solo"]]),
                      any(w.get("throttled", False) for w in r["workers"] + [r["solo"]])))
            for r in document["rounds"] if r["multiCoreScore"] is not None]


def interval_cells(scores):
    """The ranking's interval of the median and its confidence, from the binomial."""
    n, k = len(scores), 1
    if n < 2:
        return ["one run: no interval", "–"]
    cover = [1 - sum(math.comb(n, i) for i in range(j)) / 2 ** (n - 1) for j in range(n + 1)]
    while cover[1] >= 0.95 and 2 * (k + 1) <= n + 1 and cover[k + 1] >= 0.95:
        k += 1
    s = sorted(scores)
    reached = f"{100 * cover[k]:.1f} %" + ("" if cover[1] >= 0.95 else ": too few runs for 95 %")
    return [f"{s[k - 1]:,.0f} to {s[n - k]:,.0f}", reached]


# Every chart's datasets: each point as [its x label, the value at its pixel height].
READ_CHARTS = """[...document.querySelectorAll("canvas")].map((canvas) => {
  const c = Chart.getChart(canvas);
  const name = (l) => (Array.isArray(l) ? l[0] : l);
  return {kind: canvas.dataset.chart, machine: canvas.dataset.machine, jobs: canvas.dataset.kind,
    id: canvas.id, animation: c.options.animation,
    sets: Object.fromEntries(c.data.datasets.map((d, i) => [d.label, c.getDatasetMeta(i).data
      .map((p, j) => d.data[j] === null ? null : [name(c.data.labels[Math.round(
        c.scales.x.getValueForPixel(p.x))]), c.scales.y.getValueForPixel(p.y)])]))};
})"""
# The history tables' rows, each cell under its header.
READ_HISTORY = """[...document.querySelectorAll("#history table")].flatMap((t) =>
  [...t.tBodies[0].rows].map((r) => Object.fromEntries([...r.cells]
    .map((c, i) => [t.tHead.rows[0].cells[i].textContent, c.textContent]))))"""
READ_RANKING = """[...document.querySelectorAll("#ranking tbody")].map((t) => [...t.rows]
  .map((r) => [r.className, [...r.cells].map((c) => c.textContent)]))"""


def near(a, b):
    """Equal lists of numbers, None (a gap) only where the other has None."""
    return len(a) == len(b) and all(
        x == y or None not in (x, y) and math.isclose(x, y, rel_tol=1e-6) for x, y in zip(a, b))


def chart_of(charts, kind, machine=None):
    found = [c for c in charts if c["kind"] == kind and machine in (None, c.get("machine"))]
    check(found, f"no {kind} chart of {machine or 'the machines'}: the page left it out")
    return found[0] if found else {"sets": {}}


def check_charts(charts, latest, host):
    for kind, jobs, key in (("single-core", False, ""), ("multi-core", True, "multiCoreScore"),
                            ("scaling", True, "efficiency")):
        chart = chart_of(charts, kind)
        for machine, document in latest[jobs].items():
            want = sorted(points(document, key))
            got = sorted((y, FLAGS[name]) for name in FLAGS
                         for x, y in chart["sets"].get(name, []) if x == host[machine])
            check(near(*([v for v, _ in s] for s in (got, want))) and
                  [f for _, f in got] == [f for _, f in want],
                  f"{kind}: {host[machine]!r}'s runs or flags drawn {got}, not its latest {want}")
            median = [y for x, y in chart["sets"].get("median", []) if x == host[machine]]
            check(near(median, [statistics.median(v for v, _ in want)]),
                  f"{kind}: {host[machine]!r}'s median drawn {median}, not its runs' median")
    for machine, document in latest[False].items():
        seconds = chart_of(charts, "seconds", machine)
        scored = [r for r in document["runs"] if r["status"] == "scored"]
        want = [r["secondIterations"] for r in scored]
        got = [[y for _, y in s] for s in seconds["sets"].values()]
        check(len(got) == len(want) and all(map(near, got, want)),
              f"seconds of {host[machine]!r}: drawn {got}, not its runs' {want}")
        marked = ["throttled" in name for name in seconds["sets"]]
        check(marked == [r.get("throttled", False) for r in scored],
              f"seconds of {host[machine]!r}: throttled runs marked {marked}, not the document's")
        check_readings(charts, document, machine, host[machine])


def check_readings(charts, document, machine, host):
    """Each reading's series of every run that has it, nulls as gaps; no chart for none."""
    for kind, keys in READINGS.items():
        series = [(r.get("readings") or {}).get("seconds", {}).get(key)
                  for r in document["runs"] if r["status"] == "scored" for key in keys]
        want = [s for s in series if s and any(v is not None for v in s)]
        found = [c for c in charts if (c["kind"], c.get("machine")) == (kind, machine)]
        got = [[p and p[1] for p in s] for c in found for s in c["sets"].values()]
        check(bool(found) == bool(want) and len(got) == len(want) and all(map(near, got, want)),
              f"{kind} of {host!r}: drawn {got}, not the document's {want} (a gap drawn as 0, a "
              "series under another's name, or a chart of readings the runs do not have)")


def check_history(charts, rows, page_text, table):
    for chart in (c for c in charts if c["kind"] == "history"):
        jobs = 0 if chart["jobs"] == "single-core" else int(chart["jobs"].split()[1])
        series = [r for r in rows if (r["machine_id"], r["jobs"]) == (chart["machine"], jobs)]
        medians = [statistics.median(json.loads(r["scores"])) for r in series]
        check(near([y for _, y in chart["sets"]["median"]], medians),
              f"history {chart['id']}: medians not the store's {medians} (of another revision, "
              "or another kind on the same axis)")
        changed = [i > 0 and series[i - 1]["context"] != r["context"] for i, r in enumerate(series)]
        check([p is not None for p in chart["sets"]["context changed"]] == changed,
              f"history {chart['id']}: context changes not marked where the store's differ")
    check("kernel Linux 6.1.0-18 → Linux 6.1.0-25" in page_text,
          "fast's kernel change is not named under its history")
    want = sorted(sum(f[2] for _, f in points(json.loads(r["document"]))) for r in rows)
    got = sorted(int(r["throttled"]) for r in table)
    check(got == want, f"history: throttled runs of the sessions {got}, not {want}")


def check_ranking(tables, latest, host, page_text):
    for table, jobs in zip(tables, (False, True)):
        clean = {host[m]: [v for v, f in points(d) if not any(f)] for m, d in latest[jobs].items()}
        order = sorted((m for m in clean if clean[m]), key=lambda m: -statistics.median(clean[m]))
        entries = [cells for kind, cells in table if not kind]
        names = [re.sub(r" \(--jobs \d+\)$", "", cells[1]) for cells in entries]
        check(names == order, f"ranking: {names}, not by the clean runs' medians: {order}")
        for name, cells in zip(names, entries):
            check(cells[3:5] == interval_cells(clean[name]),
                  f"ranking: {name!r}'s interval {cells[3:5]}, not {interval_cells(clean[name])}")
        verdicts = [(kind, cells[0]) for kind, cells in table if kind]
        for (higher, lower), (kind, text) in zip(zip(order, order[1:]), verdicts):
            few = min(len(clean[higher]), len(clean[lower])) < 4
            want = "verdict too-few-runs" if few else VERDICTS[higher, lower]
            apart = "cannot be told apart" in text
            check(kind == want and apart == (want != "verdict significant"),
                  f"ranking: {higher!r} against {lower!r}: {kind} {text!r}, not {want}")
        flagged = sum(len(points(d)) for d in latest[jobs].values()) - sum(map(len, clean.values()))
        throttled = sum(f[2] for d in latest[jobs].values() for _, f in points(d))
        check(re.search(rf"\b{flagged} runs? left out \(.*\b{throttled} throttled\)", page_text),
              f"ranking: the {flagged} flagged runs left out, {throttled} throttled, not counted")


def main(screenshot):
    with tempfile.TemporaryDirectory() as folder:
        work = pathlib.Path(folder)
        real = [json.loads(cli("--json", *arguments, "--no-store"))
                for arguments in (("--runs", "2"), ("--jobs", "2", "--runs", "1"))]
        files = []
        for document in real + [edited(d, twin) for twin in COPIES for d in real]:
            files.append(str(work / f"session{len(files)}.json"))
            pathlib.Path(files[-1]).write_text(json.dumps(document))
        store = str(work / "store.sqlite")
        cli("--import", *files, "--store", store)
        cli("--report", str(work / "page.html"), "--store", store)
        check(not re.search(r"\b[a-z]+://", (work / "page.html").read_text()),
              "the page names an address: it needs a network, or another file")
        with sqlite3.connect(store) as db:
            db.row_factory = sqlite3.Row
            rows = db.execute("SELECT * FROM sessions JOIN documents ON session_id = id"
                              " ORDER BY started_at, sessions.rowid").fetchall()
        with ChromiumPage(work / "page.html", 1200, 900) as page:
            charts = page.evaluate(READ_CHARTS)
            tables = page.evaluate(READ_RANKING)
            history = page.evaluate(READ_HISTORY)
            text = page.evaluate("document.body.innerText")
            if screenshot:
                page.screenshot(screenshot, full_page=True)
    check(len({c["id"] for c in charts}) == len(charts) and all(c["kind"] for c in charts),
          "a chart without an id of its own or a data-chart naming it")
    check(all(c["animation"] is False for c in charts),
          "a chart animates: a print or a screenshot could catch it short of its values")
    current = [r for r in rows if r["workload_revision"] == real[0]["workloadRevision"]]
    check(f"{len(rows) - len(current)} sessions of other workload revisions left out" in text,
          "the header does not count the sessions of other revisions left out")
    latest = {False: {}, True: {}}
    for row in current:
        latest[row["jobs"] > 0][row["machine_id"]] = json.loads(row["document"])
    host = {m: d["machine"]["hostName"] for kind in latest.values() for m, d in kind.items()}
    check_charts(charts, latest, host)
    check_history(charts, current, text, history)
    check_ranking(tables, latest, host, text)


if __name__ == "__main__":
    main(sys.argv[sys.argv.index("--screenshot") + 1] if "--screenshot" in sys.argv else None)
    for failure in failures:
        print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)
