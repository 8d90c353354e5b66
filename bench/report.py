#!/usr/bin/env python3
"""Writes the performance report from the benchmark's JSON output.

Usage: report.py BUILD_DIR OUTPUT RESULTS.json... [--windows WINDOWS.json]
                 [--baseline LABEL RESULTS.json...]

OUTPUT is '-' for standard output. The RESULTS files hold single repetitions (not aggregates)
of one program, from one or more of its runs; with --baseline, those after LABEL come from the
program of an earlier commit, run in turns with the current one. WINDOWS.json is what the
Windows batch timing printed under Wine with --json.

Every figure is the median over the repetitions of CPU time: the machine is shared, and CPU
time leaves out the time other processes hold the cores. The batch benchmarks time a program
they start and report that time themselves (manual time): its CPU time, or for several jobs
the wall-clock time. Ratios compare figures of one run.
"""

import json
import os
import platform
import re
import statistics
import subprocess
import sys

UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def median_rows(paths):
    """The context of the first file, and for each benchmark its repetitions' medians."""
    context = None
    repetitions = {}
    for path in paths:
        with open(path, encoding="utf-8") as results_file:
            results = json.load(results_file)
        context = context or results["context"]
        for bench in results["benchmarks"]:
            if bench.get("run_type") != "iteration":
                continue
            name = bench["run_name"]
            if name.endswith("/manual_time"):
                name = name[:-len("/manual_time")]
                bench = dict(bench, cpu_time=bench["real_time"])
            repetitions.setdefault(name, []).append(bench)
    rows = {}
    for name, runs in repetitions.items():
        row = dict(runs[0])
        row["cpu_time"] = statistics.median(r["cpu_time"] * UNIT[r["time_unit"]] for r in runs)
        row["time_unit"] = "s"
        if "bytes_per_second" in row:
            row["bytes_per_second"] = statistics.median(r["bytes_per_second"] for r in runs)
        if "allocations" in row:
            row["allocations"] = max(r["allocations"] for r in runs)
        row["fastest"] = min(r["cpu_time"] * UNIT[r["time_unit"]] for r in runs)
        row["repetitions"] = len(runs)
        rows[name] = row
    return context, rows


def seconds(row):
    return row["cpu_time"] * UNIT[row["time_unit"]]


def duration(value):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6)):
        if value >= scale:
            return f"{value / scale:.3g} {unit}"
    return f"{value / 1e-9:.3g} ns"


def rate(row):
    return f"{row['bytes_per_second'] / 1e6:.0f} MB/s" if "bytes_per_second" in row else ""


def per_char(row):
    return row["heap_bytes"] / row["chars"]


def memory(row):
    if "heap_bytes" not in row:
        return ""
    return f"{row['heap_bytes'] / 1e3:.0f} kB, {per_char(row):.1f} B a character"


def count(row, name):
    return f"{row[name]:.0f}" if name in row else ""


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


def cache_value(build_dir, name):
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            match = re.match(rf"{name}:\w+=(.*)", line.strip())
            if match:
                return match.group(1)
    return ""


def compiler(build_dir):
    path = cache_value(build_dir, "CMAKE_CXX_COMPILER")
    version = subprocess.run([path, "--version"], capture_output=True, text=True, check=True)
    return version.stdout.splitlines()[0]


def os_name():
    try:
        with open("/etc/os-release", encoding="utf-8") as release:
            for line in release:
                if line.startswith("PRETTY_NAME="):
                    return line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    return platform.system()


def verdict(is_met):
    return "met" if is_met else "**not met**"


def ratio(after, before):
    return f"{after / before:.2f}"


