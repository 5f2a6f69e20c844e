"""One run watched closely, untimed: the tool command lines the program runs (from its
diagnostic log) and every start of an engine program (ffmpeg, ffprobe, dvdauthor),
recorded by stand-ins placed first in PATH that note their arguments and hand over to
the real program."""

import glob
import os
import shutil
import subprocess

ENGINES = ("ffmpeg", "ffprobe", "dvdauthor")


class StandIns:
    """A folder of stand-ins for the engine programs."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        for name in ENGINES:
            real = shutil.which(name)
            if real is None:
                raise SystemExit("%s is not installed" % name)
            path = os.path.join(folder, name)
            # dvdauthor takes the DVD standard from its environment.
            standard = '${VIDEO_FORMAT:+env VIDEO_FORMAT=$VIDEO_FORMAT} ' if name == "dvdauthor" else ""
            with open(path, "w") as script:
                script.write('#!/bin/sh\n'
                             'printf "%%s\\0" %s%s "$@" >"$ENGINE_LOG/$(date +%%s%%N)-$$"\n'
                             'exec %s "$@"\n' % (standard, name, real))
            os.chmod(path, 0o755)

    def environment(self, log_folder):
        env = dict(os.environ)
        env["PATH"] = self.folder + os.pathsep + env.get("PATH", "")
        env["ENGINE_LOG"] = log_folder
        return env


def is_probe(argv):
    """An engine start that only reads a file: ffprobe, or ffmpeg with nothing after its
    last input."""
    if argv[0] == "ffprobe":
        return True
    return argv[0] == "ffmpeg" and len(argv) >= 3 and argv[-2] == "-i"


def probed_file(argv):
    return argv[-1] if argv[0] == "ffprobe" or argv[-2] == "-i" else None


class Watched:
    def __init__(self, tool_lines, engine_runs, stderr):
        self.tool_lines = tool_lines    # each an argument list
        self.engine_runs = engine_runs  # each an argument list, in the order they started
        self.stderr = stderr

    def probes(self):
        return [run for run in self.engine_runs if is_probe(run)]

    def work_runs(self):
        return [run for run in self.engine_runs if not is_probe(run)]

    def probe_summary(self):
        """(engine starts for probing, distinct files probed)."""
        probes = self.probes()
        return len(probes), len({probed_file(run) for run in probes})


class Splitter:
    """Command lines split into arguments by the program's own rules, and the command
    lines of the recipes' steps (bench/presets/step_lines.cpp)."""

    def __init__(self, program, program_folder, intermediate_folder):
        self.base = [program, program_folder, intermediate_folder]

    def ask(self, requests):
        text = "".join("\t".join(r) + "\n" for r in requests)
        out = subprocess.run(self.base, input=text, capture_output=True, text=True, check=True).stdout
        return [line.split("\x1f") if line else [] for line in out.split("\n")[: len(requests)]]


def _engine_runs(log_folder):
    runs = []
    for path in sorted(glob.glob(os.path.join(log_folder, "*"))):
        with open(path, "rb") as f:
            runs.append([a.decode(errors="replace") for a in f.read().split(b"\0")[:-1]])
    return runs


def watch(argv, stand_ins, log_folder, splitter=None):
    """Runs argv once with the stand-ins; a failure ends the benchmark with its log."""
    shutil.rmtree(log_folder, ignore_errors=True)
    os.makedirs(log_folder)
    done = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          env=stand_ins.environment(log_folder), errors="replace")
    if done.returncode != 0:
        tail = "\n  ".join(line for line in done.stderr.splitlines() if not line.startswith("|||"))
        raise SystemExit("%s ended with %d:\n  %s" % (" ".join(argv), done.returncode, tail[-3000:]))
    lines = []
    for line in done.stderr.splitlines():
        start, end = line.find("[["), line.rfind("]]")
        if start >= 0 and end > start:
            lines.append(line[start + 2:end])
    tool_lines = splitter.ask([("split", line) for line in lines]) if splitter and lines else []
    return Watched(tool_lines, _engine_runs(log_folder), done.stderr)
