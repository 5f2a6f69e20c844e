#!/usr/bin/env python3
"""The whole table: every preset end to end through transcoda-cli against the best
single ffmpeg command that writes an equivalent file, on a 3 s and a 60 s 1280x720 clip
and on a camcorder clip; every step code's tool run against the engine commands it
runs; lists of 10 short items, one at a time and two at a time, and the peak memory of
two and of eight at once. Wall and processor time, the jobs of each row taking turns
round after round; medians with min and max.

Usage: presets_bench.py --build BUILD [--quick] [--sections ...] [--presets ...]
                        [--rounds N] [--short-rounds N] [--markdown FILE] [--keep]
"""

import argparse
import datetime
import os
import platform
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import media  # noqa: E402
import references as refs  # noqa: E402
from timing import Job, JobFailed, Pair  # noqa: E402
from timing import measure as measure_jobs  # noqa: E402
from timing import peak_memory  # noqa: E402
from watch import StandIns, Splitter, watch  # noqa: E402

SECTIONS = ("short", "long", "camcorder", "steps", "lists")
SECTION_TITLES = {
    "short": "3 s 1280x720 clip: transcoda-cli against ffmpeg",
    "long": "60 s 1280x720 clip: transcoda-cli against ffmpeg; under each, its step's tool against its engine",
    "camcorder": "60 s 1280x720 camcorder clip (.mts): transcoda-cli against a single ffmpeg pass",
    "steps": "60 s: the steps of the chained recipes and of the variants, tool against engine",
    "lists": "lists of 10 items of the 3 s clip",
}
QUICK_PRESETS = (0, 3, 25, 34)

COLUMNS = "%-46s %-20s %-20s %-19s %7s %7s %6s %5s  %s"


