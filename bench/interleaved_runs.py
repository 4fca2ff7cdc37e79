#!/usr/bin/env python3
"""Runs commands in turn, RUNS rounds, each a cold process, and prints per
command the median wall time and the median CPU time (user + system), each
also as a ratio to the last command's.

  interleaved_runs.py RUNS OUTDIR NAME CMD... [:: NAME CMD...]...

Command i's output of the last round is left in OUTDIR/i.out. Exits non-zero
when a command fails or prints nothing. On a loaded machine single runs vary
widely: read the medians; CPU times vary least."""
import os
import resource
import statistics
import subprocess
import sys
import time


def groups(words):
    group = []
    for word in words + ["::"]:
        if word != "::":
            group.append(word)
            continue
        if len(group) < 2:
            sys.exit(f"interleaved_runs: a NAME and a COMMAND expected, got {group}")
        yield group[0], group[1:]
        group = []


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    runs, outdir = int(sys.argv[1]), sys.argv[2]
    commands = list(groups(sys.argv[3:]))
    walls = [[] for _ in commands]
    cpus = [[] for _ in commands]
    for _ in range(runs):
        for k, (name, command) in enumerate(commands):
            path = os.path.join(outdir, f"{k}.out")
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            start = time.perf_counter()
            with open(path, "wb") as out:
                done = subprocess.run(command, stdout=out, stderr=subprocess.DEVNULL)
            walls[k].append(time.perf_counter() - start)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpus[k].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
            if done.returncode != 0 or os.path.getsize(path) == 0:
                sys.exit(f"interleaved_runs: {name} failed (exit status {done.returncode}) or printed nothing")
    wall = [statistics.median(w) for w in walls]
    cpu = [statistics.median(c) for c in cpus]
    for k, (name, _) in enumerate(commands):
        with open(os.path.join(outdir, f"{k}.out"), "rb") as out:
            lines = sum(1 for _ in out)
        print(f"  {name:<30} wall {wall[k]:7.4f} s ({wall[k] / wall[-1]:5.2f}x)  "
              f"cpu {cpu[k]:7.4f} s ({cpu[k] / cpu[-1]:5.2f}x)  {lines:6d} lines")


main()
