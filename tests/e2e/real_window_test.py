#!/usr/bin/env python3
"""The real program in a real X window, driven like a user.

Starts quilo under Xvfb in a clean working folder with a history file of its
own, picks the race inputs with the keyboard, types the odds, presses the
trifecta button, opens the output window, types a file name, presses 出力実行
and confirms. The file it writes must hold the same bytes as the file the
headless mode writes for the same inputs. Then it opens 成績, types the race's
result (one of the four bets hits) and saves it; the headless mode reading the
same history file must show that hit in its summary. Exit code 77 means
skipped (no Xvfb or xdotool).
"""

import argparse
import json
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
MAIN_TITLE = "競馬予想 Quilo ピルピル THETA K"
OUTPUT_TITLE = "出力画面"
HISTORY_TITLE = "成績"
BOX_TITLE = "競馬予想 Quilo ピルピルθK"
FILE_NAME = "e2e_result.txt"
HISTORY_NAME = "e2e_history.sqlite"

# The user's inputs: combos picked with the Down key (entry index), the rest typed.
PICKS = [("Combo3", 3), ("Combo4", 9), ("Combo2", 4), ("Combo14", 1), ("Combo13", 6), ("Combo5", 10), ("Combo7", 13)]
# The entry each combo shows picked at start-up: the date's first entry; the
# panel's horses show " 1" with no entry picked, so Down first picks entry 0.
START = {"Combo3": 0, "Combo4": 0}
TYPED = [("Combo1", "12"), ("Text1", "1.5"), ("Text2", "4.2")]
# The race's result as the official payout page lists it, box by box: 18
# runners, none scratched, 1st 5, 2nd 7, 3rd 12 (the trifecta's second bet,
# 300 yen, hits), then the payouts of 馬単, ３連単, 枠連 and 複勝.
RESULT = [("Text4", "18"), ("Text5", ""), ("Text1", "5"), ("Text2", "7"), ("Text3", "12"),
          ("Text6", "5-7 2340"), ("Text7", "5-7-12 12340"), ("Text8", "3-4 1560"),
          ("Text9", "5 130 / 7 250 / 12 410")]
EXPECTED_TRIFECTA = {"bets": 4, "hits": 1, "stake": 1000, "payback": 3 * 12340,
                     "hit_rate": "25.0%", "return_rate": "3702.0%"}

# The controls' places in pixels, by window, from the window design
# (quilo_design_json); filled in by main().
FORM1 = {}
FORM3 = {}
FORM4 = {}


def log(*args):
    print("e2e:", *args, flush=True)


