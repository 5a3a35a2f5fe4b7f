#!/usr/bin/env python3
"""Stress check of the output file under concurrent writers and kills.

Several instances of the scenario mode append entries to one output file at
the same time, each run a random scenario (trifecta or exacta, random odds,
every staging skipped) that outputs again and again; some runs are killed with
SIGKILL at a random moment. When the time is up, one more start (which rolls
back what a killed append left unfinished) ends the run, and the file is
checked: every entry must be whole (five lines, the race line carrying the
entry's own mark), no entry may stand twice, and every entry that an instance
confirmed (by the dump it printed after the output) must be there.

Two more variants check that a killed append is never taken back at the cost
of bytes that are not its own (one instance at a time, each run killed):
  --variant in-place     after each kill the user adds a line of their own to
                         the file in place (as `>>` or an editor does); every
                         such line must survive the next starts and appends.
  --variant inode-reuse  after each kill the user removes the file and copies
                         another under its name (which often gets the old
                         inode), or an unrelated file gets it and an instance
                         appends to that one; neither may lose a byte.

Usage: stress.py QUILO DATA_DIR [--seconds S] [--instances N] [--outputs N]
                 [--kill-share F] [--variant plain|in-place|inode-reuse]
Exit code 0 when no fault was found.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

MARK = re.compile(rb"W(\d+)R(\d+)E(\d+)x")


def scenario(worker, run, outputs, rng, folder):
    """A random script that outputs `outputs` entries, each marked."""
    # Five different horses in the panel: a ticket that can be bought.
    lines = ["folder " + folder, "select Combo14 0", "select Combo2 1", "select Combo13 2", "select Combo5 3",
             "select Combo1 4", "click Command10", "type Form3.Text1 out.txt"]
    for k in range(outputs):
        lines += [
            f"type Combo8 W{worker}R{run}E{k}x",
            f"type Text1 {rng.choice(['1.2', '1.5', '2.5', '3.4', '9.9'])}",
            f"type Text2 {rng.choice(['1.8', '3.0', '3.5', '4.0', '12'])}",
            f"select Combo3 {rng.randrange(12)}",
            "skip",
            f"click {rng.choice(['Command8', 'Command3'])}",
            "answer OK",
            "click Form3.Command1",
            "dump",
        ]
    return "\n".join(lines) + "\n"


class Figures:
    def __init__(self):
        self.lock = threading.Lock()
        self.runs = self.kills = self.confirmed_count = 0
        self.confirmed = set()

    def add(self, marks, killed):
        with self.lock:
            self.runs += 1
            self.kills += killed
            self.confirmed |= marks
            self.confirmed_count += len(marks)


def worker(index, args, deadline, work, env, figures, seed):
    rng = random.Random(seed)
    run = 0
    run_time = 0.5  # how long a run takes, learnt as it goes: kills fall anywhere in it
    while time.monotonic() < deadline:
        run += 1
        script = scenario(index, run, args.outputs, rng, work)
        proc = subprocess.Popen([args.quilo, "--script", "-"], cwd=work, env=env,
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        started = time.monotonic()
        timer = None
        if rng.random() < args.kill_share:
            timer = threading.Timer(rng.uniform(0, run_time), lambda p=proc: p.send_signal(signal.SIGKILL))
            timer.start()
        out, _ = proc.communicate(script.encode())
        if timer:
            timer.cancel()
        else:
            run_time = 0.8 * run_time + 0.2 * (time.monotonic() - started)
        killed = proc.returncode == -signal.SIGKILL
        # Only whole dump lines confirm an output: the k-th dump follows the
        # k-th output of the run.
        dumps = out.count(b"\n")
        marks = {(index, run, k) for k in range(dumps)}
        if not killed and proc.returncode != 0:
            print(f"instance {index} run {run} ended with {proc.returncode}", file=sys.stderr)
        figures.add(marks, killed)


def check(path, figures):
    data = open(path, "rb").read() if os.path.exists(path) else b""
    faults = []
    lines = data.split(b"\r\n")
    if lines and lines[-1] != b"":
        faults.append(f"the file ends inside a line: {lines[-1][:60]!r}")
    lines = lines[:-1]
    if len(lines) % 5:
        faults.append(f"{len(lines)} lines are no whole number of five-line entries")
    seen = {}
    for start in range(0, len(lines) - len(lines) % 5, 5):
        entry = lines[start:start + 5]
        where = f"entry at line {start + 1}"
        if not all(line.startswith(b"    ") for line in entry[1:4]) or entry[4] != b"\x81\x40":
            faults.append(f"{where} is not whole: {entry!r}"[:300])
            continue
        marks = MARK.findall(entry[1])
        if len(marks) != 1:
            faults.append(f"{where} carries {len(marks)} marks: {entry[1]!r}")
            continue
        mark = tuple(int(x) for x in marks[0])
        if mark in seen:
            faults.append(f"{where} repeats the entry at line {seen[mark]}")
        seen[mark] = start + 1
    for mark in sorted(figures.confirmed - set(seen)):
        faults.append(f"confirmed entry W{mark[0]}R{mark[1]}E{mark[2]} is missing")
    return len(lines) // 5, len(seen), faults


def killed_run(args, work, env, rng, name, run):
    """One instance outputting to `name` again and again, killed at a random moment."""
    script = scenario(0, run, args.outputs, rng, work).replace("out.txt", name)
    proc = subprocess.Popen([args.quilo, "--script", "-"], cwd=work, env=env, stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    timer = threading.Timer(rng.uniform(0.05, 0.6), lambda: proc.send_signal(signal.SIGKILL))
    timer.start()
    proc.communicate(script.encode())
    timer.cancel()


def pending_records(env):
    folder = os.path.join(env["XDG_STATE_HOME"], "quilo", "appends")
    return len([n for n in os.listdir(folder) if n.endswith(".pending")]) if os.path.isdir(folder) else 0


def start(args, work, env, script=b""):
    subprocess.run([args.quilo, "--script", "-"], cwd=work, env=env, input=script,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def variant(args, work, env, seed):
    """The in-place and inode-reuse variants; returns (rounds, rounds with a record left, reuses, faults)."""
    rng = random.Random(seed)
    deadline = time.monotonic() + args.seconds
    diary, notes = os.path.join(work, "diary.txt"), os.path.join(work, "notes.txt")
    rounds = recorded = reuses = 0
    faults = []
    mine = []  # the user's own lines, each of which must stay
    while time.monotonic() < deadline:
        rounds += 1
        killed_run(args, work, env, rng, "diary.txt", rounds)
        recorded += pending_records(env) > 0
        if args.variant == "in-place":
            line = b"my own line %d\r\n" % rounds
            with open(diary, "ab") as f:
                f.write(line)
            mine.append(line)
            # The next start, and an append by the next round, keep it.
            start(args, work, env)
            data = open(diary, "rb").read()
            faults += [f"round {rounds}: the user's line {m!r} is gone" for m in mine if m not in data]
        elif os.path.exists(diary):
            inode = os.stat(diary).st_ino
            own = b"".join(b"line %d of round %d\n" % (i, rounds) for i in range(5000))
            os.remove(diary)
            # Half the rounds the copy gets the old name, half an unrelated name.
            target = diary if rounds % 2 else notes
            if os.path.exists(notes):
                os.remove(notes)
            with open(target, "wb") as f:
                f.write(own)
            reuses += os.stat(target).st_ino == inode
            if target == diary:
                start(args, work, env)
                if open(diary, "rb").read() != own:
                    faults.append(f"round {rounds}: the file copied under the old name was changed")
            else:
                start(args, work, env, b"folder %s\nclick Command10\ntype Form3.Text1 notes.txt\n"
                      b"answer OK\nclick Form3.Command1\n" % work.encode())
                if not open(notes, "rb").read().startswith(own):
                    faults.append(f"round {rounds}: the unrelated file lost lines")
                os.rename(notes, diary)
    return rounds, recorded, reuses, faults


def report(figures, faults):
    print(f"{figures}; faults: {len(faults)}")
    for fault in faults[:20]:
        print("  " + fault)
    return 1 if faults else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("quilo")
    ap.add_argument("data")
    ap.add_argument("--seconds", type=float, default=60)
    ap.add_argument("--instances", type=int, default=4)
    ap.add_argument("--outputs", type=int, default=20, help="outputs per run of an instance")
    ap.add_argument("--kill-share", type=float, default=0.5, help="share of runs killed")
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--variant", choices=["plain", "in-place", "inode-reuse"], default="plain")
    args = ap.parse_args()
    args.quilo = os.path.abspath(args.quilo)
    args.data = os.path.abspath(args.data)
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)

    with tempfile.TemporaryDirectory(prefix="quilo-stress-") as work:
        for name in os.listdir(args.data):
            if name.endswith(".txt"):
                shutil.copy(os.path.join(args.data, name), work)
        env = dict(os.environ, XDG_STATE_HOME=os.path.join(work, "state"), QT_QPA_PLATFORM="offscreen")
        if args.variant != "plain":
            rounds, recorded, reuses, faults = variant(args, work, env, seed)
            return report(f"seed {seed}: {args.variant}, {args.seconds:g} s, {rounds} killed runs, "
                          f"{recorded} left a record of an unfinished append, {reuses} inodes reused",
                          faults)
        figures = Figures()
        deadline = time.monotonic() + args.seconds
        threads = [threading.Thread(target=worker, args=(i, args, deadline, work, env, figures, seed + i))
                   for i in range(args.instances)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        # One more start rolls back what the last killed append left.
        subprocess.run([args.quilo, "--script", "-"], cwd=work, env=env, input=b"",
                       stdout=subprocess.DEVNULL, check=True)
        entries, distinct, faults = check(os.path.join(work, "out.txt"), figures)

    return report(f"seed {seed}: {args.instances} instances, {args.seconds:g} s, {figures.runs} runs, "
                  f"{figures.kills} killed; {entries} entries in the file, {len(figures.confirmed)} confirmed, "
                  f"{distinct} checked whole", faults)


if __name__ == "__main__":
    sys.exit(main())
