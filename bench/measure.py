#!/usr/bin/env python3
"""Measurements of the desktop program under Xvfb, printed as small tables.

The program is measured against its floors (bench/floor_window.cpp), built
from the same window design: the text floor (the controls, fonts and colours,
no pictures or sound), the full floor (with the same start-up pictures,
audio set-up and a replay of the same stagings, its pictures kept by the
program's own picture cache) and, as an independent yardstick, the lean floor
(the same, each picture decoded when shown and only what shows kept, none of
the program's picture code). The programs take turns in one run; each ratio is
taken within a turn, and its median and range printed.

1. Start-up: the processor time until the main window is on screen, controls
   and all (wall time beside it: it swings with the machine's load), and peak
   memory (VmHWM), beside the floors and the minimal Qt window of the same size.
2. CPU time (the kernel's per-thread clocks, ns) over whole onibaku exacta
   runs (the 14-second new-nebula staging and the 2-second preparation pause)
   in the real window, driven with xdotool, and over as long an idle spell.
3. For each picture change of that staging: the time from the change in the
   model to the screen update that shows it (QUILO_TRACE_FRAMES).
4. Memory after each of three different stagings in one program.
5. Google Benchmark: loading the twelve tables and each engine's stages.

bench/measure.py BUILD --stagings measures only 4, for the program alone.
bench/measure.py BUILD --headless measures the scenario mode's peak memory
after 1,000 and 100,000 predictions without a dump, with a history file.
"""

import glob
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ARGS = [a for a in sys.argv[1:] if not a.startswith("--")]
BUILD = os.path.abspath(ARGS[0] if ARGS else "build")
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
QUILO = os.path.join(BUILD, "quilo")
MINIMAL = os.path.join(BUILD, "bench", "quilo_minimal_window")
FLOOR = os.path.join(BUILD, "bench", "quilo_floor")
ENGINES = os.path.join(BUILD, "bench", "quilo_engines_bench")
HISTORY = os.path.join(BUILD, "bench", "quilo_history_bench")
RUNS = int(os.environ.get("MEASURE_RUNS", "15"))
CPU_RUNS = int(os.environ.get("MEASURE_CPU_RUNS", "3"))
STAGING_RUNS = int(os.environ.get("MEASURE_STAGING_RUNS", "3"))
# How long the pointer rests on a button before the click, as a user's does
# (a quarter of a second; the program gets a press's first picture ready then).
POINTER_REST = float(os.environ.get("MEASURE_POINTER_REST", "0.25"))


def start_xvfb(size="1280x800"):
    r, w = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", size + "x24",
                             "-nolisten", "tcp"], pass_fds=(w,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r, "rb", buffering=0) as f:
        number = f.readline().decode().strip()
    return xvfb, ":" + number


