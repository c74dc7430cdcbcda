// Builds the report from its data (the JSON of #report-data): the charts with Chart.js, a table
// of their numbers beneath each. Every text of the data goes into the page as text, never as
// markup. Each canvas has an id and data-chart naming what it draws (and data-machine, data-kind).
"use strict";
(function () {
  const data = JSON.parse(document.getElementById("report-data").textContent);
  const machines = data.machines;
  const charts = []; // built once the page is in place: Chart.js sizes them to their boxes

  Chart.defaults.animation = false;
  Chart.defaults.font.family = "system-ui, sans-serif";
  Chart.defaults.color = "#4a5568";

  // An element with attributes and children (elements, or texts that stay texts).
  function el(tag, attributes, ...children) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      node.setAttribute(name, value);
    }
    node.append(...children.map((child) => (child instanceof Node ? child : String(child))));
    return node;
  }

  // Grouped digits; whole numbers without decimals and halves (medians of two) with one.
  function number(value, decimals) {
    if (value === null || value === undefined) {
      return "–";
    }
    const digits = decimals === undefined ? (Number.isInteger(value) ? 0 : 1) : decimals;
    return value.toLocaleString("en-US", {
      minimumFractionDigits: digits,
      maximumFractionDigits: digits,
    });
  }

  const percent = (share) => number(100 * share, 1) + " %";
  const num = (text) => el("td", { class: "num" }, text);
  const wrapped = (text) => el("td", { class: "wrap" }, text); // a host name may be long
  const note = (text) => el("p", { class: "note" }, text);
  const label = (entry) => machines[entry.machine].label;
  const kindText = (jobs) => (jobs > 0 ? "--jobs " + jobs : "single-core");
  const listed = (parts) => parts.filter(Boolean).join(", ") || "–";
  const joined = (parts, last) =>
    parts.length < 2 ? parts.join("") : parts.slice(0, -1).join(", ") + last + parts.at(-1);

  // The flags a run may carry. A flagged run did not measure the processor alone: the rankings
  // leave it out. A throttled run's causes are named where its seconds are.
  const FLAG_NAMES = ["contended", "uneven", "throttled"];
  const flagsOf = (p) => FLAG_NAMES.filter((flag) => p[flag]);
  const causes = (p) => (Array.isArray(p.throttleCauses) && p.throttleCauses.length > 0
    ? " (" + p.throttleCauses.join(", ") + ")" : "");
  const flagText = (p) =>
    listed(flagsOf(p).map((flag) => (flag === "throttled" ? flag + causes(p) : flag)));
  const anyFlag = joined(FLAG_NAMES, " or ");
  const when = (startedAt) =>
    startedAt ? startedAt.replace("T", " ").replace(/:\d\d(\.\d+)?Z$/, " UTC") : "unknown";

  // Rows are lists of cells (texts or <td>s), or whole <tr>s. No rows, no table.
  function table(headers, rows) {
    if (rows.length === 0) {
      return document.createDocumentFragment();
    }
    const cell = (c) => (c instanceof Node ? c : el("td", {}, c));
    const body = rows.map((row) => (row instanceof Node ? row : el("tr", {}, ...row.map(cell))));
    const head = el("tr", {}, ...headers.map((h) => el("th", {}, h)));
    return el("div", { class: "scroll" },
      el("table", {}, el("thead", {}, head), el("tbody", {}, ...body)));
  }

  function chart(id, kind, attributes, caption, config, small) {
    const named = { id: id, "data-chart": kind, role: "img", "aria-label": caption };
    const canvas = el("canvas", Object.assign(named, attributes));
    charts.push([canvas, config]);
    return el("figure", {}, el("figcaption", {}, caption),
      el("div", { class: small ? "chart small" : "chart" }, canvas));
  }

  // A chart, or where it would have nothing to draw, a line that says so.
  function chartOrNone(entries, what, ...chartArguments) {
    return entries.length > 0
      ? chart(...chartArguments)
      : note("No " + what + " of workload revision " + data.workloadRevision + ".");
  }

  // A long host name would squeeze its chart: the axis shows its start, the tables all of it.
  function shortened(value) {
    const text = this.getLabelForValue(value);
    const cut = (line) => (line.length > 24 ? line.slice(0, 23) + "…" : line);
    return Array.isArray(text) ? text.map(cut) : cut(text);
  }

  function options(yTitle, beginAtZero) {
    const drawn = (item, chartData) =>
      chartData.datasets[item.datasetIndex].data.some((value) => value !== null);
    return {
      animation: false,
      responsive: true,
      maintainAspectRatio: false,
      scales: {
        x: { ticks: { callback: shortened, maxRotation: 0, autoSkip: false } },
        y: { beginAtZero: beginAtZero, title: { display: true, text: yTitle } },
      },
      plugins: {
        legend: { position: "bottom", labels: { usePointStyle: true, filter: drawn } },
      },
    };
  }

  // A run's look tells its flags: filled when clean; hollow, in each flag's own shape and colour,
  // or a red diamond for two flags or more.
  const FLAG_STYLES = {
    contended: ["circle", "transparent", "#dd6b20", 6],
    uneven: ["triangle", "transparent", "#805ad5", 7],
    throttled: ["rect", "transparent", "#319795", 6],
  };
  // Every set of flags, each a legend entry: "run", "uneven run", "contended and throttled run".
  const FLAG_SETS = Array.from({ length: 2 ** FLAG_NAMES.length }, (_, set) => {
    const flags = FLAG_NAMES.filter((_, i) => set & (1 << i));
    const style = flags.length === 0 ? ["circle", "#2b6cb0", "#2b6cb0", 5]
      : flags.length === 1 ? FLAG_STYLES[flags[0]] : ["rectRot", "transparent", "#c53030", 7];
    return { name: (flags.length > 0 ? joined(flags, " and ") + " " : "") + "run",
      text: flags.join(), style: style };
  });

  function pointsDataset(name, values, style) {
    const [shape, fill, line, radius] = style;
    return {
      type: "line", label: name, data: values, showLine: false, order: 0,
      pointStyle: shape, pointRadius: radius, pointHoverRadius: radius + 1, pointBorderWidth: 2,
      backgroundColor: fill, borderColor: line, pointBackgroundColor: fill, pointBorderColor: line,
    };
  }

  function rangeDataset(values) {
    return {
      type: "bar", label: "lowest to highest", data: values, order: 2, borderWidth: 1,
      backgroundColor: "rgba(66, 153, 225, 0.25)", borderColor: "rgba(66, 153, 225, 0.7)",
      barPercentage: 0.5, maxBarThickness: 64,
    };
  }

  // Per machine: a bar from the lowest to the highest value, the median as a dash, every run.
  function spreadConfig(entries, labels, yTitle, decimals) {
    const median = pointsDataset("median", entries.map((e) => e.median),
      ["line", "#1a202c", "#1a202c", 24]);
    const datasets = [rangeDataset(entries.map((e) => [e.minimum, e.maximum])),
      Object.assign(median, { order: 1, pointBorderWidth: 3 })];
    for (const flag of FLAG_SETS) {
      const flagged = (p) => flagsOf(p).join() === flag.text;
      // x is the machine's label itself (the very list, for two lines): the axis finds it.
      const values = entries.flatMap((e, i) =>
        e.points.filter(flagged).map((p) => ({ x: labels[i], y: p.value })));
      datasets.push(pointsDataset(flag.name, values, flag.style));
    }
    const config = { type: "bar", data: { labels: labels, datasets: datasets },
      options: options(yTitle, true) };
    config.options.plugins.tooltip = {
      callbacks: { label: (c) => c.dataset.label + ": " + number(c.parsed.y, decimals) },
    };
    return config;
  }

  // The interval of the median and the confidence it reaches, two cells.
  function intervalCells(interval, runs) {
    if (runs < 2) {
      return [num("one run: no interval"), num("–")];
    }
    const confidence = percent(interval.confidence);
    return [num(number(interval.low) + " to " + number(interval.high)),
      num(interval.reachesTarget ? confidence : confidence + ": too few runs for 95 %")];
  }

  function header() {
    const left = data.otherRevisionSessions;
    const context = (m, field) => m.context[field] || "–";
    return el("header", {},
      el("h1", {}, data.program + " results"),
      el("p", { class: "meta" }, "Generated by " + data.program + " " + data.version + " on " +
        when(data.generatedAt) + ". Workload revision " + data.workloadRevision + ": " +
        (left === 1 ? "1 session" : left + " sessions") +
        " of other workload revisions left out (they measure other work)."),
      table(["machine", "CPU", "logical CPUs", "physical cores", "kernel", "OS", "C library",
        "sessions"], machines.map((m) => [wrapped(m.label), context(m, "CPU"),
        num(context(m, "logical CPUs")), num(context(m, "physical cores")), context(m, "kernel"),
        context(m, "OS"), context(m, "C library"), num(m.sessions)])));
  }

  function spreadSection() {
    const single = data.singleCore;
    const multi = data.multiCore;
    const rows = single.concat(multi).map((e) => [kindText(e.jobs), wrapped(label(e)),
      num(e.points.length), num(number(e.median)), num(number(e.minimum)),
      num(number(e.maximum)), num(number(e.cvPercent, 2)),
      ...intervalCells(e.interval, e.points.length), ...FLAG_NAMES.map((flag) => num(e[flag]))]);
    return el("section", { id: "side-by-side" },
      el("h2", {}, "Machines side by side"),
      note("Each machine's latest session: every run as a point, the median as a dash, the bar " +
        "from the lowest to the highest score. A contended run had less than 97 % of a " +
        "processor; an uneven run slowed part-way (its slowest second under 0.75 of its median); " +
        "a throttled run was held back by heat, a lowered clock or the CPU quota."),
      el("div", { class: "charts" },
        chartOrNone(single, "single-core session", "chart-single-core", "single-core", {},
          "Single-core score", spreadConfig(single, single.map(label), "score", 0)),
        chartOrNone(multi, "--jobs session", "chart-multi-core", "multi-core", {},
          "Multi-core score (--jobs)",
          spreadConfig(multi, multi.map((e) => [label(e), kindText(e.jobs)]), "score", 0))),
      table(["scores", "machine", "runs", "median", "lowest", "highest", "CV %",
        "95 % interval of the median", "its confidence", ...FLAG_NAMES], rows));
  }

  const PALETTE = ["#2b6cb0", "#2f855a", "#b7791f", "#6b46c1", "#c53030", "#319795", "#d53f8c"];

  // The i-th run's line through its seconds, in its colour; a flagged run's dashed.
  function runLine(run, i, values) {
    const flags = flagsOf(run);
    return { label: "run " + run.n + (flags.length > 0 ? " (" + flags.join(", ") + ")" : ""),
      data: values, pointRadius: 3, borderDash: flags.length > 0 ? [6, 4] : [],
      borderColor: PALETTE[i % PALETTE.length], backgroundColor: PALETTE[i % PALETTE.length] };
  }

  function linesConfig(seconds, yTitle, datasets, beginAtZero) {
    const config = { type: "line", data: { labels: seconds, datasets: datasets },
      options: options(yTitle, beginAtZero) };
    config.options.scales.x.title = { display: true, text: "second of the run" };
    return config;
  }

  // A machine's chart of `kind` over the seconds of its runs.
  function machineChart(entry, kind, caption, config) {
    const machine = machines[entry.machine];
    return chart("chart-" + kind + "-" + entry.machine, kind, { "data-machine": machine.id },
      machine.label + caption, config, true);
  }

  function secondsChart(entry, seconds) {
    return machineChart(entry, "seconds", ", " + when(entry.startedAt), linesConfig(seconds,
      "iterations in the second", entry.runs.map((run, i) => runLine(run, i, run.seconds)), false));
  }

  // What the system read in each second of a run, drawn under the seconds where the document has
  // it: a chart of each reading, a line per run; a further series (the clock's maximum) a thin
  // line of the run's colour, out of the legend.
  const READINGS = [
    { kind: "clock", unit: "MHz", decimals: 0, source: "clockSource",
      series: [["clockMHz", "clock"], ["maxClockMHz", "maximum clock"]] },
    { kind: "temperature", unit: "°C", decimals: 1, source: "temperatureSensor",
      series: [["temperatureC", "temperature"]] },
    { kind: "quota", unit: "ms of the second", decimals: 1, zero: true,
      series: [["quotaThrottledMs", "throttled by the CPU quota"]] },
  ];

  // A run's reading of each second: a number, or null (a gap) where the system gave none; no
  // entries for a run without readings (a file written before they were taken).
  function readingOf(run, key) {
    const seconds = run.readings && run.readings.seconds;
    const values = seconds && Array.isArray(seconds[key]) ? seconds[key] : [];
    return values.map((value) => (typeof value === "number" ? value : null));
  }
  const hasValues = (values) => values.some((value) => value !== null);

  function readingChart(entry, reading, seconds) {
    const datasets = entry.runs.flatMap((run, i) => reading.series.map(([key, name], s) => {
      const line = runLine(run, i, readingOf(run, key));
      return s === 0 ? line : Object.assign(line,
        { label: "run " + run.n + ", " + name, pointRadius: 0, borderWidth: 1, inLegend: false });
    })).filter((dataset) => hasValues(dataset.data));
    const sources = entry.runs.map((run) => run.readings && run.readings[reading.source]);
    const source = sources.find((text) => typeof text === "string");
    const thin = reading.series.length > 1 ? "; thin: " + reading.series[1][1] : "";
    const config = linesConfig(seconds, reading.unit, datasets, Boolean(reading.zero));
    const legend = config.options.plugins.legend.labels;
    const drawn = legend.filter;
    legend.filter = (item, d) => drawn(item, d) && d.datasets[item.datasetIndex].inLegend !== false;
    return machineChart(entry, reading.kind, ": " + reading.series[0][1] + ", " + reading.unit +
      (source ? " (" + source + ")" : "") + thin, config);
  }

  // A row for each series a run has of the readings drawn.
  function readingsTable(entry, drawn, seconds) {
    const rows = entry.runs.flatMap((run) => drawn.flatMap((reading) => reading.series
      .map(([key, name]) => [name + ", " + reading.unit, readingOf(run, key)])
      .filter(([, values]) => hasValues(values))
      .map(([name, values]) => [num(run.n), name,
        ...seconds.map((_, s) => num(number(values[s], reading.decimals)))])));
    return table(["run", "reading", ...seconds.map((s) => s + " s")], rows);
  }

  // Under a machine's seconds, the readings its runs have: their charts and a table of them.
  function readingsPart(entry, seconds) {
    const drawn = READINGS.filter((reading) =>
      entry.runs.some((run) => hasValues(readingOf(run, reading.series[0][0]))));
    return drawn.length === 0 ? [] : [el("h3", {}, label(entry) + ": readings of each second"),
      el("div", { class: "charts" }, ...drawn.map((r) => readingChart(entry, r, seconds))),
      readingsTable(entry, drawn, seconds)];
  }

  function readingsParts(seconds) {
    const parts = data.seconds.flatMap((entry) => readingsPart(entry, seconds));
    return parts.length === 0 ? [] : [note("What the system read in each second, where it gave " +
      "it: the clock against its maximum, the temperature, and the time the CPU quota held the " +
      "run back. A gap is a second without a reading; a run of a file written before readings " +
      "were taken has none."), ...parts];
  }

  function secondsSection() {
    const most = Math.max(0, ...data.seconds.flatMap((m) => m.runs.map((r) => r.seconds.length)));
    const seconds = Array.from({ length: most }, (_, i) => String(i + 1));
    const rows = data.seconds.flatMap((entry) => entry.runs.map((run) => [wrapped(label(entry)),
      num(run.n), ...seconds.map((_, s) => num(number(run.seconds[s]))),
      num(number(run.steadiness, 3)), flagText(run)]));
    return el("section", { id: "seconds" },
      el("h2", {}, "Each run's ten seconds"),
      note("Iterations in each second of the latest single-core session's runs, a line per " +
        "run; a flagged run's line is dashed. Steadiness: the slowest second over the median."),
      el("div", { class: "charts" }, ...data.seconds.map((entry) => secondsChart(entry, seconds))),
      data.seconds.length > 0
        ? table(["machine", "run", ...seconds.map((s) => s + " s"), "steadiness", "flags"], rows)
        : chartOrNone([], "single-core session"),
      ...readingsParts(seconds));
  }

  function scalingSection() {
    const entries = data.scaling;
    const rows = entries.flatMap((e) => e.rounds.map((r) => [wrapped(label(e)), kindText(e.jobs),
      num(r.n), num(number(r.solo)), num(number(r.multiCoreScore)), num(number(r.efficiency, 3)),
      flagText(e.points.find((p) => p.n === r.n) || {})]));
    return el("section", { id: "scaling" },
      el("h2", {}, "Scaling efficiency of --jobs rounds"),
      note("A round's multi-core score over N times its solo score: 1.0 means N cores did N " +
        "times the work of one."),
      el("div", { class: "charts" },
        chartOrNone(entries, "--jobs session", "chart-scaling", "scaling", {},
          "Scaling efficiency per round",
          spreadConfig(entries, entries.map((e) => [label(e), kindText(e.jobs)]), "efficiency",
            3))),
      table(["machine", "workers", "round", "solo score", "multi-core score", "efficiency",
        "flags"], rows));
  }

  // Writes above each marked point which context fields changed there.
  const changeLabels = {
    id: "changeLabels",
    afterDatasetsDraw(c, args, opts) {
      const points = c.getDatasetMeta(opts.dataset).data;
      c.ctx.save();
      c.ctx.font = "11px system-ui, sans-serif";
      c.ctx.fillStyle = "#c53030";
      c.ctx.textAlign = "center";
      opts.texts.forEach((text, i) => text && c.ctx.fillText(text, points[i].x, points[i].y - 12));
      c.ctx.restore();
    },
  };

  function historyChart(machine, index, series) {
    const sessions = series.sessions;
    const median = { type: "line", label: "median", data: sessions.map((s) => s.median),
      order: 1, borderColor: "#2b6cb0", backgroundColor: "#2b6cb0", pointRadius: 4 };
    const changed = pointsDataset("context changed",
      sessions.map((s) => (s.changes.length > 0 ? s.median : null)),
      ["triangle", "#c53030", "#c53030", 8]);
    const config = {
      type: "bar",
      data: { labels: sessions.map((s) => when(s.startedAt)),
        datasets: [rangeDataset(sessions.map((s) => [s.minimum, s.maximum])), median, changed] },
      options: options(series.jobs > 0 ? "multi-core score" : "score", false),
      plugins: [changeLabels],
    };
    config.options.layout = { padding: { top: 18 } };
    // Room above and below: a flat series would otherwise get an axis of fractions.
    config.options.scales.y.suggestedMin = 0.98 * Math.min(...sessions.map((s) => s.minimum));
    config.options.scales.y.suggestedMax = 1.02 * Math.max(...sessions.map((s) => s.maximum));
    config.options.plugins.changeLabels =
      { dataset: 2, texts: sessions.map((s) => s.changes.map((c) => c.field).join(", ")) };
    return chart("chart-history-" + index + "-" + series.jobs, "history",
      { "data-machine": machine.id, "data-kind": kindText(series.jobs) },
      machine.label + ": " + kindText(series.jobs) + ", median of each session", config, true);
  }

  // The sessions a history's table lists: those with a change, and the latest of each kind. A
  // year of a fleet is 100 000 rows, which no browser shows in reasonable time; the chart draws
  // every session.
  const kLatestListed = 10;

  function historyTable(machine) {
    const changes = (s) => s.changes.map((c) => c.field + " " + c.before + " → " + c.after);
    const listed = (series) => series.sessions.filter((s, i) =>
      s.changes.length > 0 || i >= series.sessions.length - kLatestListed);
    const rows = machine.history.flatMap((series) => listed(series).map((s) => [when(s.startedAt),
      kindText(series.jobs), num(s.runs), num(number(s.median)), num(number(s.minimum)),
      num(number(s.maximum)), num(number(s.cvPercent, 2)), ...FLAG_NAMES.map((f) => num(s[f])),
      wrapped(changes(s).join("; ") || "–")]));
    const all = machine.history.reduce((sum, series) => sum + series.sessions.length, 0);
    const left = all > rows.length ? [note(rows.length + " of " + all + " sessions listed: " +
      "those with a change, and the latest " + kLatestListed + " of each kind.")] : [];
    return el("div", {}, ...left, table(["started", "scores", "runs", "median", "lowest",
      "highest", "CV %", ...FLAG_NAMES, "changed since the session before"], rows));
  }

  function historySection() {
    const parts = machines.flatMap((machine, index) => machine.history.length === 0 ? [] : [
      el("h3", {}, machine.label),
      el("div", { class: "charts" },
        ...machine.history.map((series) => historyChart(machine, index, series))),
      historyTable(machine)]);
    return el("section", { id: "history" },
      el("h2", {}, "History"),
      note("Each machine's sessions of this workload revision, oldest first; single-core and " +
        "each --jobs N apart, since they measure different work. A red triangle marks a " +
        "session whose machine or build differs from the one before it of its kind."),
      ...parts);
  }

  function rankingRows(entries) {
    return entries.flatMap((e, i) => {
      const machine = label(e) + (e.jobs > 0 ? " (" + kindText(e.jobs) + ")" : "");
      const row = [num(i + 1), wrapped(machine), num(number(e.median)),
        ...intervalCells(e.interval, e.runs), num(e.runs),
        num(listed(FLAG_NAMES.map((flag) => e[flag] && e[flag] + " " + flag)))];
      if (!e.next) {
        return [row];
      }
      const verdict = label(e) + " against " + label(entries[i + 1]) + ": " + e.next.text;
      return [row, el("tr", { class: "verdict " + e.next.verdict.replace(/ /g, "-") },
        el("td", { colspan: row.length }, verdict))];
    });
  }

  function rankingTable(title, ranking) {
    const runs = ranking.leftOutRuns === 1 ? " run" : " runs";
    const counts = FLAG_NAMES.map((flag) => ranking[flag + "Runs"] + " " + flag).join(", ");
    const notes = ["Ranked by the median of the runs not " + anyFlag + "; " + ranking.leftOutRuns +
      runs + " left out (" + counts + ")."];
    for (const entry of ranking.unranked) {
      notes.push("Not ranked: " + label(entry) + ", every run " + anyFlag + ".");
    }
    if (new Set(ranking.entries.map((e) => e.jobs)).size > 1) {
      notes.push("The machines ran different numbers of workers: their multi-core scores are " +
        "totals of different numbers of runs.");
    }
    return [el("h3", {}, title), ...notes.map(note),
      table(["rank", "machine", "median", "95 % interval of the median", "its confidence",
        "runs ranked", "left out"], rankingRows(ranking.entries))];
  }

  function rankingSection() {
    return el("section", { id: "ranking" },
      el("h2", {}, "Ranking"),
      note("Between neighbours, the Mann-Whitney rank test of their runs decides at the 5 % " +
        "level whether the machines differ, as --compare does."),
      ...rankingTable("Single-core", data.ranking.singleCore),
      ...rankingTable("Multi-core", data.ranking.multiCore));
  }

  document.title = data.program + " results, workload revision " + data.workloadRevision;
  document.getElementById("report").replaceChildren(header(), spreadSection(), secondsSection(),
    scalingSection(), historySection(), rankingSection());
  for (const [canvas, config] of charts) {
    new Chart(canvas, config);
  }
  // Chart.js fits its charts to the printed page only when asked to.
  window.addEventListener("beforeprint", () => {
    Object.values(Chart.instances).forEach((c) => c.resize());
  });
})();
