#!/usr/bin/env python3
"""Plants small faults in the product code, one at a time, and runs the test suite against each.

    scripts/mutants/mutants.py [ID ...] [--results FILE] [--resume] [--full] [--list]

Each mutant replaces one exact text (found exactly once in its file) by another, builds
build/mutants incrementally and runs the suite without the exercise test and without the copies
on the X server (--full: the whole suite). A mutant is CAUGHT when a test fails, SURVIVED when
every test passes and INVALID when it does not build. The file is always put back, even on
Ctrl-C. The unmutated tree must pass first.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build" / "mutants"
CTEST = ["ctest", "--test-dir", str(BUILD), "--stop-on-failure", "--timeout", "180"]

# id, file, original text, replacement, what it breaks
MUTANTS = [
    ("rnd-increment", "runtime/random.cpp", "kIncrement = 0xC39EC3;", "kIncrement = 0xC39EC5;",
     "the generator's stream"),
    ("rnd-reseed-shift", "runtime/random.cpp", "(bits + (bits >> 24)) & kSeedMask",
     "(bits + (bits >> 16)) & kSeedMask", "reseeding by a negative number"),
    ("err-overflow-bound", "runtime/errors.cpp", "sum > INT16_MAX", "sum >= INT16_MAX",
     "16-bit addition overflows one early"),
    ("err-overflow-text", "runtime/errors.cpp", 'return "Overflow";', 'return "Overflow error";',
     "the overflow message"),
    ("num-keep-leading-zero", "runtime/numtext.cpp",
     '  if (digits.starts_with("0.")) {\n    digits.remove_prefix(1);\n  }\n', "",
     "numbers below one keep their leading zero"),
    ("num-lowercase-exponent", "runtime/numtext.cpp", "(c == 'e') ? 'E' : c", "c",
     "exponents in lower case"),
    ("loop-no-setcsr", "runtime/loopstate.cpp", "  _mm_setcsr(mxcsr_);\n", "",
     "the pump's SSE rounding and flags reach the run"),
    ("loop-no-x87-clear", "runtime/loopstate.cpp", "if ((x87Status & kX87Faults) != 0) {",
     "if ((x87Status & kX87Faults) == 0) {", "an x87 fault flag left by the pump stays set"),
    ("msgbox-also-stderr", "runtime/msgbox.cpp", "    handler(prompt);\n    return;\n",
     "    handler(prompt);\n", "a message shown in a box is printed on stderr as well"),
    ("xor-255", "cipher/clsEncrypter.cpp", "rtcRandomNext() * 256.0f", "rtcRandomNext() * 255.0f",
     "the keystream's bytes"),
    ("stretch-swap", "cipher/clsEncrypter.cpp", "(c1 >> 6) << 4 | (c2 >> 6) << 2",
     "(c1 >> 6) << 2 | (c2 >> 6) << 4", "the packed top bits of a full group"),
    ("stretch-short-shift", "cipher/clsEncrypter.cpp", "int shift = 4;", "int shift = 2;",
     "the packed top bits of a short last group"),
    ("key-sign", "cipher/clsEncrypter.cpp", "const float v = -u * static_cast<float>(c);",
     "const float v = u * static_cast<float>(c);", "the key no longer reseeds the generator"),
    ("shrink-shift", "cipher/clsEncrypter.cpp", "high = ((y / 4) & 3) * 64;",
     "high = ((y / 2) & 3) * 64;", "decoding of every group's second character"),
    ("shrink-below-alphabet", "cipher/clsEncrypter.cpp", "if (code < 0) {", "if (code < -1) {",
     "code 58 in a data position decodes"),
    ("shrink-text", "cipher/clsEncrypter.cpp", '"Error in decrypt process!"',
     '"Error in decrypt process."', "the decoding failure's message"),
    ("mod1-no-xor", "cipher/Module1.cpp", "  encrypter.DoXor();\n", "",
     "the chain only armours, never encrypts"),
    ("score-divisor", "benchmark/BenchmarkEngine.cpp", "iterations * 8 / 5", "iterations * 8 / 4",
     "the score's scale"),
    ("score-round", "benchmark/BenchmarkEngine.cpp", "return std::floor(quotient);",
     "return std::round(quotient);", "scores rounded instead of truncated"),
    ("tick-limit-99", "benchmark/BenchmarkEngine.cpp", "intTicks_ == kTickLimit",
     "intTicks_ == kTickLimit - 1", "a run stops one tick early"),
    ("no-clear-status", "benchmark/BenchmarkEngine.cpp",
     "  clearFloatStatus();\n  host_.setTimer1Enabled(true);", "  host_.setTimer1Enabled(true);",
     "a flag raised before the run fails it"),
    ("timer-order-swapped", "benchmark/BenchmarkEngine.cpp",
     "host_.setTimer1Enabled(true);  // enabled before the interval is set\n"
     "  host_.setTimer1Interval(kTickIntervalMs);",
     "host_.setTimer1Interval(kTickIntervalMs);\n  host_.setTimer1Enabled(true);",
     "the run timer is armed in the other order"),
    ("result-caption", "benchmark/BenchmarkEngine.cpp", '"Result: " + rtcVarStrFromVar',
     '"Result " + rtcVarStrFromVar', "the result label's text"),
    ("math-pairs-8", "benchmark/WorkIteration.cpp", "kMathPairs = 9;", "kMathPairs = 8;",
     "less math work per iteration"),
    ("pump-no-guard", "platform/EventPump.cpp", "  const LoopStateGuard loopState;\n", "",
     "handlers in the pump change the run's floating-point state"),
    ("pump-no-user-input", "platform/EventPump.cpp", "QEventLoop::AllEvents",
     "QEventLoop::ExcludeUserInputEvents", "no clicks or keys during a run"),
    ("dispatcher-swapped", "platform/EventPump.cpp",
     'if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))',
     'if (qEnvironmentVariableIsSet("QT_NO_GLIB"))', "the GLib dispatcher unless the user chose"),
    ("gate-always-open", "platform/EventGate.cpp", "if (dispatcher == nullptr) {\n    return true;",
     "if (true) {\n    return true;", "a system call in every pump"),
    ("gate-no-wakeup", "platform/EventGate.cpp",
     "dispatcher->threadPipe.wakeUps.loadAcquire() != 0 ||", "", "posted events wait for a tick"),
    ("gate-no-follow-up", "platform/EventGate.cpp", "g_gate.lastPumpHandledEvents ||", "",
     "what a handler posts waits for a tick"),
    ("gate-no-notifier", "platform/EventGate.cpp", "!dispatcher->socketNotifiers.isEmpty() ||", "",
     "socket notifiers never fire during a run"),
    ("gate-no-timer", "platform/EventGate.cpp", "wait.tv_sec == 0 && wait.tv_nsec == 0;",
     "false && wait.tv_nsec == 0;", "the run's ticks never come"),
    ("gate-no-xcb", "platform/EventGate.cpp", 'name == "QXcbUnixEventDispatcher"',
     'name == "QXcbEventDispatcher"', "the plain pump on X11"),
    ("timer-coarse", "platform/Timer.cpp", "  timer_->setTimerType(Qt::PreciseTimer);\n", "",
     "ticks up to 5 % late"),
    ("timer-enable-no-apply", "platform/Timer.cpp", "enabled_ = enabled;\n  apply();",
     "enabled_ = enabled;", "disabling a timer leaves it ticking"),
    ("version-field-bound", "platform/version/VersionRecord.cpp", "number > INT16_MAX ||",
     "number >= INT16_MAX ||", "version field 32767 refused"),
    ("version-value-offby1", "platform/version/VersionRecord.cpp", "entry.substr(equals + 1)",
     "entry.substr(equals)", "every value starts with '='"),
    ("form-centre-corner", "ui/toolkit/FormLife.cpp", "frame.moveCenter(centre);",
     "frame.moveTopLeft(centre);", "a window's corner, not its centre, on the owner"),
    ("form-recentre-forever", "ui/toolkit/FormLife.cpp", "    frameCentrePending_.reset();\n", "",
     "a framed window snaps back whenever it is moved"),
    ("popup-no-null-check", "ui/toolkit/FormInput.cpp",
     "  if (chosen == nullptr) {\n    return;\n  }\n  const auto handler", "  const auto handler",
     "dismissing the popup dereferences no choice"),
    ("popup-menu-name", "ui/toolkit/FormInput.cpp", "m.name == menuName", "m.name != menuName",
     "the popup never opens"),
    ("unload-ends-early", "ui/toolkit/FormLife.cpp", "if (loadedFormCount() != 0) {",
     "if (loadedFormCount() > 1) {", "the program ends with a window still loaded"),
    ("unload-no-hide", "ui/toolkit/FormLife.cpp", "  hide();\n  destroyWhenIdle();",
     "  destroyWhenIdle();", "an unloaded window stays on screen while a handler runs"),
    ("right-button-code", "ui/toolkit/FormInput.cpp", "case Qt::RightButton:\n      return 2;",
     "case Qt::RightButton:\n      return 4;", "a right press reported as the middle button"),
    ("middle-button-code", "ui/toolkit/FormInput.cpp", "case Qt::MiddleButton:\n      return 4;",
     "case Qt::MiddleButton:\n      return 2;", "a middle press opens the popup"),
    ("busy-pointer-code", "ui/toolkit/FormInput.cpp", "pointer == 11", "pointer == 1",
     "no busy pointer during a run"),
    ("oom-text", "ui/toolkit/HandlerErrors.cpp", '"Error 7: Out of memory"', '"Error 7: out of memory"',
     "the out-of-memory message"),
    ("font-pixel-size", "ui/toolkit/WindowControls.cpp", "wanted.points * 4 / 3", "wanted.points * 3 / 4",
     "every font too small"),
    ("main-popup-left-button", "ui/frmMain.cpp", "if (Button != 2) {", "if (Button != 1) {",
     "the popup opens on a left press"),
    ("about-no-cancel", "ui/frmAbout.cpp", ".cancel = true}", ".cancel = false}",
     "Esc no longer closes About"),
    ("label-not-run-text", "ui/frmMainDescription.cpp", '"Result: (not run)"',
     '"Result: (not yet run)"', "the result label before a run"),
    ("rank-doubled", "cli/stats/MannWhitney.cpp", "static_cast<std::int64_t>(i + j + 2)",
     "static_cast<std::int64_t>(i + j + 1)", "ranks one half too low"),
    ("rank-tie-cube", "cli/stats/MannWhitney.cpp", "tied * tied * tied - tied", "tied * tied - tied",
     "the approximate test's tie correction"),
    ("rank-distance-strict", "cli/stats/MannWhitney.cpp", "if (distance >= observed) {",
     "if (distance > observed) {", "the exact p leaves out the observed sum"),
    ("verdict-swapped", "cli/stats/MannWhitney.cpp",
     "? Verdict::kSignificant : Verdict::kNotSignificant",
     "? Verdict::kNotSignificant : Verdict::kSignificant",
     "significant and not significant swapped"),
    ("resfile-control-bound", "cli/compare/ResultFile.cpp", "static_cast<unsigned char>(c) < 0x20",
     "static_cast<unsigned char>(c) < 0x1f", "control character 0x1f reaches the message"),
    ("resfile-score-zero", "cli/compare/ResultFile.cpp", "number >= 1 && number <= limit",
     "number >= 0 && number <= limit", "a score of 0 accepted"),
    ("resfile-unscored-refused", "cli/compare/ResultFile.cpp",
     "if (status.toString() != \"scored\") {\n      continue;",
     "if (status.toString() != \"scored\") {\n      return fieldError(name, field, \"not scored\");",
     "a file with an interrupted or failed run refused"),
    ("resfile-contended", "cli/compare/ResultFile.cpp",
     '    file.contendedRuns += run.value("contended").toBool() ? 1 : 0;\n', "",
     "contended runs in a file not counted"),
    ("stats-sample-n", "cli/stats/Statistics.cpp", "squares / static_cast<double>(n - 1)",
     "squares / static_cast<double>(n)", "population instead of sample deviation"),
    ("stats-single-cv", "cli/stats/Statistics.cpp", "if (n >= 2) {", "if (n >= 1) {",
     "one score gets a variation of 0/0"),
    ("opt-runs-zero", "cli/command/Options.cpp", "value < 1) {", "value < 0) {", "--runs 0 accepted"),
    ("opt-usage-text", "cli/command/Options.cpp", "print one JSON document instead of text",
     "print JSON instead of text", "the help text"),
    ("compare-higher-lower", "cli/compare/Compare.cpp", "newerSummary.median > olderSummary.median)",
     "newerSummary.median < olderSummary.median)", "higher and lower swapped"),
    ("runresult-99", "cli/run/RunResult.cpp", "if (ticks < BenchmarkEngine::kTickLimit) {",
     "if (ticks < BenchmarkEngine::kTickLimit - 1) {", "a run stopped at tick 99 is scored"),
    ("progress-and", "cli/report/ProgressBar.cpp", "slot == lastSlot_ || ticks == lastTicks_",
     "slot == lastSlot_ && ticks == lastTicks_", "the bar redraws more than once a tenth"),
    ("envnotes-mains", "cli/machine/EnvironmentNotes.cpp", 'firstLine(supply / "online") == "0"',
     'firstLine(supply / "online") == "1"', "on mains reported as on battery"),
    ("interrupt-no-stop", "cli/measure/MeasuredRun.cpp", "if (interrupt.requested()) {\n      host_.stopRun();",
     "if (interrupt.requested()) {\n      (void)tick;", "Ctrl-C waits for the run's end"),
    ("jobs-no-forward", "cli/jobs/WorkerProcesses.cpp", "kill(child.pid, SIGINT);", "(void)child;",
     "Ctrl-C leaves the workers running"),
    ("jobs-no-parent-death", "cli/jobs/Worker.cpp", "prctl(PR_SET_PDEATHSIG, SIGTERM);", "",
     "workers outlive a killed starter"),
    ("jobs-efficiency-n", "cli/jobs/Round.cpp", "(static_cast<double>(workers.size()) * solo.score)",
     "solo.score", "the efficiency not divided by the workers"),
    ("jobs-compare-kinds", "cli/compare/Compare.cpp", "if ((a.jobs > 0) != (b.jobs > 0)) {", "if (false) {",
     "a --jobs file compared with a single-core one"),
    ("cpuinfo-cores", "cli/machine/Machine.cpp", "cores.emplace(info.package,", "cores.emplace(std::string(),",
     "cores of two packages counted as one"),
    ("ticks-one-late", "cli/run/PerSecond.h", "counts_[static_cast<std::size_t>(tick - 1)]",
     "counts_[static_cast<std::size_t>(tick) % BenchmarkEngine::kTickLimit]",
     "each tick's count recorded a slot late"),
    ("steadiness-max", "cli/run/PerSecond.cpp", "summary->minimum / summary->median",
     "summary->minimum / summary->maximum", "the slowest second over the fastest"),
    ("uneven-note", "cli/compare/Compare.cpp", "if (older.unevenRuns == 0 && newer.unevenRuns == 0) {",
     "if (true) {", "no note of uneven runs"),
    ("main-summary-one", "cli/command/SessionRuns.cpp", "summary && summary->count >= 2",
     "summary && summary->count >= 1", "a summary line after a single run"),
    ("jobs-sigint-twice", "cli/jobs/WorkerProcesses.cpp", "interrupt.requested() && !interruptPassedOn",
     "interrupt.requested()", "Ctrl-C passed on to the workers more than once"),
    ("interrupt-no-grace", "cli/measure/InterruptWatch.cpp", "} else if (now - g_firstAt",
     "} else if (true || now - g_firstAt", "a second Ctrl-C 50 ms after the first ends the program"),
    ("uneven-threshold", "cli/run/PerSecond.h", "kUnevenBelow = 0.75;", "kUnevenBelow = 0.6;",
     "a run with one second at 60 % of the median not uneven"),
    ("compare-jobs-counts", "cli/compare/Compare.cpp", "if ((a.jobs > 0) != (b.jobs > 0)) {",
     "if (a.jobs != b.jobs) {", "--jobs files of different worker counts refused"),
    ("resfile-fraction", "cli/compare/ResultFile.cpp", " && std::floor(number) == number;", ";",
     "fractional scores and workload revisions accepted"),
    ("engine-ticks-wrap", "benchmark/BenchmarkEngine.cpp", "addChecked16(intTicks_, 1)",
     "static_cast<std::int16_t>(intTicks_ + 1)", "the tick counter wraps instead of overflowing"),
    ("pump-switch-ignored", "platform/EventGate.cpp",
     'qEnvironmentVariable("ORVENDALE_EVENT_PUMP") != QLatin1String("plain")', "true",
     "ORVENDALE_EVENT_PUMP=plain ignored"),
    ("worker-named-exe", "cli/jobs/Worker.cpp", "prctl(PR_SET_NAME, kProgramName);", "",
     "workers shown as exe"),
    ("jobs-unbounded", "cli/command/Options.cpp", "<= kJobsPerCpu * cpus) {", "<= SIZE_MAX) {",
     "any number of workers started"),
    ("jobs-bound-early", "cli/command/Options.cpp", "<= kJobsPerCpu * cpus) {", "< kJobsPerCpu * cpus) {",
     "four workers per CPU refused"),
    ("watchdog-never", "cli/measure/RunWatchdog.cpp", "return silentLooks_ >= kSilentLooks;",
     "return false;", "a run whose timer stopped hangs"),
    ("store-repeat-added", "cli/store/ResultStore.cpp", "query.numRowsAffected() > 0;", "true;",
     "a session stored again counted as new"),
    ("store-column-swap", "cli/store/ResultStore.cpp", "contendedRuns = query.value(7)",
     "contendedRuns = query.value(8)", "the contended count read back from the uneven column"),
    ("store-newer-written", "cli/store/ResultStore.cpp", "if (snapshot.version > schemaVersion()) {",
     "if (snapshot.version > schemaVersion() + 100) {", "a store of a newer schema written"),
    ("store-no-busy-wait", "cli/store/Sql.h", "kStoreBusyTimeoutMs = 5000;",
     "kStoreBusyTimeoutMs = 0;", "sessions stored at once lost to the lock"),
    ("store-no-retry", "cli/store/Sql.h", "if (std::chrono::steady_clock::now() >= deadline) {",
     "if (std::chrono::steady_clock::now() >= deadline || true) {",
     "a lock refused at once (no wait) taken as final"),
    ("store-full-unnamed", "cli/store/Sql.cpp", "    case ENOSPC:\n", "",
     "a full disk reported as an input/output error"),
    ("history-change-first", "cli/history/History.cpp", "contextChanges(history.rows.back()",
     "contextChanges(history.rows.front()", "changes marked against the first session"),
    ("history-revisions-mixed", "cli/history/History.cpp",
     "return a.result.workloadRevision == b.result.workloadRevision && ", "return ",
     "sessions of another workload revision trended and compared"),
    ("opt-list-eats-option", "cli/command/Options.cpp", "!arguments[i + 1].starts_with(\"--\")",
     "true", "a store command's files take the options after them"),
    ("import-refusal-success", "cli/command/StoreCommands.cpp",
     "return refused > 0 ? kUsageExitStatus : 0;", "return 0;", "a refused file reported as success"),
    ("watchdog-not-started", "cli/measure/MeasuredRun.cpp", "const RunWatchdog watchdog(ticks_.handledTicks());",
     "", "a run whose timer stopped hangs"),
    ("readings-backwards", "cli/sensors/TickReader.cpp", "if (!before || !now || *now < *before) {",
     "if (!before || !now) {", "a counter reset read as a huge increase"),
    ("readings-garbage", "cli/system/SystemFiles.cpp", "error == std::errc() && stop == last",
     "error == std::errc()", "a number followed by garbage read as the number"),
    ("readings-clock-rule", "cli/sensors/Readings.cpp", "*second.clockMhz < kFullClockShare * *second.maxClockMhz",
     "*second.clockMhz < kFullClockShare * *second.clockMhz", "a clock drop never throttles"),
    ("readings-thermal-rule", "cli/sensors/Readings.cpp", "whole.thermalThrottleEvents.value_or(0) > 0",
     "whole.thermalThrottleEvents.value_or(0) > 3", "thermal throttle counts missed"),
    ("quota-ancestor", "cli/sensors/CpuQuota.cpp", "(*quota)->cpus() < state.quota->cpus()",
     "(*quota)->cpus() > state.quota->cpus()", "an ancestor's tighter quota missed"),
    ("quota-namespace", "cli/sensors/CpuQuota.cpp", 'mount->root != "/"\n', 'mount->root == "<none>"\n', "a cgroup namespace's path joined twice"),
    ("quota-v2-units", "cli/sensors/CpuQuota.cpp", 'key == "throttled_usec" && value) {\n      nanoseconds = *value * 1000;',
     'key == "throttled_usec" && value) {\n      nanoseconds = *value;', "v2's microseconds taken for nanoseconds"),
    ("worker-readings-dropped", "cli/jobs/WorkerProtocol.cpp", "report.run.readings = std::move(readings);", "",
     "a worker's readings lost on the way"),
    ("quota-note-never", "cli/machine/EnvironmentNotes.cpp", "state->quota->cpus() < 1", "state->quota->cpus() < 0.1",
     "a run under half a CPU not warned of"),
    ("throttled-not-counted", "cli/report/Session.cpp", "return run.scored() && run.throttled();",
     "return run.scored() && false;", "throttled runs not counted in the summary"),
]


def run(command, log):
    log.write(f"$ {' '.join(command)}\n")
    log.flush()
    # A group of its own, so that stopping also stops the test ctest is running.
    process = subprocess.Popen(command, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT,
                               start_new_session=True)
    try:
        return process.wait()
    except BaseException:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait()
        raise


def table_problems(mutants):
    problems = [f"{m[0]}: the original text occurs {(ROOT / m[1]).read_text().count(m[2])} times"
                for m in mutants if (ROOT / m[1]).read_text().count(m[2]) != 1]
    dirty = subprocess.run(["git", "status", "--porcelain", "--"] + sorted({m[1] for m in mutants}),
                           cwd=ROOT, capture_output=True, text=True).stdout.strip()
    return problems + ([f"uncommitted changes in mutated files:\n{dirty}"] if dirty else [])


def build_and_test(log_path, full):
    """INVALID, CAUGHT or SURVIVED for the tree as it is now, and the first failing test."""
    with open(log_path, "w") as log:
        if run(["cmake", "--build", str(BUILD)], log) != 0:
            return "INVALID", ""
        if run(CTEST + ([] if full else ["-LE", "exercise|xcb"]), log) == 0:
            return "SURVIVED", ""
    failed = re.search(r"Test\s+#\d+: (\S+) \.*\s*(\*\*\*|Subprocess|Exception|Child)",
                       log_path.read_text(errors="replace"))
    return "CAUGHT", failed.group(1) if failed else ""


def try_mutant(mutant, logs, full):
    ident, file, original, replacement, _ = mutant
    path = ROOT / file
    saved = path.read_bytes()
    try:
        path.write_bytes(saved.decode().replace(original, replacement, 1).encode())
        return build_and_test(logs / f"{ident}{'.full' if full else ''}.log", full)
    finally:
        path.write_bytes(saved)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("ids", nargs="*", help="mutants to run (default: all)")
    parser.add_argument("--results", type=Path, help="append one line per mutant to this file")
    parser.add_argument("--resume", action="store_true", help="skip mutants already in --results")
    parser.add_argument("--full", action="store_true", help="the exercise and X-server tests too")
    parser.add_argument("--list", action="store_true", help="list the mutants and exit")
    args = parser.parse_args()

    known = {m[0]: m for m in MUTANTS}
    if unknown := [i for i in args.ids if i not in known]:
        sys.exit(f"unknown mutants: {', '.join(unknown)}")
    chosen = [known[i] for i in args.ids] if args.ids else MUTANTS
    if args.list:
        print("\n".join(f"{m[0]:24} {m[1]:36} {m[4]}" for m in chosen))
        return 0
    if problems := table_problems(chosen):
        sys.exit("\n".join(problems))
    resuming = args.resume and args.results and args.results.exists()
    done = {row.split("\t")[0]: row.split("\t") for row in
            args.results.read_text().splitlines()} if resuming else {}
    for stop in (signal.SIGTERM, signal.SIGHUP):  # stop as on Ctrl-C, restoring the file
        signal.signal(stop, signal.default_int_handler)

    logs = BUILD / "mutant-logs"
    if not (BUILD / "CMakeCache.txt").exists():
        subprocess.run(["cmake", "--preset", "release", "-B", str(BUILD)], cwd=ROOT, check=True)
    logs.mkdir(parents=True, exist_ok=True)
    if (verdict := build_and_test(logs / "baseline.log", args.full)[0]) != "SURVIVED":
        sys.exit(f"the unmutated tree does not pass ({verdict}): see {logs / 'baseline.log'}")

    rows = []
    started = time.monotonic()
    try:
        for mutant in chosen:
            if mutant[0] in done:
                rows.append(done[mutant[0]][:4])
                continue
            begin = time.monotonic()
            verdict, test = try_mutant(mutant, logs, args.full)
            rows.append([mutant[0], verdict, f"{time.monotonic() - begin:.0f}", test])
            print("\t".join(rows[-1]), flush=True)
            if args.results:
                with open(args.results, "a") as out:
                    out.write("\t".join(rows[-1]) + "\n")
    except KeyboardInterrupt:
        print("stopped; the mutated file was restored", file=sys.stderr)

    for ident, verdict, seconds, test in rows:
        print(f"{ident:24} {verdict:9} {seconds:>4}  {test or known[ident][4]}")
    counts = {v: sum(r[1] == v for r in rows) for v in ("CAUGHT", "SURVIVED", "INVALID")}
    print(f"mutants: {len(rows)} run, {counts['CAUGHT']} caught, {counts['SURVIVED']} survived, "
          f"{counts['INVALID']} invalid ({time.monotonic() - started:.0f} s)")
    return 0 if len(rows) == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