class Bench:
    def __init__(self, options):
        self.options = options
        build = os.path.abspath(options.build)
        self.cli = os.path.join(build, "bin", "transcoda-cli")
        step_lines = os.path.join(build, "bench", "presets", "presets_step_lines")
        for path in (self.cli, step_lines, os.path.join(build, "bin", "B", "utilitymff3.exe")):
            if not os.access(path, os.X_OK):
                raise SystemExit("%s is not built (cmake --build %s)" % (path, options.build))
        self.work = tempfile.mkdtemp(prefix="transcoda-presets-")
        self.clips = media.make_clips(os.path.join(build, "bench-media"))
        self.stand_ins = StandIns(os.path.join(self.work, "stand-ins"))
        self.intermediates = os.path.join(self.work, "intermediates")
        os.makedirs(self.intermediates)
        self.splitter = Splitter(step_lines, os.path.join(build, "bin"), self.intermediates)
        self.labels = {}
        for line in subprocess.run([self.cli, "--formats"], capture_output=True, text=True).stdout.splitlines():
            index, _, label = line.partition("\t")
            self.labels[int(index)] = label.strip()
        self.lines = []
        self.rows = {}          # (section, name) -> Pair
        self.row_loads = {}     # (section, name) -> the 1-minute load when the row began
        self.probes = []        # (what, engine starts, distinct files)
        self.ssim = []          # (preset, transcoda, direct)
        self.watch_count = 0
        self.failures = []      # (row, lines of what went wrong)

    # Output -------------------------------------------------------------------------
    def say(self, text=""):
        self.lines.append(text)
        print(text, flush=True)

    def row(self, section, name, pair, note=""):
        self.rows[(section, name)] = pair
        self.row_loads[(section, name)] = self.load
        self.say(COLUMNS % (name[:46], pair.a_wall.text(), pair.b_wall.text(), pair.ratio.text(),
                            "%.2f" % pair.a_cpu.median, "%.2f" % pair.b_cpu.median,
                            "%.2f" % pair.cpu_ratio.median, "%.2f" % self.load, note))

    def folder(self, name):
        path = os.path.join(self.work, name)
        os.makedirs(path, exist_ok=True)
        return path

    def watched(self, argv):
        self.watch_count += 1
        return watch(argv, self.stand_ins, os.path.join(self.work, "log%d" % self.watch_count), self.splitter)

    def measure(self, jobs, rounds):
        """The jobs' figures; the outputs of their last round are left in place."""
        self.load = os.getloadavg()[0]
        return measure_jobs(jobs, rounds)

    def codes(self, preset):
        return self.splitter.ask([("codes", str(preset))])[0] + ["", ""]

    # Presets end to end --------------------------------------------------------------
    def presets(self, section, clip_name, presets, rounds, with_steps):
        clip = self.clips[clip_name]
        seconds = media.CLIPS[clip_name][0]
        camcorder = clip_name.endswith(".mts")
        out = self.folder(section)
        for preset in presets:
            name = "p%d %s" % (preset, self.labels.get(preset, ""))
            self.guarded(name, self.preset_row, section, clip_name, clip, seconds, camcorder, out, preset, name,
                         rounds, with_steps)

    def guarded(self, name, function, *args):
        """One row; a failure is shown in its place and the table goes on."""
        try:
            function(*args)
        except (SystemExit, JobFailed) as failure:
            lines = [line for line in str(failure).splitlines() if line.strip()]
            self.failures.append((name, lines))
            self.say("%-46s FAILED: %s" % (name[:46], lines[0][:200] if lines else ""))
            for line in lines[1:][-4:]:
                self.say("%-46s   %s" % ("", line.strip()[:200]))

    def preset_row(self, section, clip_name, clip, seconds, camcorder, out, preset, name, rounds, with_steps):
        output = os.path.join(out, refs.output_name(preset, clip, "p%d" % preset))
        direct = os.path.join(out, refs.output_name(preset, clip, "direct%d" % preset))
        cli = [self.cli, "--lang", "EN", "-y", "-f", str(preset), clip, output] + refs.special_options(preset, seconds)
        seen = self.watched(cli[:1] + ["--debug"] + cli[1:])
        starts, files = seen.probe_summary()
        self.probes.append(("p%d on the %s" % (preset, clip_name), starts, files))
        chained = preset in refs.CHAINED or (camcorder and preset in refs.CAMCORDER_CHAINED)
        tool = None
        note = ""
        if preset in (0, 1):
            reference = refs.hd_avi(preset, clip, direct)
        elif preset in refs.DVD:
            reference = refs.dvd(preset, clip, direct)
        elif chained:
            reference = refs.direct_encode(seen.tool_lines[-1], clip, direct)
        else:
            # One step: the engine commands its tool ran are the single ffmpeg pass.
            tool = seen.tool_lines[-1]
            direct = refs.written_by(tool)
            if direct is None:
                raise SystemExit("no output in the tool's command line: %s" % " ".join(tool))
            amr = None
            if refs.uses_amr(seen.work_runs()):
                amr = os.path.join(out, "p%d.amr" % preset)
                subprocess.run(media.FF + ["-i", output, "-map", "0:a", "-c:a", "copy", "-f", "amr", amr],
                               check=True)
                note = "AMR sound from a ready file; "
            reference = refs.engine_commands(seen.work_runs(), direct, direct, amr)
        jobs = {"cli": Job([cli], clean=[output]), "ref": Job(reference, clean=[direct])}
        if tool and with_steps:
            jobs["tool"] = Job([tool], clean=[direct])
        results = self.measure(jobs, rounds)
        if preset in refs.DVD:
            check = media.differences(os.path.join(output, "DVD-Disc1/VIDEO_TS/VTS_01_1.VOB"),
                                      os.path.join(direct, "DVD-Disc1/VIDEO_TS/VTS_01_1.VOB"))
        else:
            check = media.differences(output, direct)
        note += "probes %d on %d file(s); output %s" % (starts, files, check)
        if camcorder and preset in refs.DOWNSCALED:
            shape = refs.picture_filter(reference[-1])
            ours, single = media.ssim(output, clip, shape), media.ssim(direct, clip, shape)
            self.ssim.append((preset, ours, single))
            if ours is not None and single is not None:
                note += "; SSIM %.4f, single pass %.4f" % (ours, single)
        self.row(section, name, Pair(results["cli"], results["ref"]), note)
        if "tool" in jobs:
            code = self.codes(preset)
            code = code[1] if camcorder and code[1] else code[0]
            self.row("step", "  step %s (%s)" % (code, os.path.basename(tool[0])),
                     Pair(results["tool"], results["ref"]), "tool against its %d engine run(s)" % len(reference))
        for job in jobs.values():
            job.remove_outputs()

    # Steps of the chained recipes and of the variants --------------------------------
    def step_rows(self, presets, rounds):
        clip, mts = self.clips["clip60.mp4"], self.clips["clip60.mts"]
        wmv, flv = self.clips["clip60.wmv"], self.clips["clip60.flv"]
        out = self.folder("steps")
        tmp = os.path.join(self.intermediates, "tmpbench")
        disc = os.path.join(out, "dvd") + "/"
        stream = os.path.join(disc, "DVD-Disc1", "tmpvdv.mpg")
        vts = [os.path.join(disc, "DVD-Disc1", "VIDEO_TS"), os.path.join(disc, "DVD-Disc1", "AUDIO_TS")]
        # name, presets it belongs to, request, files the step writes, kept for the next
        steps = [
            ("sound 720p", (0,), ("sound", "720p", clip), [tmp + ".mp3"]),
            ("720p", (0,), ("step", "720p", clip, os.path.join(out, "hd.avi")), [tmp + ".avi"]),
            ("join (MuxFinal)", (0, 1), ("join", os.path.join(out, "hd.avi")), [os.path.join(out, "hd.avi")]),
            ("sound 1080p", (1,), ("sound", "1080p", clip), [tmp + ".mp3"]),
            ("1080p", (1,), ("step", "1080p", clip, os.path.join(out, "fullhd.avi")), [tmp + ".avi"]),
            ("DVD-ntsc", (32,), ("step", "DVD-ntsc", clip, disc), [stream]),
            ("DVD-ntsc-wmv on .wmv", (32,), ("step", "DVD-ntsc-wmv", wmv, disc), [stream]),
            ("DVD-pal", (33,), ("step", "DVD-pal", clip, disc), [stream]),
            # Authored from the stream the last DVD encoding left.
            ("DVD-authoring", (32, 33), ("step", "DVD-authoring", clip, disc), vts),
            ("DVD-finalization", (32, 33), ("step", "DVD-finalization", clip, disc), []),
            ("hdToAudioTraitable on .mts", (7, 9, 12), ("sound", "hdToAudioTraitable", mts), [tmp + ".wma"]),
            ("hdToVideoTraitable on .mts", (7, 9, 12), ("step", "hdToVideoTraitable", mts, os.path.join(out, "x")),
             [tmp + ".avi"]),
            ("join-intermediate (MuxIntermediate)", (7, 9, 12), ("join-intermediate", tmp + "-2.avi"),
             [tmp + "-2.avi"]),
            ("downscale 848x480 on .mts", refs.DOWNSCALED, ("downscale", "848x480", mts, tmp + "-small.avi"),
             [tmp + "-small.avi"]),
        ]
        for size, code in (("720p256", 2), ("480p128", 3), ("360p128", 4), ("240p128", 5)):
            steps.append(("mpeg%sasf on .wmv" % size, (code,), ("step", "mpeg%sasf" % size, wmv,
                                                                  os.path.join(out, "asf%d.mpeg" % code)),
                          [os.path.join(out, "asf%d.mpeg" % code)]))
        for code, preset, ext in (("mp3rate128", 34, "mp3"), ("mp3rate256", 35, "mp3"), ("wave", 36, "wav")):
            target = os.path.join(out, "%s.%s" % (code, ext))
            steps.append(("%s on .flv" % code, (preset,), ("step", code, flv, target), [target]))
        os.makedirs(os.path.join(disc, "DVD-Disc1"), exist_ok=True)
        for name, owners, request, writes in steps:
            if set(owners) & set(presets):
                self.guarded("  step " + name, self.step_row, name, request, writes, rounds)

    def step_row(self, name, request, writes, rounds):
        tool = self.splitter.ask([request])[0]
        Job([], clean=writes).remove_outputs()
        seen = self.watched(tool)
        engine = seen.work_runs()
        jobs = {"tool": Job([tool], clean=writes), "engine": Job(engine, clean=writes)}
        results = self.measure(jobs, rounds)
        # What the next step reads comes from the tool, whichever ran last.
        Job([tool], clean=writes).run()
        self.row("step", "  step %s (%s)" % (name, os.path.basename(tool[0])),
                 Pair(results["tool"], results["engine"]), "tool against its %d engine run(s)" % len(engine))

    # Lists -----------------------------------------------------------------------------
    def lists(self, kinds, rounds):
        for preset in kinds:
            self.guarded("10 x p%d" % preset, self.list_rows, preset, rounds)

    def list_rows(self, preset, rounds):
        clip = self.clips["clip3.mp4"]
        out = self.folder("list%d" % preset)
        outputs = [os.path.join(out, refs.output_name(preset, clip, "item%d" % i)) for i in range(1, 11)]
        listing = os.path.join(out, "list.tsv")
        with open(listing, "w") as f:
            for path in outputs:
                f.write("%d\t%s\t%s\n" % (preset, clip, path))
        if preset in (0, 1):
            commands = [c for path in outputs for c in refs.hd_avi(preset, clip, path)]
        else:
            seen = self.watched([self.cli, "--debug", "--lang", "EN", "-y", "-f", str(preset), clip,
                                 os.path.join(out, refs.output_name(preset, clip, "watched"))])
            written = refs.written_by(seen.tool_lines[-1])
            commands = [c for path in outputs for c in refs.engine_commands(seen.work_runs(), written, path)]
        cli = [self.cli, "--lang", "EN", "-y", "--list", listing, "--jobs"]
        jobs = {"one": Job([cli + ["1"]], clean=outputs), "ff1": Job(commands, clean=outputs),
                "two": Job([cli + ["2"]], clean=outputs), "ff2": Job(commands, at_once=2, clean=outputs)}
        results = self.measure(jobs, rounds)
        what = "10 x p%d" % preset
        self.row("lists", "%s --jobs 1 / ffmpeg one at a time" % what, Pair(results["one"], results["ff1"]))
        self.row("lists", "%s --jobs 2 / ffmpeg two at a time" % what, Pair(results["two"], results["ff2"]))
        pair = Pair(results["two"], results["one"])
        self.row("lists", "%s --jobs 2 / --jobs 1" % what, pair, "%.2fx faster" % (1 / pair.ratio.median))
        for job in jobs.values():
            job.remove_outputs()
        # The peak of the resident memory of the whole process tree (the program and the
        # tools and engines it runs), once for each number of items at once.
        peaks = []
        for at_once in (2, 8):
            Job([], clean=outputs).remove_outputs()
            peaks.append("--jobs %d %.0f MB" % (at_once, peak_memory(cli + [str(at_once)])))
        Job([], clean=outputs).remove_outputs()
        self.say("%-46s %s (load %.2f)" % ("%s peak memory" % what, ", ".join(peaks), os.getloadavg()[0]))

    # The whole run -----------------------------------------------------------------------
    def run(self):
        o = self.options
        self.say("Transcoda presets benchmark, %s" % datetime.datetime.now().strftime("%Y-%m-%d %H:%M"))
        self.say("Machine: %s, %d processors, %.1f GB memory, %s" % (
            cpu_model(), os.cpu_count() or 0, memory_gb(), platform.platform()))
        self.say("Load average at the start: %.2f %.2f %.2f" % os.getloadavg())
        self.say("Rounds: %d on the 60 s clips, %d on the 3 s clip and the lists; each row's jobs take turns "
                 "(A B A B ...)" % (o.rounds, o.short_rounds))
        self.say("Columns: wall seconds, median (min-max) of A and of B; the ratio A/B of each round, median "
                 "(min-max); processor seconds of A and of B (medians) and their ratio; the 1-minute load "
                 "average when the row began.")
        self.say()
        self.say(COLUMNS % ("A / B", "A wall s", "B wall s", "wall A/B", "A cpu", "B cpu", "cpu", "load", ""))
        presets = o.presets
        if "short" in o.sections:
            self.say("== " + SECTION_TITLES["short"])
            self.presets("short", "clip3.mp4", presets, o.short_rounds, with_steps=False)
        if "long" in o.sections:
            self.say("== " + SECTION_TITLES["long"])
            self.presets("long", "clip60.mp4", presets, o.rounds, with_steps=True)
        if "camcorder" in o.sections:
            self.say("== " + SECTION_TITLES["camcorder"])
            self.presets("camcorder", "clip60.mts", [p for p in presets if p in refs.CAMCORDER_PRESETS], o.rounds,
                         with_steps=True)
        if "steps" in o.sections:
            self.say("== " + SECTION_TITLES["steps"])
            self.step_rows(presets, o.rounds)
        if "lists" in o.sections:
            self.say("== " + SECTION_TITLES["lists"])
            self.lists([p for p in (34, 0) if p in presets], o.short_rounds)
        self.say()
        self.say("Load average at the end: %.2f %.2f %.2f" % os.getloadavg())
        self.say()
        self.goals()

    def goals(self):
        self.say("Goals")
        for text, met, detail in goals(self):
            mark = "not measured" if met is None else ("met" if met else "NOT met")
            self.say("  [%s] %s%s" % (mark, text, ": " + detail if detail else ""))


