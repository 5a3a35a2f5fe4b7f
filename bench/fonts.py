#!/usr/bin/env python3
"""What two Japanese faces instead of four would save, measured without
changing the program: a fontconfig configuration hides the proportional IPA
faces (IPAPGothic, IPAPMincho) and lets their names fall to IPAGothic and
IPAMincho, so that the program's four design fonts are drawn with two faces.

  bench/fonts.py BUILD [OUT_FOLDER]

The two set-ups take turns (MEASURE_RUNS rounds, 15): processor time until the
main window shows, wall time, peak memory (VmHWM) and the resident memory of
the font files. With OUT_FOLDER, a screenshot of every window (main, 使用方法,
出力, 成績) with each set-up at device pixel ratio 1 and 2 is written there
as WINDOW-RATIOx-FACES.jpg.
"""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import measure  # noqa: E402  (the same programs, folders and readings)

BUILD = measure.BUILD
GRAB = os.path.join(BUILD, "bench", "quilo_grab_window")
FACES_DIR = {"IPAPGothic": "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
             "IPAPMincho": "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"}
TWO_FACES = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont>%s</rejectfont></selectfont>
  <alias binding="same"><family>IPAPGothic</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>IPAPMincho</family><prefer><family>IPAMincho</family></prefer></alias>
</fontconfig>
""" % "".join("<glob>%s</glob>" % f for f in FACES_DIR.values())
# The windows and the main window's button that opens each.
WINDOWS = (("main", None, "^競馬予想 Quilo"), ("how-to-use", "Command2", None),
           ("output", "Command10", None), ("history", "Command14", "^成績"))


def font_files(pid):
    """The font files the process maps, with their resident MiB."""
    files, name = {}, ""
    with open("/proc/%d/smaps" % pid) as f:
        for line in f:
            fields = line.split()
            if not fields[0].endswith(":"):
                name = fields[5] if len(fields) > 5 else ""
            elif fields[0] == "Rss:" and name.endswith((".ttf", ".otf", ".ttc")):
                files[os.path.basename(name)] = files.get(os.path.basename(name), 0) + int(fields[1]) / 1024
    return files


def measure_startup(setups, env, root):
    result = {label: {"cpu": [], "time": [], "peak": [], "fonts": [], "files": None} for label in setups}
    for _ in range(measure.RUNS):
        for label, extra in setups.items():
            prog = measure.Program([measure.QUILO], measure.working_folder(root), dict(env, **extra))
            try:
                shown = prog.wait_line("shown").split()
                time.sleep(1.0)
                r = result[label]
                r["time"].append((int(shown[1]) - prog.started_ns) / 1e6)
                r["cpu"].append(int(shown[2]) / 1e6)
                r["peak"].append(prog.status("VmHWM") / 1024)
                files = font_files(prog.p.pid)
                r["fonts"].append(sum(files.values()))
                r["files"] = sorted(files)
            finally:
                prog.stop()
    return result


def window_id(env, pattern, old):
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], env=env,
                               capture_output=True, text=True).stdout.split()
        new = [w for w in found if w not in old]
        if new:
            return new[-1]
        time.sleep(0.1)
    raise RuntimeError("no window " + pattern)


def screenshots(setups, env, root, out):
    places = json.loads(subprocess.run([os.path.join(BUILD, "quilo_design_json")], capture_output=True,
                                       text=True, check=True).stdout)["Form1"]
    for label, extra in setups.items():
        for ratio in (1, 2):
            for name, button, title in WINDOWS:
                run_env = dict(env, QT_SCALE_FACTOR=str(ratio), **extra)
                prog = measure.Program([measure.QUILO], measure.working_folder(root), run_env)
                try:
                    prog.wait_line("shown")
                    main = window_id(run_env, "^競馬予想 Quilo", [])
                    time.sleep(1.0)
                    wid = main
                    if button:
                        before = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                                                env=run_env, capture_output=True, text=True).stdout.split()
                        x, y, w, h = places[button]
                        measure.xdo(run_env, "mousemove", "--window", main, (x + w // 2) * ratio,
                                    (y + h // 2) * ratio)
                        measure.xdo(run_env, "click", "1")
                        wid = window_id(run_env, title or ".", before)
                        time.sleep(1.5)
                    subprocess.run([GRAB, wid, os.path.join(out, "%s-%dx-%s.jpg" % (name, ratio, label))],
                                   env=run_env, check=True)
                finally:
                    prog.stop()


def main():
    out = sys.argv[2] if len(sys.argv) > 2 else None
    xvfb, display = measure.start_xvfb("2560x1600")  # room for the windows at twice the size
    root = tempfile.mkdtemp(prefix="quilo-fonts-")
    config = os.path.join(root, "two-faces.conf")
    with open(config, "w") as f:
        f.write(TWO_FACES)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
               QUILO_TRACE_FRAMES="1", XDG_DATA_HOME=os.path.join(root, "data-home"))
    setups = {"four-faces": {}, "two-faces": {"FONTCONFIG_FILE": config}}
    try:
        result = measure_startup(setups, env, root)
        if out:
            os.makedirs(out, exist_ok=True)
            screenshots(setups, env, root, out)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)

    four, two = result["four-faces"], result["two-faces"]
    print("Four IPA faces against two (IPAPGothic and IPAPMincho hidden, their names drawn")
    print("with IPAGothic and IPAMincho), %d turns: median (range); ratios taken within a turn" % measure.RUNS)
    print("| | four faces | two faces | two / four |")
    print("|---|---|---|---|")
    for key, what, fmt in (("cpu", "CPU until shown, ms", "%.0f"), ("time", "wall time until shown, ms", "%.0f"),
                           ("peak", "peak memory (VmHWM), MiB", "%.1f"), ("fonts", "font files resident, MiB", "%.1f")):
        print("| %s | %s | %s | %s |" % (what, measure.spread(four[key], fmt), measure.spread(two[key], fmt),
                                         measure.spread(measure.ratios(two[key], four[key]))))
    print("| font files mapped | %s | %s | |" % (", ".join(four["files"]), ", ".join(two["files"])))


if __name__ == "__main__":
    main()
