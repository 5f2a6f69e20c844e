"""Wall and processor time of jobs run in turns, and the figures drawn from them.

A job is one or more command lines run one after the other, or several at a time. Its
processor time is the user and system time of every process it started, their own
children included (each process waits for what it starts, so the kernel adds them up).
The jobs of a group take turns, round after round (A B A B ...), so that a change in
the machine's load falls on all of them alike.
"""

import os
import statistics
import subprocess
import tempfile
import time


class JobFailed(Exception):
    pass


class Job:
    """Command lines (lists of arguments), run `at_once` at a time; `clean` lists the
    files and folders removed before each run, so that every run writes afresh."""

    def __init__(self, commands, at_once=1, clean=(), env=None):
        self.commands = [list(c) for c in commands]
        self.at_once = at_once
        self.clean = list(clean)
        self.env = env

    def remove_outputs(self):
        for path in self.clean:
            if os.path.isdir(path) and not os.path.islink(path):
                subprocess.run(["rm", "-rf", path], check=False)
            elif os.path.lexists(path):
                os.remove(path)

    def run(self):
        """Runs the job once; returns (wall seconds, processor seconds)."""
        self.remove_outputs()
        pending = list(self.commands)
        running = {}
        cpu = 0.0
        failure = None
        start = time.perf_counter()
        while pending or running:
            while pending and len(running) < self.at_once and failure is None:
                argv = pending.pop(0)
                errors = tempfile.TemporaryFile()
                process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=errors, env=self.env)
                running[process.pid] = (process, argv, errors)
            if not running:
                break
            pid, status, usage = os.wait4(-1, 0)
            if pid not in running:
                continue
            process, argv, errors = running.pop(pid)
            process.returncode = os.waitstatus_to_exitcode(status)
            cpu += usage.ru_utime + usage.ru_stime
            if process.returncode != 0 and failure is None:
                errors.seek(0)
                tail = errors.read().decode(errors="replace").splitlines()[-8:]
                failure = "%s ended with %d:\n  %s" % (" ".join(argv), process.returncode, "\n  ".join(tail))
            errors.close()
        wall = time.perf_counter() - start
        if failure:
            raise JobFailed(failure)
        return wall, cpu


def measure(jobs, rounds):
    """Runs the jobs (a dict name -> Job) in turns for `rounds` rounds; returns
    name -> [(wall, cpu) of each round]."""
    results = {name: [] for name in jobs}
    for _ in range(rounds):
        for name, job in jobs.items():
            results[name].append(job.run())
    return results


class Spread:
    """Median, min and max of some figures."""

    def __init__(self, values):
        self.values = list(values)
        self.median = statistics.median(self.values)
        self.low = min(self.values)
        self.high = max(self.values)

    def text(self, digits=2):
        if len(self.values) == 1:
            return "%.*f" % (digits, self.median)
        return "%.*f (%.*f-%.*f)" % (digits, self.median, digits, self.low, digits, self.high)


class Pair:
    """Job A against job B, round by round: each side's wall and processor times, and
    the ratios A/B of each round (the median of the ratios is the paired figure)."""

    def __init__(self, a, b):
        self.a_wall = Spread(w for w, _ in a)
        self.b_wall = Spread(w for w, _ in b)
        self.a_cpu = Spread(c for _, c in a)
        self.b_cpu = Spread(c for _, c in b)
        self.ratio = Spread(wa / wb for (wa, _), (wb, _) in zip(a, b))
        self.cpu_ratio = Spread(ca / cb if cb > 0 else 0.0 for (_, ca), (_, cb) in zip(a, b))


def tree_rss_kb(root):
    """The resident memory of process `root` and of every process under it, in kB."""
    children, rss = {}, {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            # Field 4 is the parent; field 24 the resident pages.
            children.setdefault(int(fields[1]), []).append(int(entry))
            rss[int(entry)] = int(fields[21]) * os.sysconf("SC_PAGE_SIZE") // 1024
        except (OSError, IndexError, ValueError):
            continue
    total, pending = 0, [root]
    while pending:
        pid = pending.pop()
        total += rss.get(pid, 0)
        pending += children.get(pid, [])
    return total


def peak_memory(argv, every=0.01):
    """Runs argv once; the peak of the resident memory of its whole process tree, in MB,
    sampled every `every` seconds."""
    process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        peak = max(peak, tree_rss_kb(process.pid))
        time.sleep(every)
    if process.returncode != 0:
        raise JobFailed("%s ended with %d" % (" ".join(argv), process.returncode))
    return peak / 1024.0
