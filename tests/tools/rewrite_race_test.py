#!/usr/bin/env python3
"""verilote-cli repairing a large remittance while another process writes to it.

Each trial runs a repair through verilote-cli and, at a random moment of it,
either appends a line to the same file or starts a second repair of it. The
other writer takes the file's advisory lock before it writes (flock, as any
program sharing files with verilote-cli should) and writes only once the name
still leads to the file it locked. Whatever the timing, each run that exits 0
must find its change in the file and the other writer's bytes must survive;
a run that finds the file taken or changed exits 3 and leaves it as it was.

usage: rewrite_race_test.py VERILOTE_CLI [--trials N] [--unlocked]
  --unlocked  the appender writes without the lock: not deterministic, it
              only counts how often a line is lost (exit 0, line gone).
"""
import fcntl
import os
import random
import subprocess
import sys
import tempfile
import time

DEADLINE = time.monotonic() + 240  # the whole script, whatever happens


def crlf(records):
    return b"".join(r + b"\r\n" for r in records)


def sigcb_file(pairs):
    """One lote of `pairs` P details each followed by a Y segment."""
    header = b"10400000" + b"h" * 149 + b"000001" + b"h" * 77
    lote = b"10400011" + b"l" * 177 + b"000001" + b"l" * 49
    detail = lambda seg: b"10400013xxxxx" + seg + b"d" * 226
    trailer5 = b"10400015" + b"t" * 9 + b"999999" + b"t" * 217
    trailer9 = b"10499999" + b"t" * 15 + b"999999" + b"t" * 211
    return crlf([header, lote] + [detail(b"P"), detail(b"Y")] * pairs + [trailer5, trailer9])


def sicov_file(details):
    head = b"A" + b"h" * 72 + b"000001" + b"h" * 71
    return crlf([head] + [b"E" + b"e" * 148 + b"0"] * details + [b"Z" + b"0" * 41 + b" " * 108])


def cli(program, handler, path, *answers):
    args = [program, "run", handler, "--file", path]
    for a in answers:
        args += ["--answer", a]
    return subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def append(path, data, locked):
    """Appends `data`; with `locked`, under the file's lock, to the file the name leads to."""
    while time.monotonic() < DEADLINE:
        fd = os.open(path, os.O_WRONLY | os.O_APPEND)
        try:
            if locked:
                while True:
                    try:
                        fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
                        break
                    except BlockingIOError:
                        if time.monotonic() > DEADLINE:
                            raise SystemExit("the lock was never let go")
                        time.sleep(0.002)
                if os.fstat(fd).st_ino != os.stat(path).st_ino:
                    continue  # replaced meanwhile: lock the new file
            os.write(fd, data)
            return
        finally:
            os.close(fd)
    raise SystemExit("out of time")


def wait(run):
    _, err = run.communicate(timeout=max(1, DEADLINE - time.monotonic()))
    return run.returncode, err.decode("utf-8", "replace").strip()


class Tally:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED:", what)


def timed(program, handler, path, content, *answers):
    with open(path, "wb") as f:
        f.write(content)
    start = time.monotonic()
    status, err = wait(cli(program, handler, path, *answers))
    if status != 0:
        raise SystemExit(f"{handler} failed on its own: {status} {err}")
    return time.monotonic() - start


def appending(program, folder, trials, locked, tally, handler, content, changed, *answers):
    """`changed(bytes)` tells whether the repair's change is in the file."""
    path = os.path.join(folder, "remessa.rem")
    whole = timed(program, handler, path, content, *answers)
    lost = 0
    for trial in range(trials):
        with open(path, "wb") as f:
            f.write(content)
        line = b"OUTRO PROGRAMA %d\r\n" % trial
        run = cli(program, handler, path, *answers)
        time.sleep(random.uniform(0, 1.1 * whole))
        append(path, line, locked)
        status, err = wait(run)
        now = open(path, "rb").read()
        if status == 0 and line not in now:
            lost += 1
        if not locked:
            continue
        what = f"{handler} trial {trial}: exit {status} {err!r}"
        tally.check(status in (0, 3), what + ": exit 0 or 3")
        tally.check(line in now, what + ": the other program's line survives")
        if status == 0:
            tally.check(changed(now), what + ": the repair's change is in the file")
        else:
            tally.check(now == content + line, what + ": the file is as the other program left it")
            tally.check(err != "", what + ": says why")
    print(f"{handler}, {'locked' if locked else 'unlocked'} appender: line lost with exit 0 in {lost} of {trials}")
    tally.check(not locked or lost == 0, f"{handler}: no line lost")


def two_runs(program, folder, trials, tally, content):
    """"Retira segmento Y" and "Altera Número da Remessa" on one file at once."""
    path = os.path.join(folder, "remessa.rem")
    whole = timed(program, "RemessaComRegistroCarnRetirasegmentoY1Click", path, content)
    both = lost = 0
    for trial in range(trials):
        with open(path, "wb") as f:
            f.write(content)
        first = cli(program, "RemessaComRegistroCarnRetirasegmentoY1Click", path)
        time.sleep(random.uniform(0, 1.1 * whole))
        second = cli(program, "AlteraNmerodaRemessa1Click", path, "777")
        (s1, e1), (s2, e2) = wait(first), wait(second)
        now = open(path, "rb").read()
        what = f"two runs, trial {trial}: exits {s1} {s2} ({e1!r} {e2!r})"
        both += s1 == 0 and s2 == 0
        lost += (s1 == 0 and b"10400013xxxxxY" in now) or (s2 == 0 and now[157:163] != b"000777")
        tally.check(s1 in (0, 3) and s2 in (0, 3), what + ": exit 0 or 3")
        tally.check((b"10400013xxxxxY" not in now) == (s1 == 0), what + ": Y segments gone only when it says so")
        tally.check((now[157:163] == b"000777") == (s2 == 0), what + ": the NSA set only when it says so")
    print(f"two runs at once: both exit 0 in {both} of {trials}, a change lost with exit 0 in {lost}")


def main():
    args = sys.argv[1:]
    if not args:
        raise SystemExit(__doc__)
    program = args[0]
    trials = int(args[args.index("--trials") + 1]) if "--trials" in args else 10
    locked = "--unlocked" not in args
    tally = Tally()
    sigcb, sicov = sigcb_file(60000), sicov_file(150000)
    with tempfile.TemporaryDirectory(prefix="verilote-race-") as folder:
        appending(program, folder, trials, locked, tally, "RemessaComRegistroCarnRetirasegmentoY1Click", sigcb,
                  lambda now: b"10400013xxxxxY" not in now)
        appending(program, folder, trials, locked, tally, "AlteraNSA1Click", sicov,
                  lambda now: now[73:79] == b"424242", "424242")
        if locked:
            two_runs(program, folder, trials, tally, sigcb)
    print(f"{tally.passed} passed, {tally.failed} failed")
    return 1 if tally.failed else 0


if __name__ == "__main__":
    sys.exit(main())
