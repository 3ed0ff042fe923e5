#!/usr/bin/env python3
"""Mutation check of the test suite (not part of CI).

Makes N single-point changes ("mutants") in the rule tables and check-digit
routines -- a position or a code in a rule row, a weight or a modulus, a
comparison flipped, a table row dropped -- rebuilds the test binary for each
and runs the suite on it. A mutant is caught when the suite fails (or hangs).
Prints every mutant with its outcome and the score at the end.

The work happens on a copy of the tree (default: the repository this script
sits in) under --work, so the tree itself is never changed; each mutated file
is restored from its saved text after the run, on Ctrl+C too. Mutants are
chosen from a seed, the same for any two trees with the same src/: run it on
two trees (say, before and after a change to tests/) to compare their scores.

  scripts/mutate.py                     # this tree, 110 mutants, seed 21
  scripts/mutate.py --tree /tmp/old -n 120 --label old
  scripts/mutate.py --list              # only show the mutants
  scripts/mutate.py --tree /tmp/old --also-tests tests   # old and new suites, one pass

With --also-tests DIR a second test binary is built from DIR (another tests/
tree) against the same mutated library, so two suites are scored on exactly
the same mutants for the price of one compile each.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TARGET_GLOBS = ["src/banking/check_digits.cpp", "src/remittance/*.cpp", "src/layouts/*.cpp"]
# Tests that cannot see these files and take most of the suite's time.
DEFAULT_EXCLUDE = "RecordReader.*:SicovRepair.KilledAtRandomMoments*"


def code_mask(line):
    """Per character: 'c' code, 's' inside a string or char literal, '#' comment."""
    mask = []
    i, n = 0, len(line)
    if line.lstrip().startswith("#"):
        return "#" * n
    while i < n:
        ch = line[i]
        if line.startswith("//", i):
            mask.extend("#" * (n - i))
            break
        if ch in "\"'":
            j = i + 1
            while j < n and line[j] != ch:
                j += 2 if line[j] == "\\" else 1
            end = min(j + 1, n)
            mask.append("c")
            mask.extend("s" * (end - i - 2))
            if end - i >= 2:
                mask.append("c")
            i = end
            continue
        mask.append("c")
        i += 1
    return "".join(mask)


TEMPLATE_ARGS = re.compile(r"[A-Za-z_]\w*<([^<>;()]*)>")
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
COMPARISONS = [(" == ", " != "), (" != ", " == "), (" <= ", " < "), (" >= ", " > "), (" < ", " <= "), (" > ", " >= "),
               (" && ", " || "), (" || ", " && ")]
ROW = re.compile(r"^\s*\{.*\},\s*(//.*)?$")


def candidates(rel, text):
    """Every single-point change of one file: (rel, line index, description, new line)."""
    out = []
    weights_everywhere = rel.endswith("check_digits.cpp")
    lines = text.split("\n")
    in_block_comment = False
    for index, line in enumerate(lines):
        stripped = line.strip()
        if in_block_comment or stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        mask = code_mask(line)

        def change(start, end, new, what):
            out.append((rel, index, what, line[:start] + new + line[end:]))

        # Positions and codes inside template arguments (rule rows, field reads).
        spans = [(m.start(1), m.end(1)) for m in TEMPLATE_ARGS.finditer(line) if mask[m.start()] == "c"]
        for m in NUMBER.finditer(line):
            if mask[m.start()] != "c":
                continue
            inside = any(a <= m.start() < b for a, b in spans)
            if not (inside or weights_everywhere):
                continue
            value = int(m.group(1))
            new = value + 1 if value in (0, 1) or index % 2 == 0 else value - 1
            change(m.start(), m.end(), str(new), f"number {value} -> {new}")
        for a, b in spans:
            for m in re.finditer(r"(['\"])([^'\"]*?\d)\1", line[a:b]):
                last = a + m.end(2) - 1
                digit = int(line[last])
                change(last, last + 1, str((digit + 1) % 10), f"code {m.group(0)} last digit +1")
        for old, new in COMPARISONS:
            start = line.find(old)
            while start >= 0:
                if mask[start + 1] == "c":
                    change(start, start + len(old), new, f"'{old.strip()}' -> '{new.strip()}'")
                start = line.find(old, start + 1)
        if ROW.match(line) and not stripped.startswith("{}"):
            out.append((rel, index, "drop table row", ""))
    return out


def choose(tree, count, seed):
    """Up to `count` candidates drawn from the seed, taking turns over the files
    so each file gets its share; the rest follow as spares for stillborn ones."""
    rng = random.Random(seed)
    files = sorted({p for g in TARGET_GLOBS for p in tree.glob(g)})
    groups = []
    for path in files:
        rel = str(path.relative_to(tree))
        if rel.endswith("handlers.cpp"):
            continue
        group = candidates(rel, path.read_text(encoding="latin-1"))
        rng.shuffle(group)
        if group:
            groups.append(group)
    rng.shuffle(groups)
    ordered = []
    while any(groups):
        for group in groups:
            if group:
                ordered.append(group.pop())
    return ordered


class Interrupted(Exception):
    pass


def run(cmd, cwd, timeout=None, env=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return p.returncode, p.stdout.decode("latin-1")
    except subprocess.TimeoutExpired:
        return "timeout", ""


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--tree", type=Path, default=ROOT, help="source tree to test (copied, never changed)")
    ap.add_argument("--work", type=Path, default=Path(os.environ.get("TMPDIR", "/tmp")) / "verilote-mutate")
    ap.add_argument("--label", default=None, help="name of the copy under --work (default: the tree's name)")
    ap.add_argument("-n", type=int, default=110, help="number of mutants that build (default 110)")
    ap.add_argument("--seed", type=int, default=21)
    ap.add_argument("--timeout", type=int, default=120, help="seconds for one run of the suite")
    ap.add_argument("--exclude", default=DEFAULT_EXCLUDE, help="gtest filter of tests to leave out")
    ap.add_argument("--list", action="store_true", help="print the mutants and stop")
    ap.add_argument("--also-tests", type=Path, default=None, help="a second tests/ tree, scored on the same mutants")
    ap.add_argument("-j", type=int, default=2)
    args = ap.parse_args()

    tree = args.tree.resolve()
    ordered = choose(tree, args.n, args.seed)
    if args.list:
        for rel, index, what, new in ordered[: args.n]:
            print(f"{rel}:{index + 1}: {what}: {new.strip() or '(row dropped)'}")
        print(f"{len(ordered)} candidates")
        return 0

    copy = args.work / (args.label or tree.name)
    build = copy / "build-mutate"
    env = dict(os.environ)
    if shutil.which("ccache"):
        env.setdefault("CCACHE_DIR", str(Path.home() / ".ccache"))
        env["CCACHE_BASEDIR"] = str(args.work.resolve())
        env["CCACHE_NOHASHDIR"] = "1"
    print(f"copying {tree} to {copy}", flush=True)
    for part in ("src", "tests", "examples", "bench", "cmake"):
        if (copy / part).exists():
            shutil.rmtree(copy / part)
        if (tree / part).exists():
            shutil.copytree(tree / part, copy / part)
    shutil.copy2(tree / "CMakeLists.txt", copy / "CMakeLists.txt")
    if args.also_tests:
        also = copy / "tests-also"
        if also.exists():
            shutil.rmtree(also)
        shutil.copytree(args.also_tests.resolve(), also)
        cmake = (also / "CMakeLists.txt").read_text()
        cmake = "\n".join(l for l in cmake.split("\n") if not l.startswith("gtest_discover_tests"))
        (also / "CMakeLists.txt").write_text(cmake.replace("verilote_tests", "verilote_tests_also"))
        with open(copy / "CMakeLists.txt", "a") as top:
            top.write("\nadd_subdirectory(tests-also)\n")
    configure = ["cmake", "-S", str(copy), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                 "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -g0"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    rc, log = run(configure, copy, env=env)
    build_cmd = ["ninja", "-C", str(build), f"-j{args.j}", "tests/verilote_tests"]
    if args.also_tests:
        build_cmd.append("tests-also/verilote_tests_also")
    if rc == 0:
        rc, log = run(build_cmd, copy, env=env)
    if rc != 0:
        print(log[-4000:])
        print("the unchanged tree does not build")
        return 2
    tests = [str(build / "tests" / "verilote_tests"), "--gtest_brief=1", "--gtest_fail_fast"]
    if args.exclude:
        tests.append("--gtest_filter=-" + args.exclude)
    suites = {"tests": tests}
    if args.also_tests:
        suites["also"] = [str(build / "tests-also" / "verilote_tests_also")] + tests[1:]
    for name, cmd in suites.items():
        rc, log = run(cmd, build, timeout=args.timeout * 3, env=env)
        if rc != 0:
            print(log[-4000:])
            print(f"the suite '{name}' fails on the unchanged tree")
            return 2

    def stop(signum, frame):
        raise Interrupted()

    signal.signal(signal.SIGINT, stop)
    signal.signal(signal.SIGTERM, stop)
    caught = {name: 0 for name in suites}
    survivors = {name: [] for name in suites}
    total = stillborn = 0
    started = time.monotonic()
    try:
        for rel, index, what, new in ordered:
            if total >= args.n:
                break
            path = copy / rel
            original = path.read_bytes()
            try:
                lines = original.decode("latin-1").split("\n")
                if new == "":
                    del lines[index]
                else:
                    lines[index] = new
                path.write_bytes("\n".join(lines).encode("latin-1"))
                rc, _ = run(build_cmd, copy, env=env)
                if rc != 0:
                    stillborn += 1
                    continue
                outcomes = {name: run(cmd, build, timeout=args.timeout, env=env)[0] for name, cmd in suites.items()}
            finally:
                path.write_bytes(original)
            total += 1
            shown = []
            for name, rc in outcomes.items():
                if rc == 0:
                    survivors[name].append(f"{rel}:{index + 1}: {what}")
                    shown.append("SURVIVED")
                else:
                    caught[name] += 1
                    shown.append("caught" if rc != "timeout" else "caught (timeout)")
            print(f"[{total:3}] {' / '.join(shown):24} {rel}:{index + 1}: {what}", flush=True)
    except Interrupted:
        print("interrupted; the copy is restored")
    finally:
        run(build_cmd, copy, env=env)  # leave the copy's build matching its sources
    minutes = (time.monotonic() - started) / 60
    for name in suites:
        print(f"\n{name}: survivors:\n  " + "\n  ".join(survivors[name]) if survivors[name] else f"\n{name}: none survived")
    for name in suites:
        print(f"{name}: mutants: {total}, caught: {caught[name]}, survived: {total - caught[name]}, "
              f"score {100.0 * caught[name] / max(total, 1):.1f}%")
    print(f"did not build: {stillborn}; {minutes:.1f} minutes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
