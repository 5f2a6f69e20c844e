#!/usr/bin/env python3
"""Paired, alternating timing of pairs of commands.

Each pair is run A B A B ... for ROUNDS rounds, so that a change in the machine's load
falls on both sides alike. For each side the wall time and the CPU time (user + system
of the whole process tree) of every run are kept; the table gives their medians with
min and max, and the median, min and max of the per-round ratio A/B.

Jobs are read from a tab-separated file, one pair a line:
    name <TAB> command A <TAB> command B [<TAB> paths removed before every run]
Commands are split like a shell would split them (no shell is started); paths are
separated by blanks. Lines starting with "#" are skipped.

Usage: paired.py JOBFILE [ROUNDS] [GOAL]
GOAL (e.g. 1.02) marks each ratio "met" or "not met".
"""
import os
import shlex
import shutil
import statistics
import sys
import time


def run_once(command, remove):
    for path in remove:
        if os.path.isdir(path):
            shutil.rmtree(path, ignore_errors=True)
        elif os.path.lexists(path):
            os.unlink(path)
    start = time.monotonic()
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
        try:
            os.execvp(command[0], command)
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    wall = time.monotonic() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"failed ({code}): {shlex.join(command)}")
    return wall, usage.ru_utime + usage.ru_stime


def spread(values):
    return f"{statistics.median(values):7.3f} ({min(values):.3f}-{max(values):.3f})"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    goal = float(sys.argv[3]) if len(sys.argv) > 3 else None
    jobs = []
    with open(sys.argv[1]) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            remove = fields[3].split() if len(fields) > 3 else []
            jobs.append((fields[0], shlex.split(fields[1]), shlex.split(fields[2]), remove))

    header = f"{'job':<22} {'A wall s med (min-max)':>26} {'B wall s med (min-max)':>26} " \
             f"{'A/B wall med (min-max)':>24} {'A cpu s':>8} {'B cpu s':>8} {'A/B cpu':>8}"
    print(header + ("  goal" if goal else ""))
    for name, a, b, remove in jobs:
        walls = ([], [])
        cpus = ([], [])
        ratios = []
        for _ in range(rounds):
            for side, command in enumerate((a, b)):
                wall, cpu = run_once(command, remove)
                walls[side].append(wall)
                cpus[side].append(cpu)
            ratios.append(walls[0][-1] / walls[1][-1])
        ratio = statistics.median(ratios)
        cpu_ratio = statistics.median(cpus[0]) / statistics.median(cpus[1])
        line = f"{name:<22} {spread(walls[0]):>26} {spread(walls[1]):>26} " \
               f"{ratio:8.3f} ({min(ratios):.3f}-{max(ratios):.3f}) " \
               f"{statistics.median(cpus[0]):8.3f} {statistics.median(cpus[1]):8.3f} {cpu_ratio:8.3f}"
        if goal:
            line += "  met" if ratio <= goal else "  not met"
        print(line, flush=True)
    load = os.getloadavg()
    print(f"{rounds} rounds, A and B alternating; load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f} "
          f"on {os.cpu_count()} cores")


if __name__ == "__main__":
    main()