def ratio_of(bench, section, name):
    pair = bench.rows.get((section, name))
    return pair.ratio.median if pair else None


def ratio_text(bench, section, name):
    """A row's median ratio with the load it was measured under."""
    ratio = ratio_of(bench, section, name)
    return "" if ratio is None else "%.2f (load %.2f)" % (ratio, bench.row_loads[(section, name)])


def goals(bench):
    """Each goal of the work on speed, with what this run measured of it."""
    found = []
    if bench.probes:
        worst = max(bench.probes, key=lambda p: p[1] - p[2])
        found.append(("at most one engine start for probing per distinct file, per conversion",
                      all(starts <= files for _, starts, files in bench.probes),
                      "worst %s: %d starts for %d file(s)" % worst))
    else:
        found.append(("at most one engine start for probing per distinct file, per conversion", None, ""))
    for preset, goal in ((34, 1.15), (36, 1.15), (3, 1.10), (39, 1.30), (38, 1.25)):
        name = "p%d %s" % (preset, bench.labels.get(preset, ""))
        ratio = ratio_of(bench, "short", name)
        found.append(("preset %d on the 3 s clip <= %.2f x ffmpeg" % (preset, goal),
                      None if ratio is None else ratio <= goal, ratio_text(bench, "short", name)))
    steps = [(name, pair.ratio.median) for (section, name), pair in bench.rows.items() if section == "step"]
    if steps:
        over = sorted((r, n.strip()) for n, r in steps if r > 1.02)
        found.append(("every step code's tool run <= 1.02 x its engine commands (60 s)", not over,
                      "%d of %d over: %s" % (len(over), len(steps), ", ".join("%s %.2f" % (n, r) for r, n in over[-6:]))
                      if over else "%d steps, worst %.2f" % (len(steps), max(r for _, r in steps))))
    else:
        found.append(("every step code's tool run <= 1.02 x its engine commands (60 s)", None, ""))
    name = "p0 %s" % bench.labels.get(0, "")
    ratio = ratio_of(bench, "long", name)
    found.append(("HD AVI (preset 0) end to end <= 1.10 x ffmpeg (60 s)", None if ratio is None else ratio <= 1.10,
                  ratio_text(bench, "long", name)))
    measured = [(p, a, b) for p, a, b in bench.ssim if a is not None and b is not None]
    if measured:
        worst = max(measured, key=lambda s: s[2] - s[1])
        found.append(("camcorder presets within 0.01 SSIM of a single pass at the final settings",
                      all(b - a <= 0.01 for _, a, b in measured),
                      "worst p%d: %.4f against %.4f" % worst))
    else:
        found.append(("camcorder presets within 0.01 SSIM of a single pass at the final settings", None, ""))
    for preset, kind in ((34, "MP3"), (0, "HD AVI")):
        ratio = ratio_of(bench, "lists", "10 x p%d --jobs 2 / --jobs 1" % preset)
        found.append(("10 x 3 s %s items >= 1.8 x faster with --jobs 2 than with --jobs 1" % kind,
                      None if ratio is None else 1 / ratio >= 1.8, "" if ratio is None else "%.2fx" % (1 / ratio)))
    return found


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown processor"