class Program:
    """A started program whose standard error is read line by line."""

    def __init__(self, argv, cwd, env):
        self.lines = []
        self.started_ns = time.monotonic_ns()
        self.p = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, text=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.p.stderr:
            self.lines.append((time.monotonic_ns(), line.rstrip("\n")))

    def wait_line(self, prefix, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for _, line in list(self.lines):
                if line.startswith(prefix):
                    return line
            time.sleep(0.002)
        raise RuntimeError("no '%s' from %s" % (prefix, self.p.args[0]))

    def decoded_bytes(self):
        """Bytes of the pictures the program has decoded and keeps."""
        sign = {"decoded": 1, "released": -1}
        return sum(sign[line.split()[0]] * int(line.split()[2]) for _, line in list(self.lines)
                   if line.startswith(("decoded ", "released ")))

    def memory_kinds(self):
        """Resident memory (MiB) by kind of mapping."""
        kinds = {"fonts": 0, "libraries": 0, "heap and anonymous": 0, "other": 0}
        name = ""
        with open("/proc/%d/smaps" % self.p.pid) as f:
            for line in f:
                fields = line.split()
                if not fields[0].endswith(":"):
                    name = fields[5] if len(fields) > 5 else ""
                elif fields[0] == "Rss:":
                    if name.endswith((".ttf", ".otf", ".ttc")):
                        kind = "fonts"
                    elif ".so" in name:
                        kind = "libraries"
                    elif name in ("", "[heap]") or name.startswith("[anon"):
                        kind = "heap and anonymous"
                    else:
                        kind = "other"
                    kinds[kind] += int(fields[1]) / 1024
        return kinds

    def status(self, key):
        with open("/proc/%d/status" % self.p.pid) as f:
            for line in f:
                if line.startswith(key + ":"):
                    return int(line.split()[1])  # kB
        return 0

    def thread_cpu(self):
        """CPU seconds by thread kind, from the kernel's per-thread clocks in
        nanoseconds (schedstat): the main (window) thread, SDL's audio thread
        (mixing, and decoding the tune), and the rest."""
        kinds = {"main": 0.0, "audio": 0.0, "other": 0.0}
        for task in os.listdir("/proc/%d/task" % self.p.pid):
            try:
                with open("/proc/%d/task/%s/comm" % (self.p.pid, task)) as f:
                    name = f.read().strip()
                with open("/proc/%d/task/%s/schedstat" % (self.p.pid, task)) as f:
                    ns = int(f.read().split()[0])
            except OSError:
                continue  # the thread ended
            kind = "main" if task == str(self.p.pid) else "audio" if name.startswith("SDLAudio") else "other"
            kinds[kind] += ns / 1e9
        return kinds

    def cpu_seconds(self):
        return sum(self.thread_cpu().values())

    def stop(self):
        if self.p.poll() is None:
            self.p.terminate()
            try:
                self.p.wait(5)
            except subprocess.TimeoutExpired:
                self.p.kill()
                self.p.wait()


def working_folder(root):
    folder = tempfile.mkdtemp(dir=root)
    for table in glob.glob(os.path.join(SOURCE, "data", "*.txt")):
        shutil.copy(table, folder)
    return folder


# Five different horses of the 5頭 race the window starts with (horse 1 is
# the first favourite already): a panel the program predicts for.
PANEL = (("Combo2", "2"), ("Combo13", "3"), ("Combo5", "4"), ("Combo1", "5"))


def staging_events(root):
    """The effects of each of the STAGINGS as the headless mode logs them (its
    pictures, sounds and pauses), one JSON file each, for the full floor."""
    files = []
    panel = "".join("type %s %s\n" % entry for entry in PANEL)
    for i, (first, second, _) in enumerate(STAGINGS):
        script = panel + "type Text1 %s\ntype Text2 %s\ndump\nclick Command6\ndump\n" % (first, second)
        out = subprocess.run([QUILO, "--script", "-"], input=script, cwd=working_folder(root),
                             capture_output=True, text=True, check=True).stdout.splitlines()
        path = os.path.join(root, "staging%d.json" % i)
        with open(path, "w") as f:
            json.dump(json.loads(out[-1])["events"], f)
        files.append(path)
    return files


def startup(programs, env, root):
    """Start-up wall time and processor time until shown (ms), peak memory
    (MiB) and memory by kind of each program, a list with one entry per turn;
    the programs take turns so that a busy spell of the machine falls on all of
    them alike."""
    result = {label: {"time": [], "cpu": [], "peak": [], "pictures": [], "kinds": []} for label in programs}
    for _ in range(RUNS):
        for label, argv in programs.items():
            prog = Program(argv, working_folder(root), env)
            try:
                shown = prog.wait_line("shown").split()
                result[label]["time"].append((int(shown[1]) - prog.started_ns) / 1e6)
                result[label]["cpu"].append(int(shown[2]) / 1e6)
                time.sleep(1.0)  # settle: the first second after showing counts too
                result[label]["peak"].append(prog.status("VmHWM") / 1024)
                result[label]["pictures"].append(prog.decoded_bytes() / 2**20)
                result[label]["kinds"].append(prog.memory_kinds())
            finally:
                prog.stop()
    return result


def xdo(env, *args):
    subprocess.run(["xdotool", *map(str, args)], env=env, check=True, capture_output=True)


def difference(after, before):
    return {k: after[k] - before.get(k, 0.0) for k in after}


def main_window(prog, env):
    """The program's main window, once it has shown and settled for a second,
    with the PANEL typed in."""
    prog.wait_line("shown")
    wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^競馬予想 Quilo"],
                         env=env, capture_output=True, text=True).stdout.split()[0]
    time.sleep(1.0)
    places = json.loads(subprocess.run([os.path.join(BUILD, "quilo_design_json")], capture_output=True,
                                       text=True, check=True).stdout)["Form1"]
    for combo, text in PANEL:
        x, y, _, h = places[combo]
        xdo(env, "mousemove", "--window", wid, x + 8, y + h // 2)
        xdo(env, "click", "1")
        xdo(env, "key", "ctrl+a")
        xdo(env, "type", "--delay", "30", text)
    return wid


def onibaku_run(env, root, argv):
    prog = Program(argv, working_folder(root), env)
    try:
        wid = main_window(prog, env)
        for (x, y), text in (((6480, 6360), "2.5"), ((6480, 6960), "5.0")):
            xdo(env, "mousemove", "--window", wid, x // 15 + 10, y // 15 + 8)
            xdo(env, "click", "1")
            xdo(env, "type", "--delay", "30", text)
        time.sleep(0.5)
        # Idle, as long as the run, for comparison (the start-up music plays).
        idle_cpu, idle_threads = prog.cpu_seconds(), prog.thread_cpu()
        t = time.monotonic()
        time.sleep(16.5)
        idle = (prog.cpu_seconds() - idle_cpu, time.monotonic() - t,
                difference(prog.thread_cpu(), idle_threads))

        before = len(prog.lines)
        cpu0, t0, threads0 = prog.cpu_seconds(), time.monotonic(), prog.thread_cpu()
        xdo(env, "mousemove", "--window", wid, 10440 // 15 + 10, 3480 // 15 + 10)
        time.sleep(POINTER_REST)
        xdo(env, "click", "1")
        prog.wait_line("frame newseiunPIRU6.bmp", timeout=30)
        time.sleep(2.5)  # the preparation pause that follows the staging
        run = (prog.cpu_seconds() - cpu0, time.monotonic() - t0,
               difference(prog.thread_cpu(), threads0))
        frames = [l.split() for _, l in prog.lines[before:] if l.startswith("frame ")]
        return idle, run, [(f[1], float(f[2])) for f in frames]
    finally:
        prog.stop()


# Three different onibaku stagings, chosen by the odds typed in: (first
# favourite, second favourite, the picture the staging ends on).
STAGINGS = (("2.5", "5.0", "newseiunPIRU6.bmp"),    # new nebula
            ("1.5", "4.0", "newseiunPIRU1.bmp"),    # onibaku
            ("1.5", "3.0", "blackhoulg01.bmp"))     # makai black hole


def set_odds(env, wid, first, second):
    for (x, y), text in (((6480, 6360), first), ((6480, 6960), second)):
        xdo(env, "mousemove", "--window", wid, x // 15 + 10, y // 15 + 8)
        xdo(env, "click", "1")
        xdo(env, "key", "ctrl+a")
        xdo(env, "type", "--delay", "30", text)


def stagings_run(env, root, argv):
    """Memory (VmRSS, VmHWM, MiB) and the pictures kept after each of the three
    stagings in one program, and every picture change's time to the screen."""
    prog = Program(argv, working_folder(root), env)
    try:
        wid = main_window(prog, env)
        after, frames = [], []
        for first, second, last in STAGINGS:
            set_odds(env, wid, first, second)
            time.sleep(0.3)
            before = len(prog.lines)
            xdo(env, "mousemove", "--window", wid, 10440 // 15 + 10, 3480 // 15 + 10)
            time.sleep(POINTER_REST)
            xdo(env, "click", "1")
            deadline = time.monotonic() + 40
            while not any(l.startswith("frame " + last) for _, l in prog.lines[before:]):
                if time.monotonic() > deadline:
                    raise RuntimeError("the staging did not end on " + last)
                time.sleep(0.05)
            time.sleep(3.0)  # the preparation pause that follows, and the result
            after.append((prog.status("VmRSS") / 1024, prog.status("VmHWM") / 1024,
                          prog.decoded_bytes() / 2**20, prog.memory_kinds()))
            frames += [(l.split()[1], float(l.split()[2])) for _, l in prog.lines[before:]
                       if l.startswith("frame ")]
        return after, frames
    finally:
        prog.stop()


def spread(values, fmt="%.2f"):
    """Median and range of VALUES."""
    v = sorted(values)
    return (fmt + " (" + fmt + "-" + fmt + ")") % (statistics.median(v), v[0], v[-1])


def ratios(mine, floor):
    return [a / b for a, b in zip(mine, floor)]


def print_stagings(runs):
    print("Memory after each of three different onibaku stagings in one program (new")
    print("nebula, onibaku, makai black hole), %d runs: median and range; pictures kept =" % len(runs))
    print("decoded minus let go. Worst picture change (model to screen) over all of them.")
    print("| after | VmRSS | VmHWM | pictures kept |")
    print("|---|---|---|---|")
    for i in range(len(STAGINGS)):
        cols = []
        for k in range(3):
            vals = sorted(r[0][i][k] for r in runs)
            cols.append("%.1f MiB (%.1f-%.1f)" % (statistics.median(vals), vals[0], vals[-1]))
        print("| staging %d | %s |" % (i + 1, " | ".join(cols)))
    kinds = runs[0][0][-1][3]
    print("| after staging %d, by kind (MiB, median) | %s | | |" % (len(STAGINGS), ", ".join(
        "%s %.1f" % (kind, statistics.median(r[0][-1][3][kind] for r in runs)) for kind in kinds)))
    frames = [ms for r in runs for _, ms in r[1]]
    if frames:
        print("| picture changes: worst, median, over 16 ms | %.2f ms | %.2f ms | %d of %d |"
              % (max(frames), statistics.median(frames), sum(f > 16 for f in frames), len(frames)))
        slow = sorted({name for r in runs for name, ms in r[1] if ms > 16})
        if slow:
            print("| over 16 ms | %s | | |" % ", ".join(slow))
    print()


def headless_peak(predictions, root):
    """Peak memory (MiB) of the scenario mode after PREDICTIONS exacta
    predictions without a dump, recorded into a history file."""
    folder = working_folder(root)
    script = os.path.join(folder, "predictions.txt")
    with open(script, "w") as f:
        f.write("select Combo3 4\nselect Combo14 0\nselect Combo2 1\nselect Combo13 2\n"
                "select Combo5 3\nselect Combo1 4\ntype Text1 2.0\ntype Text2 3.0\n")
        f.write("click Command8\n" * predictions)
    p = subprocess.Popen([QUILO, "--script", script, "--history", os.path.join(folder, "history.sqlite")],
                         cwd=folder, stdout=subprocess.DEVNULL,
                         env=dict(os.environ, XDG_DATA_HOME=os.path.join(root, "data-home")))
    _, status, usage = os.wait4(p.pid, 0)
    if status != 0:
        raise RuntimeError("the scenario of %d predictions failed" % predictions)
    return usage.ru_maxrss / 1024


def print_headless(root):
    print("The scenario mode's peak memory (VmHWM) after exacta predictions without a dump,")
    print("recorded into a history file")
    print("| predictions | peak memory |")
    print("|---|---|")
    peaks = {n: headless_peak(n, root) for n in (1000, 100000)}
    for n, peak in peaks.items():
        print("| %d | %.1f MiB |" % (n, peak))
    print("| 100,000 less 1,000 | %.1f MiB (target: at most 5) |" % (peaks[100000] - peaks[1000]))
    print()


def engines():
    rows = []
    for program in (ENGINES, HISTORY):
        if not os.path.exists(program):
            continue
        out = subprocess.run([program, "--benchmark_format=json", "--benchmark_min_time=0.2"],
                             capture_output=True, text=True, check=True,
                             env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
        rows += [(b["name"], b["real_time"], b["time_unit"]) for b in json.loads(out)["benchmarks"]]
    return rows


def main():
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            sys.exit("measure: %s is needed" % tool)
    xvfb, display = start_xvfb()
    root = tempfile.mkdtemp(prefix="quilo-measure-")
    # The program's history file goes to the scratch folder, not the user's.
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
               QUILO_TRACE_FRAMES="1", XDG_DATA_HOME=os.path.join(root, "data-home"))
    try:
        if "--stagings" in sys.argv:
            print_stagings([stagings_run(env, root, [QUILO]) for _ in range(STAGING_RUNS)])
            return
        if "--headless" in sys.argv:
            print_headless(root)
            return
        events = staging_events(root)
        programs = {"quilo": [QUILO], "text floor": [FLOOR, BUILD], "full floor": [FLOOR, BUILD, "--full", *events],
                    "lean floor": [FLOOR, BUILD, "--lean", *events], "minimal Qt window 899x518": [MINIMAL]}
        measured = startup(programs, env, root)
        runs = {"quilo": [], "full floor": [], "lean floor": []}
        stagings = {"quilo": [], "full floor": [], "lean floor": []}
        for _ in range(CPU_RUNS):
            for label in runs:
                runs[label].append(onibaku_run(env, root, programs[label]))
        for _ in range(STAGING_RUNS):
            for label in stagings:
                stagings[label].append(stagings_run(env, root, programs[label]))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)

    q, text = measured["quilo"], measured["text floor"]
    print("Against the floors: each ratio taken within a turn, median (range) of the turns;")
    print("the bench's full floor and the independent lean floor side by side")
    print("| ratio | full floor | lean floor | target |")
    print("|---|---|---|---|")
    print("| start-up CPU until shown, quilo / text floor | %s | | 1.10 |" % spread(ratios(q["cpu"], text["cpu"])))
    print("| start-up wall time until shown, quilo / text floor | %s | | |" % spread(ratios(q["time"], text["time"])))
    print("| peak memory at start, quilo / floor | %s | %s | 1.05 |"
          % tuple(spread(ratios(q["peak"], measured[f]["peak"])) for f in ("full floor", "lean floor")))
    for n in (1, 3):
        mine = [r[0][n - 1][1] for r in stagings["quilo"]]
        cols = [spread(ratios(mine, [r[0][n - 1][1] for r in stagings[f]])) for f in ("full floor", "lean floor")]
        print("| peak memory after %d staging%s, quilo / floor | %s | %s | 1.05 |"
              % (n, "s" if n > 1 else "", cols[0], cols[1]))
    cpu = {label: [r[1][0] for r in runs[label]] for label in runs}
    print("| CPU over the onibaku run, quilo / floor | %s | %s | 1.05 |"
          % tuple(spread(ratios(cpu["quilo"], cpu[f])) for f in ("full floor", "lean floor")))
    over = ["%d of %d" % (sum(ms > 16 for _, ms in r[1]), len(r[1])) for r in stagings["quilo"]]
    print("| quilo's picture changes over 16 ms, each run | %s | | 0 |" % ", ".join(over))
    print()
    print("Start-up and memory (%d turns, Xvfb): median (range)" % RUNS)
    print("| program | CPU until shown | start to window shown | peak memory (VmHWM) | pictures decoded |")
    print("|---|---|---|---|---|")
    for label, m in measured.items():
        print("| %s | %s ms | %s ms | %s MiB | %.1f MiB |"
              % (label, spread(m["cpu"], "%.0f"), spread(m["time"], "%.0f"), spread(m["peak"], "%.1f"),
                 statistics.median(m["pictures"])))
    print()
    print("Resident memory one second after the window shows, by kind (MiB, median)")
    kinds = list(q["kinds"][0])
    print("| program | %s |" % " | ".join(kinds))
    print("|---|%s" % ("---|" * len(kinds)))
    for label, m in measured.items():
        print("| %s | %s |" % (label, " | ".join("%.1f" % statistics.median(k[kind] for k in m["kinds"])
                                                 for kind in kinds)))
    print()
    print("CPU (per-thread clocks, ns; main = windows, pauses and stagings; audio = SDL's")
    print("mixing thread, which decodes the tune), the median of %d runs, each in a newly" % CPU_RUNS)
    print("started program, and their range")
    print("| program | spell | wall | CPU | share of one core | range | main thread | audio thread | other |")
    print("|---|---|---|---|---|---|---|---|---|")
    for label in runs:
        for spell, which in (("onibaku exacta run, new nebula", 1), ("idle, same length", 0)):
            spells = sorted((r[which] for r in runs[label]), key=lambda sp: sp[0] / sp[1])
            c, wall, threads = spells[len(spells) // 2]
            shares = [100 * c2 / w for c2, w, _ in spells]
            print("| %s | %s | %.1f s | %.3f s | %.2f %% | %.2f-%.2f %% | %.2f %% | %.2f %% | %.2f %% |"
                  % (label, spell, wall, c, 100 * c / wall, shares[0], shares[-1],
                     100 * threads["main"] / wall, 100 * threads["audio"] / wall,
                     100 * threads["other"] / wall))
    print()
    print("Picture changes of the new-nebula staging: model change to the screen update")
    print("that shows it, the worst of the %d runs for each step" % CPU_RUNS)
    print("| step | picture | quilo ms | full floor ms | lean floor ms |")
    print("|---|---|---|---|---|")
    steps = min(len(r[2]) for label in runs for r in runs[label])
    for i in range(steps):
        print("| %d | %s | %s |" % (i + 1, runs["quilo"][0][2][i][0],
                                    " | ".join("%.2f" % max(r[2][i][1] for r in runs[label]) for label in runs)))
    print()
    for label in stagings:
        print("%s:" % label)
        print_stagings(stagings[label])
    rows = engines()
    if rows:
        print("Google Benchmark (headless, pauses return at once; the history window offscreen)")
        print("| benchmark | time |")
        print("|---|---|")
        for name, t, unit in rows:
            print("| %s | %.2f %s |" % (name, t, unit))


if __name__ == "__main__":
    main()
