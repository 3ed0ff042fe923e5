#!/usr/bin/env python3
"""verilote-cli repairing a file named through a symbolic link that another
process keeps re-pointing between two remittances.

Two SICOV remittances A.rem and B.rem with different details; the repair
("Altera NSA", answer 555555) is given the link L while a thread swaps L and a
second link L2 (L -> A.rem, L2 -> B.rem, then the other way round) in one
step each time: renameat2(RENAME_EXCHANGE), or where the system lacks it, a
new link renamed over L. Whenever the link is resolved, the repair must read,
check and replace one and the same file: after each run each file holds its
own original bytes, or its own records with the new NSA; never the other
file's records. A run that exits 0 changed exactly one of them.

usage: rewrite_link_race_test.py VERILOTE_CLI [--runs N]  (100 runs by default)
"""
import ctypes
import os
import platform
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = time.monotonic() + 150  # the whole script, whatever happens
RENAME_EXCHANGE = 2
AT_FDCWD = -100


def sicov(letter, details):
    """A SICOV remittance whose every record carries `letter`: NSA 000001 at 74-79."""
    head = b"A" + letter * 72 + b"000001" + letter * 71
    detail = b"E" + letter.lower() * 148 + b"0"
    return b"".join(r + b"\r\n" for r in [head] + [detail] * details + [b"Z" + b"0" * 41 + b" " * 108])


def with_nsa(content, nsa):
    return content[:73] + nsa + content[79:]


class Swapper(threading.Thread):
    """Re-points L between A.rem and B.rem, each step atomic, until stopped."""

    def __init__(self, folder):
        super().__init__(daemon=True)
        self.folder, self.stop, self.swaps = folder, threading.Event(), 0
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.exchange = platform.machine() == "x86_64" and self.renameat2("L", "L2") == 0
        if self.exchange:
            self.renameat2("L", "L2")  # back: L -> A.rem

    def renameat2(self, a, b):
        a, b = (os.path.join(self.folder, n).encode() for n in (a, b))
        return self.libc.syscall(316, AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE)

    def run(self):
        link, fresh = os.path.join(self.folder, "L"), os.path.join(self.folder, "L.new")
        while not self.stop.is_set():
            if self.exchange:
                if self.renameat2("L", "L2") != 0:
                    raise SystemExit(f"renameat2 failed: {os.strerror(ctypes.get_errno())}")
            else:
                os.symlink("B.rem" if os.readlink(link) == "A.rem" else "A.rem", fresh)
                os.replace(fresh, link)
            self.swaps += 1


def main():
    args = sys.argv[1:]
    if not args:
        raise SystemExit(__doc__)
    program = args[0]
    runs = int(args[args.index("--runs") + 1]) if "--runs" in args else 100
    originals = {"A.rem": sicov(b"A", 20000), "B.rem": sicov(b"B", 20000)}
    failed = swapped = 0
    with tempfile.TemporaryDirectory(prefix="verilote-link-race-") as folder:
        path = lambda name: os.path.join(folder, name)
        os.symlink("A.rem", path("L"))
        os.symlink("B.rem", path("L2"))
        swapper = Swapper(folder)
        swapper.start()
        try:
            for run in range(runs):
                if time.monotonic() > DEADLINE:
                    raise SystemExit("out of time")
                for name, content in originals.items():
                    with open(path(name), "wb") as f:
                        f.write(content)
                cli = subprocess.run([program, "run", "AlteraNSA1Click", "--file", path("L"), "--answer", "555555"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     timeout=max(1, DEADLINE - time.monotonic()))
                err = cli.stderr.decode("utf-8", "replace").strip()
                changed, problems = [], []
                for name, content in originals.items():
                    now = open(path(name), "rb").read()
                    if now == with_nsa(content, b"555555"):
                        changed.append(name)
                    elif now != content:
                        other = [n for n in originals if n != name][0]
                        what = f"{other}'s records" if originals[other][160:300] in now else "other bytes"
                        problems.append(f"{name} holds {what} ({len(now)} bytes)")
                if cli.returncode == 0 and len(changed) != 1:
                    problems.append(f"exit 0 with {len(changed)} files repaired")
                if cli.returncode != 0 and (changed or err == ""):
                    problems.append(f"exit {cli.returncode} with {len(changed)} files repaired")
                leftovers = set(os.listdir(folder)) - {"A.rem", "B.rem", "L", "L2", "L.new"}
                if leftovers:
                    problems.append(f"work files left: {sorted(leftovers)}")
                swapped += changed == ["B.rem"]
                failed += bool(problems)
                for problem in problems:
                    print(f"FAILED run {run}: {problem}; exit {cli.returncode} {err!r}")
        finally:
            swapper.stop.set()
            swapper.join()
    how = "renameat2(RENAME_EXCHANGE)" if swapper.exchange else "a new link renamed over L"
    print(f"{runs} runs, L re-pointed {swapper.swaps} times by {how}; B.rem repaired in {swapped} runs; "
          f"{failed} runs failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