def memory_gb():
    try:
        with open("/proc/meminfo") as f:
            for line in f:
                if line.startswith("MemTotal:"):
                    return int(line.split()[1]) / 1024 / 1024
    except OSError:
        pass
    return 0.0


def parse_options(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--quick", action="store_true",
                        help="presets %s only, one round on the 60 s clips and two on the short ones, unless "
                             "given otherwise" % ",".join(map(str, QUICK_PRESETS)))
    parser.add_argument("--sections", default=",".join(SECTIONS),
                        help="which parts of the table, among %s (default: all)" % ",".join(SECTIONS))
    parser.add_argument("--presets", help="preset numbers, e.g. 0,3,25-29 (default: all 40)")
    parser.add_argument("--rounds", type=int, help="rounds on the 60 s clips (default 2, quick 1)")
    parser.add_argument("--short-rounds", type=int, help="rounds on the 3 s clip and the lists (default 3, quick 2)")
    parser.add_argument("--markdown", help="also write the table to this file, as docs/PERFORMANCE.md")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args(argv)
    options.sections = [s for s in options.sections.split(",") if s]
    for s in options.sections:
        if s not in SECTIONS:
            parser.error("unknown section %s" % s)
    if options.presets:
        chosen = []
        for part in options.presets.split(","):
            low, _, high = part.partition("-")
            chosen += range(int(low), int(high or low) + 1)
        options.presets = sorted(set(p for p in chosen if 0 <= p <= 39))
    else:
        options.presets = list(QUICK_PRESETS) if options.quick else list(range(40))
    if options.rounds is None:
        options.rounds = 1 if options.quick else 2
    if options.short_rounds is None:
        options.short_rounds = 2 if options.quick else 3
    return options


