#!/usr/bin/env python3
"""Random answer streams: runs korbast (best an AddressSanitizer + UndefinedBehaviorSanitizer
build) many times, each time on a random stream of answers, and reports every run that
crashed, hung or printed a sanitizer report.

The answers are drawn from the dialog transcripts' own answers (menu numbers, file names,
values), mixed with empty lines, numbers near them, out-of-range values and junk, so that most
streams walk deep into the menus. Each run starts in a scratch folder holding the transcripts'
data files and the sample catalogue. Not part of the test suite: run it by hand, for example

    cmake -S . -B build-asan -DKORBAST_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug && cmake --build build-asan
    tests/tools/random_answers.py --program build-asan/korbast --minutes 10

Findings (the answer stream, the console output and the error output of each) are kept in
the folder given by --keep (default random-answers-findings/).
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
from concurrent.futures import FIRST_COMPLETED, ThreadPoolExecutor, wait

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
TRANSCRIPTS = os.path.join(TOP, "tests", "transcripts")
SANITIZER = ("ERROR: AddressSanitizer", "runtime error:", "ERROR: LeakSanitizer",
             "AddressSanitizer:DEADLYSIGNAL")


def vocabulary():
    """The answers of the transcripts and their command files, and every choice number their
    menus offer (the number after a line of dots)."""
    words = set()
    for root, _dirs, files in os.walk(TRANSCRIPTS):
        for f in files:
            path = os.path.join(root, f)
            with open(path, encoding="utf-8", errors="replace") as fh:
                text = fh.read()
            if f.endswith(".out"):
                words.update(re.findall(r"\.\.\s*(-?\d+)", text))
            elif f.endswith(".in") or root.endswith(".files") and len(text) < 4000:
                words.update(line for line in text.split("\n") if len(line) < 80)
    # Answers that end the run at once are rare, so that streams go deep.
    return sorted(w for w in words if w.strip() not in ("9999", "5003"))


def data_files():
    """The data files the transcripts read (each .files folder), and the sample catalogue."""
    files = {}
    for entry in sorted(os.listdir(TRANSCRIPTS)):
        folder = os.path.join(TRANSCRIPTS, entry)
        if entry.endswith(".files") and os.path.isdir(folder):
            for f in os.listdir(folder):
                path = os.path.join(folder, f)
                if os.path.isfile(path) and os.path.getsize(path) < 2_000_000:
                    files.setdefault(f, path)
    files["gcmt-samples.ndk"] = os.path.join(TOP, "tests", "data", "gcmt-samples.ndk")
    return files


def junk(rng):
    kind = rng.randrange(8)
    if kind == 0:
        return ""
    if kind == 1:
        return str(rng.choice([-1, 0, 1, 2, 99999, -99999, 2147483648, 10**20]))
    if kind == 2:
        return repr(rng.uniform(-1e6, 1e6))
    if kind == 3:
        return rng.choice(["nan", "inf", "-inf", "1e40", "0x10", "1,2,3", "/", "2*5", "'a''b'"])
    if kind == 4:
        return "".join(chr(rng.randrange(32, 127)) for _ in range(rng.randrange(1, 60)))
    if kind == 5:
        return bytes(rng.randrange(128, 256) for _ in range(rng.randrange(1, 8))).decode("latin-1")
    if kind == 6:
        return "9" * rng.randrange(1, 30)
    return " " * rng.randrange(1, 5)


def stream(rng, words, files):
    lines = [""]  # the start banner's HIT RETURN
    for _ in range(rng.randrange(5, 400)):
        r = rng.random()
        if r < 0.70:
            w = rng.choice(words)
            if w.lstrip("-").isdigit() and rng.random() < 0.15:
                w = str(int(w) + rng.choice([-1, 1, 10, -10]))
            lines.append(w)
        elif r < 0.80:
            lines.append(rng.choice(list(files)))
        else:
            lines.append(junk(rng))
        if rng.random() < 0.01:
            lines.append(rng.choice(["9999", "5003"]))
    if rng.random() < 0.5:
        lines += ["9999", ""]
    return ("\n".join(lines) + ("\n" if rng.random() < 0.9 else "")).encode("latin-1")


def one_run(args, seed, words, files):
    rng = random.Random(seed)
    answers = stream(rng, words, files)
    with tempfile.TemporaryDirectory(prefix="korbast-random-") as work:
        for name, path in files.items():
            shutil.copy(path, os.path.join(work, name))
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env["ASAN_OPTIONS"] = "detect_leaks=0:abort_on_error=0:exitcode=86"
        env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1:exitcode=87"
        start = time.monotonic()
        try:
            p = subprocess.run([args.program], input=answers, cwd=work, env=env,
                               capture_output=True, timeout=args.timeout)
            status, out, err = p.returncode, p.stdout, p.stderr
        except subprocess.TimeoutExpired as e:
            status, out, err = "hang", e.stdout or b"", e.stderr or b""
        took = time.monotonic() - start
    text = err.decode("utf-8", "replace") + out.decode("utf-8", "replace")
    finding = None
    if status == "hang":
        finding = "hang"
    elif any(s in text for s in SANITIZER) or status in (86, 87):
        finding = "sanitizer"
    elif isinstance(status, int) and (status < 0 or status > 1):
        finding = f"status {status}"
    if finding:
        os.makedirs(args.keep, exist_ok=True)
        base = os.path.join(args.keep, f"{seed}")
        with open(base + ".in", "wb") as fh:
            fh.write(answers)
        with open(base + ".out", "wb") as fh:
            fh.write(out)
        with open(base + ".err", "wb") as fh:
            fh.write(err)
    return seed, status, finding, took


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--program", default=os.path.join(TOP, "build-asan", "korbast"))
    ap.add_argument("--minutes", type=float, default=10)
    ap.add_argument("--jobs", type=int, default=max(1, (os.cpu_count() or 2) - 1))
    ap.add_argument("--timeout", type=float, default=60)
    ap.add_argument("--seed", type=int, default=int(time.time()))
    ap.add_argument("--keep", default="random-answers-findings")
    args = ap.parse_args()
    args.program = os.path.abspath(args.program)
    words, files = vocabulary(), data_files()
    deadline = time.monotonic() + 60 * args.minutes
    counts = {"runs": 0, "status 0": 0, "status 1": 0}
    findings = []
    seed = args.seed
    with ThreadPoolExecutor(args.jobs) as pool:
        pending = set()
        while True:
            while len(pending) < args.jobs and time.monotonic() < deadline:
                pending.add(pool.submit(one_run, args, seed, words, files))
                seed += 1
            if not pending:
                break
            finished, _ = wait(pending, return_when=FIRST_COMPLETED)
            done = finished.pop()
            s, status, finding, _took = done.result()
            pending.discard(done)
            counts["runs"] += 1
            if status in (0, 1):
                counts[f"status {status}"] += 1
            if finding:
                findings.append((s, finding))
                print(f"seed {s}: {finding}", flush=True)
    print(f"{counts['runs']} runs in {args.minutes:g} minutes from seed {args.seed}: "
          f"{counts['status 0']} ended with status 0, {counts['status 1']} with status 1, "
          f"{len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
