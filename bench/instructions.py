#!/usr/bin/env python3
"""Instruction counts of the kernels, from callgrind's dumps.

collect DIR            one line per dump in DIR: the kernel's name and the
                       instructions it took (callgrind's summary)
check BASELINE NOW     names every kernel of NOW more than 5 % above
                       BASELINE, and every kernel missing from either;
                       exit 1 when there is any
"""
import pathlib
import sys

LIMIT = 1.05
HEADER = ("# Instructions (callgrind) of one run of each kernel on the fixed frame of\n"
          "# bench/instruction_counts.cpp; scripts/bench --check compares against it.\n")


def collect(folder):
    counts = []
    for dump in pathlib.Path(folder).glob("cg.*.*"):
        name = total = None
        for line in dump.read_text(errors="replace").splitlines():
            if line.startswith("desc: Trigger: Client Request: "):
                name = line.split(": ", 3)[3].strip()
            elif line.startswith("summary: "):
                total = int(line.split()[1])
        if name is not None and total is not None:
            counts.append((int(dump.name.rsplit(".", 1)[1]), name, total))
    if not counts:
        sys.exit("instructions: no callgrind dumps in %s" % folder)
    sys.stdout.write(HEADER)
    for _, name, total in sorted(counts):
        print("%-32s %d" % (name, total))


def read(path):
    counts = {}
    for line in pathlib.Path(path).read_text().splitlines():
        if line.strip() and not line.startswith("#"):
            name, total = line.split()
            counts[name] = int(total)
    return counts


def check(baseline_path, now_path):
    baseline, now = read(baseline_path), read(now_path)
    problems = []
    for name, total in now.items():
        if name not in baseline:
            problems.append("%s: not in the baseline" % name)
        elif total > baseline[name] * LIMIT:
            problems.append("%s: %d instructions, %+.1f %% over the baseline %d"
                            % (name, total, 100.0 * (total / baseline[name] - 1), baseline[name]))
    problems += ["%s: in the baseline but no longer counted" % n for n in baseline if n not in now]
    for name, total in now.items():
        if name in baseline and total < baseline[name] / LIMIT:
            print("faster: %s %d -> %d" % (name, baseline[name], total))
    for p in problems:
        print("slower: " + p if "over" in p else p)
    print("instructions: %d kernels, %d over 5 %% or missing" % (len(now), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "collect":
        collect(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3]))
    else:
        sys.exit(__doc__)