def write_markdown(path, lines, argv):
    run = ("The last full run of `bench/presets/presets.sh` (run by `make bench`)" if not argv else
           "A partial run of `bench/presets/presets.sh` (`%s`), not the full one run by `make bench`"
           % " ".join(argv))
    with open(path, "w") as f:
        f.write("# Performance\n\n"
                "%s: every preset end to end through "
                "`transcoda-cli` against the best single ffmpeg command that writes an equivalent file, every "
                "step's tool against the engine commands it runs, and lists of short items one and two at a "
                "time. A ratio above 1 is slower than ffmpeg alone. The machine's load is given at the start, "
                "at the end and for each row: figures taken on a busy machine say little.\n\n```\n" % run)
        f.write("\n".join(lines) + "\n```\n")


def main(argv):
    options = parse_options(argv)
    bench = Bench(options)
    try:
        bench.run()
    finally:
        if options.keep:
            print("work folder kept: %s" % bench.work)
        else:
            shutil.rmtree(bench.work, ignore_errors=True)
    if options.markdown:
        chosen = [a for a in argv if not a.startswith("--markdown") and a != options.markdown and a != "--keep"]
        chosen = [a for i, a in enumerate(chosen) if not (a == "--build" or (i > 0 and chosen[i - 1] == "--build"))]
        write_markdown(options.markdown, bench.lines, chosen)


if __name__ == "__main__":
    main(sys.argv[1:])
