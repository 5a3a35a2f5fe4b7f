#!/usr/bin/env python3
"""The history at scale: the 成績 window's costs at 10k, 100k and 1M runs.

Run by hand after a build (it is no part of the test suite: a 1M file takes
minutes to make):

    python3 bench/history_scale.py [BUILD] [--sizes 10000,100000,1000000]
                                   [--repeat 5] [--no-migration]

First it checks that the fast way of filling a file (straight into the
tables) gives the same history as recording run by run. Then, for each size,
it makes a history file of made-up runs (bench/history_sample.h), kept in
BUILD/history-scale/ for later runs, and measures on a fresh copy of it with
`quilo_history_scale measure`: the first opening of the file (it is read
whole once to check it), a later opening, opening the 成績 window with its
views (the first in a session, then the median of later ones), recording a
run with the window open (median), the time of each query the opening makes,
and the peak memory of a process that opens the window (`peak`). With the migration (the default) it also makes a file
of the schema before payout tables and times its first opening, which
migrates it. It prints Markdown tables.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def run_tool(tool, *args, timeout=3600):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([str(tool), *map(str, args)], capture_output=True, text=True, env=env,
                          timeout=timeout)
    if done.returncode != 0:
        sys.exit(f"{tool.name} {' '.join(map(str, args))} failed:\n{done.stderr}{done.stdout}")
    return done.stdout


def history_file(tool, cache, runs, version2):
    """The cached file of `runs` runs, made when missing (under a temporary name until whole)."""
    name = f"history-{'v2-' if version2 else ''}{runs}.sqlite"
    path = cache / name
    if path.exists():
        return path
    partial = cache / (name + ".partial")
    for leftover in cache.glob(name + ".partial*"):
        leftover.unlink()
    start = time.monotonic()
    run_tool(tool, "fill", partial, runs, *(["--version2"] if version2 else []))
    partial.rename(path)
    print(f"  made {name} in {time.monotonic() - start:.0f} s ({path.stat().st_size / 2**20:.0f} MiB)",
          flush=True)
    return path


def fresh_copy(path, cache):
    work = cache / "work.sqlite"
    for suffix in ("", "-wal", "-shm"):
        Path(str(work) + suffix).unlink(missing_ok=True)
    shutil.copyfile(path, work)
    return work


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build", nargs="?", default=str(ROOT / "build"))
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--no-migration", action="store_true")
    args = parser.parse_args()
    build = Path(args.build).resolve()
    tool = build / "bench" / "quilo_history_scale"
    if not tool.exists():
        sys.exit(f"{tool} is missing: build the target quilo_history_scale first")
    cache = build / "history-scale"
    cache.mkdir(exist_ok=True)
    sizes = [int(s) for s in args.sizes.split(",") if s]

    print(run_tool(tool, "check", 1200).strip(), flush=True)
    rows = []
    for runs in sizes:
        path = history_file(tool, cache, runs, False)
        measured = json.loads(run_tool(tool, "measure", fresh_copy(path, cache), args.repeat))
        measured.update(json.loads(run_tool(tool, "peak", fresh_copy(path, cache))))
        measured["file_mib"] = path.stat().st_size / 2**20
        if not args.no_migration:
            old = history_file(tool, cache, runs, True)
            migrated = json.loads(run_tool(tool, "measure", fresh_copy(old, cache), 1))
            measured["migration_ms"] = migrated["open_ms"]
            measured["migration_peak_mib"] = migrated["peak_mib"]
        rows.append(measured)
        print(f"  {runs}: {json.dumps(measured)}", flush=True)
    for leftover in cache.glob("work.sqlite*"):
        leftover.unlink()

    print()
    print("| runs | file | first open (check) | open | 成績 window, first open | 成績 window open (model) "
          "| record (with views) | record, race picked | record, race with result | peak "
          "| migration from version 2 |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    for m in rows:
        migration = (f"{m['migration_ms'] / 1000:.1f} s, {m['migration_peak_mib']:.0f} MiB"
                     if "migration_ms" in m else "-")
        print(f"| {m['runs']:,} | {m['file_mib']:.0f} MiB | {m['open_ms']:.0f} ms | {m['reopen_ms']:.1f} ms "
              f"| {m['first_load_ms']:.0f} ms | {m['load_ms']:.0f} ms ({m['load_model_ms']:.0f} ms) | {m['record_ms']:.2f} ms "
              f"({m['record_view_ms']:.1f} ms) | {m['record_picked_ms']:.0f} ms | {m['record_settled_ms']:.0f} ms | {m['peak_mib']:.0f} MiB "
              f"| {migration} |")
    print()
    names = list(rows[0]["parts_ms"]) if rows else []
    print("| runs | " + " | ".join(f"{n}()" for n in names) + " |")
    print("|---|" + "---|" * len(names))
    for m in rows:
        print(f"| {m['runs']:,} | " + " | ".join(f"{m['parts_ms'][n]:.1f} ms" for n in names) + " |")
    print()
    print("load:", os.getloadavg(), "cores:", os.cpu_count())


if __name__ == "__main__":
    main()