def main():
    build_dir, output, *paths = sys.argv[1:]
    windows = None
    if "--windows" in paths:
        at = paths.index("--windows")
        with open(paths[at + 1], encoding="utf-8") as windows_file:
            windows = json.load(windows_file)
        paths = paths[:at] + paths[at + 2:]
    baseline_label, baseline_paths = None, []
    if "--baseline" in paths:
        at = paths.index("--baseline")
        baseline_label, baseline_paths = paths[at + 1], paths[at + 2:]
        paths = paths[:at]
    context, rows = median_rows(paths)
    repetitions = min(row["repetitions"] for row in rows.values())
    before = median_rows(baseline_paths)[1] if baseline_label else {}

    corpus = rows["Corpus/Reckoner"]
    corpus_theirs = rows["Corpus/muparser"]
    formulas = corpus["formulas"]
    per_formula = seconds(corpus) / formulas
    per_formula_theirs = seconds(corpus_theirs) / formulas
    corpus_ratio = per_formula_theirs / per_formula

    sums = sorted((name for name in rows if name.startswith("LongSum/Reckoner/")),
                  key=lambda name: int(name.rsplit("/", 1)[1]))
    slowest_rate = min(rows[name]["bytes_per_second"] for name in sums)
    largest_sum = rows[sums[-1]]
    worked = rows["Sequence/WorkedExample"]
    worst = rows["Sequence/WorstCase"]
    reckoner_rows = ["Corpus/Reckoner", *sums, "Nesting/Reckoner/32767"]
    allocations = max(rows[name]["allocations"] for name in reckoner_rows)
    sum_memory = [per_char(rows[name]) for name in sums]
    nesting_memory = per_char(rows["Nesting/Reckoner/32767"])

    out = []
    put = out.append
    put("# Performance")
    put("")
    put("Written by `scripts/bench` from the benchmarks in `bench/`; do not edit it by hand.")
    put("Every evaluation is one-shot: the text is read and computed from scratch on each call.")
    put(f"Each figure is the median of {repetitions} repetitions of CPU time (the machine is "
        "shared, and CPU time leaves out the time other processes hold its cores).")
    if before:
        put("Each repetition of a benchmark ran in a process of its own, right before or after "
            "the same benchmark of the earlier program compared below; muparser ran in the same "
            "rounds, on the same texts.")
    else:
        put("muparser ran in the same process, interleaved with the other benchmarks, on the "
            "same texts.")
    put("")
    put("## Machine")
    put("")
    put(f"- Processor: {cpu_model()}, {context['num_cpus']} logical cores")
    put(f"- System: {os_name()}, Linux {platform.release()}")
    put(f"- Compiler: {compiler(build_dir)}, "
        f"`{cache_value(build_dir, 'CMAKE_CXX_FLAGS_RELEASE')}`")
    put(f"- Run: {context['date']}, load average "
        f"{', '.join(f'{v:.2f}' for v in context.get('load_avg', []))} at the start")
    put(f"- Corpus: `{os.path.relpath(context['corpus'])}`, {context['corpus_formulas']} formulas, "
        f"{context['corpus_shared']} of them read by muparser and timed; "
        f"{context['corpus_disagreements']} values differ between the two")
    put("")
    put("## Targets")
    put("")
    put("| Target | Measured | |")
    put("|---|---|---|")
    put(f"| Short formulas at least 50 times faster than muparser | {corpus_ratio:.0f} times "
        f"| {verdict(corpus_ratio >= 50)} |")
    put(f"| Short formulas at 200 ns each or less (aim) | {duration(per_formula)} "
        f"| {verdict(per_formula <= 200e-9)} |")
    put(f"| Long formulas at 100 MB/s or more | {slowest_rate / 1e6:.0f} MB/s at the slowest "
        f"| {verdict(slowest_rate >= 100e6)} |")
    put(f"| The {int(sums[-1].rsplit('/', 1)[1]):,}-term sum in under 5 ms "
        f"| {duration(seconds(largest_sum))} | {verdict(seconds(largest_sum) < 5e-3)} |")
    put(f"| The worked example's whole sequence in under 2 µs | {duration(seconds(worked))} "
        f"| {verdict(seconds(worked) < 2e-6)} |")
    put(f"| The 32,767-character worst case's whole sequence in under 5 ms "
        f"| {duration(seconds(worst))} | {verdict(seconds(worst) < 5e-3)} |")
    put(f"| No allocation per evaluation once the buffers have grown | {allocations:.0f} "
        f"at the most | {verdict(allocations == 0)} |")
    # A linear bound: the copy of the text (2 bytes a character); at most one 8-byte value, one
    # 8-byte operator and, for a formula with a problem, its 4-byte place a character, in
    # buffers that grow by doubling, so that all the blocks they were ever given add up to less
    # than four times what they hold; and the narrow copy of a number too long for the stack,
    # grown the same way (2 bytes).
    bound = 2 + 4 * (8 + 8 + 4) + 2
    put(f"| Evaluator memory linear in the text, at most {bound} bytes a character whatever "
        f"the nesting | {max(sum_memory):.1f} bytes a character for the sums, "
        f"{nesting_memory:.1f} for the deepest nesting "
        f"| {verdict(max(sum_memory + [nesting_memory]) <= bound)} |")
    history = "History/Load/Full" in rows
    if history:
        append_worked = seconds(rows["History/Append/WorkedExample"])
        append_long = seconds(rows["History/Append/FourLong"])
        evaluate_long = seconds(rows["History/Evaluate/FourLong"])
        load_full = seconds(rows["History/Load/Full"])
        full_mib = rows["History/Load/Full"]["file_bytes"] / 2**20
        put(f"| Recording adds at most 1 ms to an evaluation of the worked example "
            f"| {duration(append_worked)} added to {duration(seconds(worked))} "
            f"| {verdict(append_worked <= 1e-3)} |")
        put(f"| Recording adds at most 5 ms to an evaluation of four 32,767-character formulas "
            f"| {duration(append_long)} added to {duration(evaluate_long)} "
            f"| {verdict(append_long <= 5e-3)} |")
        put(f"| Start-up reads no history; a full one (1,000 entries, {full_mib:.1f} MiB) is "
            f"read when the History window first opens, which may take 100 ms in all "
            f"| {duration(load_full)} | {verdict(load_full <= 100e-3)} |")
    batch_line = seconds(rows["Batch/OneJob"]) / rows["Batch/OneJob"]["lines"]
    batch_ratio = batch_line / seconds(worked)
    put(f"| A batch line of the worked example at most 2 times its in-process sequence "
        f"| {duration(batch_line)}, {batch_ratio:.2f} times | {verdict(batch_ratio <= 2)} |")
    if windows:
        windows_ratio = windows["program_line"] / windows["sequence"]
        put(f"| Under Wine too (see below) | {duration(windows['program_line'])}, "
            f"{windows_ratio:.2f} times | {verdict(windows_ratio <= 2)} |")
    parallel = [name for name in rows if name.startswith("Batch/Jobs/") and name != "Batch/Jobs/1"]
    for name in parallel:
        # Several jobs need cores that no other process holds, which the fastest repetitions
        # had the most of; the medians show what load on the shared machine left of the gain.
        jobs = int(name.rsplit("/", 1)[1])
        gain = rows["Batch/Jobs/1"]["fastest"] / rows[name]["fastest"]
        median_gain = seconds(rows["Batch/Jobs/1"]) / seconds(rows[name])
        aim = 1.6 if jobs == 2 else 0.8 * jobs
        put(f"| {jobs} jobs answer at least {aim:.1f} times the lines a second of one job "
            f"| {gain:.2f} times, fastest repetitions ({median_gain:.2f} times, medians) "
            f"| {verdict(gain >= aim)} |")
    peak = max(rows[name]["peak_bytes"] for name in rows if name.startswith("Batch/"))
    put(f"| A batch holds at most 64 MiB | {peak / 2**20:.1f} MiB at the peak at most, "
        f"{rows['Batch/OneJob']['lines']:,.0f} lines | {verdict(peak <= 64 * 2**20)} |")
    if "Batch/Before" in rows:
        gain = seconds(rows["Batch/Before"]) / seconds(rows["Batch/OneJob"])
        put(f"| Batch lines cheaper than before | {gain:.2f} times as many lines for the same "
            f"CPU time | {verdict(gain > 1)} |")
    if "Corpus/Reckoner" in before:
        slowdown = corpus["fastest"] / before["Corpus/Reckoner"]["fastest"]
        put(f"| Short formulas at most 10 % slower than before (see below) | {slowdown:.2f} "
            f"times the time before, fastest repetitions | {verdict(slowdown <= 1.10)} |")
    put("")
    put("## Figures")
    put("")
    put("MB/s counts one byte per character of formula text (of the file, for the history's "
        "load). The history's files are on the disk of the build folder. Allocations are per iteration, "
        "after a first evaluation of the same text. Memory is every byte a new evaluator "
        "allocates for the text, the blocks its buffers grew out of included, so it is more "
        "than the evaluator holds at its peak.")
    put("")
    put("| Benchmark | What it does | Time | Rate | muparser | Ratio | Allocations | Memory |")
    put("|---|---|---|---|---|---|---|---|")

    def line(name, what, time, theirs=None):
        row = rows[name]
        compared = ["", ""]
        if theirs is not None:
            compared = [duration(theirs), f"{theirs / time:.0f} times"]
        put(f"| `{name}` | {what} | {duration(time)} | {rate(row)} | {compared[0]} "
            f"| {compared[1]} | {count(row, 'allocations')} | {memory(row)} |")

    line("Corpus/Reckoner", "one formula of the corpus that muparser reads, on average",
         per_formula, per_formula_theirs)
    if "CorpusAll/Reckoner" in rows:
        whole = rows["CorpusAll/Reckoner"]
        line("CorpusAll/Reckoner", "one formula of the whole corpus, on average",
             seconds(whole) / whole["formulas"])
    for name in sums:
        terms = int(name.rsplit("/", 1)[1])
        theirs_name = f"LongSum/muparser/{terms}"
        theirs = seconds(rows[theirs_name]) if theirs_name in rows else None
        what = f"1.5+1.5+... of {terms:,} terms ({int(rows[name]['chars']):,} characters)"
        if theirs is None:
            what += "; muparser refuses it"
        line(name, what, seconds(rows[name]), theirs)
    line("Nesting/Reckoner/32767", "1 inside 16,383 pairs of parentheses",
         seconds(rows["Nesting/Reckoner/32767"]))
    line("Sequence/WorkedExample", "main x^2+y, X z+1.5, Y 3, Z 1.5: rewriting, "
         "substitution, four evaluations and the texts of the boxes", seconds(worked))
    line("Sequence/WorstCase", "main x+x+...+x of 32,767 characters, X y*1E-100, Y z, Z -1/3: "
         "every x becomes (-3.33333333333333E-101)", seconds(worst))
    line("ExpandVar/32767", "rewriting 32,767 x's", seconds(rows["ExpandVar/32767"]))
    if history:
        line("History/Evaluate/FourLong", "main x+x+...+x, X y+y+...+y, Y z+z+...+z, "
             "Z 1+1+...+1, each of 32,767 characters: the whole sequence", evaluate_long)
        for name, what in (("WorkedExample", "the worked example's entry"),
                           ("FourLong", "the entry of the four long formulas")):
            row = rows[f"History/Append/{name}"]
            line(f"History/Append/{name}", f"{what} ({row['line_bytes']:,.0f} bytes) appended "
                 "to the history file: the line written, the lock taken, one write",
                 seconds(row))
        line("History/Load/Full", f"the load of a full history as the History window first "
             f"reads it, 1,000 entries in "
             f"{full_mib:.1f} MiB: read, every line checked, sorted", load_full)
    put("")
    put("The batch rows start `sumwright-cli --batch` on a file of "
        f"{rows['Batch/OneJob']['lines']:,.0f} lines, each the worked example as one request, "
        "and throw its answers away. Their time is one line's share of the program's CPU time "
        "(one job) or of the wall-clock time (the `Jobs` rows, which compare one job with "
        "several on the same input), `/usr/bin/time` included, which starts the program. "
        "Memory is the program's peak resident size as `/usr/bin/time` reports it: started "
        "from that small process, the program does not count the benchmark's memory.")
    put("")
    put("| Benchmark | What it does | Time a line | Lines a second | Memory |")
    put("|---|---|---|---|---|")
    batch_rows = {
        "Batch/OneJob": "`--jobs 1`, CPU time",
        "Batch/Before": "the earlier program compared below, CPU time",
        "Batch/Jobs/1": "`--jobs 1`, wall-clock time",
    }
    for name in [*batch_rows, *parallel]:
        if name not in rows:
            continue
        row = rows[name]
        what = batch_rows.get(name, f"`--jobs {name.rsplit('/', 1)[1]}`, wall-clock time")
        per_line = seconds(row) / row["lines"]
        put(f"| `{name}` | {what} | {duration(per_line)} | {1 / per_line:,.0f} "
            f"| {row['peak_bytes'] / 2**20:.1f} MiB |")
    if windows:
        put("")
        put("Under Wine, where Google Benchmark is not built, `bench/batch_timing.cpp` (preset "
            "`windows-bench`, the compiler and flags of the Windows packages) times "
            f"`sumwright-cli.exe --batch --jobs 1` on a file of {windows['lines']:,} such lines "
            "and the worked example's sequence in its own process, in turns, "
            f"{windows['rounds']} rounds, and gives medians of wall-clock time. A line's share "
            "leaves out the program's start, timed on an empty file "
            f"({windows['program_start'] * 1e3:.0f} ms under Wine). Reproduce it alone with "
            "`scripts/bench --windows`.")
        put("")
        put("| Under Wine | Time | Times the sequence |")
        put("|---|---|---|")
        put(f"| The worked example's sequence, in process | {duration(windows['sequence'])} | 1 |")
        for key, what in (("in_process_line", "A line of `runBatch`, in process"),
                          ("program_line", "A line of `sumwright-cli.exe --batch --jobs 1`")):
            put(f"| {what} | {duration(windows[key])} "
                f"| {windows[key] / windows['sequence']:.2f} |")
    if before:
        put("")
        put("## Before and after")
        put("")
        compared_repetitions = min(row["repetitions"] for row in before.values())
        put(f"Before is `{baseline_label}`, built the same way and run in turns with the program "
            f"measured above, in this one run, {compared_repetitions} "
            "repetitions on either side. The figures are CPU times of the fastest repetition, "
            "the one other processes disturbed least, then the medians; a ratio above 1 is "
            "slower. The muparser rows ran the same library on both sides: how far their "
            "ratios stray from 1 is the noise of the comparison.")
        put("")
        put("| Benchmark | Before | After | After / before | Medians before, after | "
            "Ratio of medians |")
        put("|---|---|---|---|---|---|")
        compared = ["Corpus/Reckoner", *sums, "Nesting/Reckoner/32767", "Sequence/WorkedExample",
                    "Sequence/WorstCase", "ExpandVar/32767", "Corpus/muparser",
                    *(name for name in rows if name.startswith("LongSum/muparser/"))]
        for name in compared:
            if name not in before:
                continue
            then, now = before[name], rows[name]
            per = then.get("formulas", 1) if name.startswith("Corpus/") else 1
            what = f"`{name}`, one formula" if per != 1 else f"`{name}`"
            put(f"| {what} | {duration(then['fastest'] / per)} | {duration(now['fastest'] / per)} "
                f"| {ratio(now['fastest'], then['fastest'])} "
                f"| {duration(seconds(then) / per)}, {duration(seconds(now) / per)} "
                f"| {ratio(seconds(now), seconds(then))} |")
    put("")
    put("Reproduce with `scripts/bench`; `scripts/bench --corpus FILE` times the formulas of FILE "
        "(one a line) instead and prints this report without writing it, and "
        "`scripts/bench --baseline REV` adds the before and after figures against commit REV.")

    text = "\n".join(out) + "\n"
    if output == "-":
        sys.stdout.write(text)
    else:
        with open(output, "w", encoding="utf-8") as report:
            report.write(text)


if __name__ == "__main__":
    main()