def point(table, name, dx=10, dy=8):
    """A point inside the control, dx and dy from its top-left corner."""
    x, y, w, h = table[name]
    return x + min(dx, w // 2), y + min(dy, h // 2)


class Desktop:
    """An Xvfb display and xdotool on it."""

    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_fd, "rb", buffering=0) as r:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = r.read(16)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.close()
            raise RuntimeError("Xvfb did not report a display")
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb",
                        SDL_AUDIODRIVER="dummy")
        log("Xvfb on", self.display)

    def xdo(self, *args, check=True):
        r = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                           text=True, timeout=20)
        if check and r.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (" ".join(map(str, args)), r.stderr))
        return r.stdout

    def find(self, title, timeout=20.0):
        """The id of the visible window with exactly this title, waiting for it."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            out = self.xdo("search", "--onlyvisible", "--name", "^%s$" % title, check=False)
            ids = out.split()
            if ids:
                return ids[-1]
            time.sleep(0.1)
        return None

    def gone(self, title, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.xdo("search", "--onlyvisible", "--name", "^%s$" % title, check=False).split():
                return True
            time.sleep(0.1)
        return False

    def click(self, wid, xy):
        self.xdo("mousemove", "--window", wid, xy[0], xy[1])
        time.sleep(0.05)
        self.xdo("click", "1")
        time.sleep(0.15)

    def keys(self, *keys):
        self.xdo("key", "--delay", "40", *keys)
        time.sleep(0.1)

    def type(self, text):
        self.xdo("type", "--delay", "40", text)
        time.sleep(0.1)

    def close(self):
        if self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()


def working_folder(root, name, data):
    folder = os.path.join(root, name)
    os.mkdir(folder)
    for table in glob.glob(os.path.join(data, "*.txt")):
        shutil.copy(table, folder)
    return folder


def headless_file(quilo, folder):
    lines = ["select %s %d" % p for p in PICKS]
    lines += ["type %s %s" % t for t in TYPED]
    lines += ["click Command8", "click Command10", "type Form3.Text1 " + FILE_NAME,
              "click Form3.Command1"]
    r = subprocess.run([quilo, "--script", "-"], input="\n".join(lines) + "\n", cwd=folder,
                       capture_output=True, text=True, timeout=60,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if r.returncode != 0:
        raise RuntimeError("headless run failed (%d): %s" % (r.returncode, r.stderr))
    with open(os.path.join(folder, FILE_NAME), "rb") as f:
        return f.read()


def wait_for_file(path, timeout=15.0):
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        if os.path.exists(path):
            size = os.path.getsize(path)
            if size and size == last:
                with open(path, "rb") as f:
                    return f.read()
            last = size
        time.sleep(0.2)
    return None


def history_summary(quilo, folder):
    """The trifecta figures of the history file, as the headless mode reads it."""
    r = subprocess.run([quilo, "--history", HISTORY_NAME, "--script", "-"], input="dump\n", cwd=folder,
                       capture_output=True, text=True, timeout=60,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if r.returncode != 0:
        raise RuntimeError("reading the history failed (%d): %s" % (r.returncode, r.stderr))
    summary = json.loads(r.stdout.splitlines()[0])["history"]["summary"]["all"]["trifecta"]
    return {k: summary[k] for k in EXPECTED_TRIFECTA}


def enter_result(desk, main):
    """Opens 成績, types the result of the race it picks first, saves it, closes it."""
    desk.click(main, point(FORM1, "Command14"))
    window = desk.find(HISTORY_TITLE, timeout=10)
    if not window:
        raise RuntimeError("the 成績 window did not open")
    time.sleep(0.5)
    for name, value in RESULT:
        desk.click(window, point(FORM4, name, dy=6))
        desk.keys("ctrl+a", "BackSpace")
        if value:
            desk.type(value)
    desk.click(window, point(FORM4, "Command1"))
    time.sleep(0.3)
    desk.click(window, point(FORM4, "Command4"))
    if not desk.gone(HISTORY_TITLE):
        raise RuntimeError("the 成績 window did not close on 戻る")


def drive_window(desk, quilo, folder):
    """Runs the program like a user; returns the bytes of the file it wrote."""
    program = subprocess.Popen([quilo, "--history", HISTORY_NAME], cwd=folder, env=desk.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        main = desk.find(MAIN_TITLE, timeout=30)
        if not main:
            raise RuntimeError("the main window did not appear")
        time.sleep(0.5)

        for name, index in PICKS:
            desk.click(main, point(FORM1, name))
            desk.keys(*(["Down"] * (index - START.get(name, -1))))
        for name, text in TYPED:
            desk.click(main, point(FORM1, name))
            desk.keys("ctrl+a")
            desk.type(text)

        desk.click(main, point(FORM1, "Command8"))
        log("trifecta pressed; waiting for its result")
        time.sleep(4)

        # 出力 is ignored while the prediction still runs: press until the window opens.
        form3 = None
        deadline = time.monotonic() + 30
        while not form3 and time.monotonic() < deadline:
            desk.click(main, point(FORM1, "Command10"))
            form3 = desk.find(OUTPUT_TITLE, timeout=3)
        if not form3:
            raise RuntimeError("the output window did not open")
        time.sleep(0.5)

        desk.click(form3, point(FORM3, "Text1", dy=6))
        desk.keys("ctrl+a")
        desk.type(FILE_NAME)
        desk.click(form3, point(FORM3, "Command1"))

        box = desk.find(BOX_TITLE, timeout=10)
        if not box:
            raise RuntimeError("the confirmation box did not appear")
        desk.xdo("windowfocus", "--sync", box, check=False)
        desk.keys("Return")
        if not desk.gone(BOX_TITLE):
            raise RuntimeError("the confirmation box did not close on Return")

        written = wait_for_file(os.path.join(folder, FILE_NAME))
        if written is None:
            raise RuntimeError("the output file was not written")

        # 戻る; the result of the race in 成績; then THE END: the program ends
        # with its last window.
        desk.click(form3, point(FORM3, "Command2"))
        desk.gone(OUTPUT_TITLE)
        enter_result(desk, main)
        desk.click(main, point(FORM1, "Command5"))
        try:
            code = program.wait(15)
        except subprocess.TimeoutExpired:
            raise RuntimeError("the program did not end after 戻る and THE END")
        if code != 0:
            raise RuntimeError("the program ended with exit code %d" % code)
        return written
    finally:
        if program.poll() is None:
            program.send_signal(signal.SIGTERM)
            try:
                program.wait(5)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
        err = program.stderr.read().decode(errors="replace") if program.stderr else ""
        if err.strip():
            log("program stderr:\n" + err)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--quilo", required=True)
    ap.add_argument("--data", required=True)
    ap.add_argument("--attempts", type=int, default=2)
    ap.add_argument("--design", required=True, help="the program that prints the window designs")
    args = ap.parse_args()
    design = json.loads(subprocess.run([args.design], check=True, capture_output=True).stdout)
    FORM1.update(design["Form1"])
    FORM3.update(design["Form3"])
    FORM4.update(design["Form4"])

    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            log("skipped: %s is not installed" % tool)
            return SKIP

    with tempfile.TemporaryDirectory(prefix="quilo-e2e-") as root:
        expected = headless_file(args.quilo, working_folder(root, "headless", args.data))
        log("headless file: %d bytes" % len(expected))

        for attempt in range(1, args.attempts + 1):
            desk = Desktop()
            folder = working_folder(root, "window%d" % attempt, args.data)
            try:
                got = drive_window(desk, args.quilo, folder)
                summary = history_summary(args.quilo, folder)
            except RuntimeError as e:
                log("attempt %d: %s" % (attempt, e))
                continue
            finally:
                desk.close()
            if got == expected and summary == EXPECTED_TRIFECTA:
                log("the window's file matches the headless file (%d bytes)" % len(got))
                log("the history's trifecta summary: %s" % summary)
                return 0
            if summary != EXPECTED_TRIFECTA:
                log("attempt %d: the history's trifecta summary is %s" % (attempt, summary))
                continue
            # A dropped keystroke gives other inputs: try once more before failing.
            log("attempt %d: the files differ" % attempt)
            log("window:   %r" % got.decode("cp932", errors="replace"))
            log("headless: %r" % expected.decode("cp932", errors="replace"))
    return 1


if __name__ == "__main__":
    sys.exit(main())
