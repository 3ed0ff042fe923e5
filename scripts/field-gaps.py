#!/usr/bin/env python3
"""Lists what `verilote-cli show --format json` lays out without a field over
every record of every file of a directory (the examples by default): rows with
no code or no name, and codes that skip a number of the bank's numbering
("02.9" then "04.9"). A skip the bank's manual makes itself, or a field that
stands for several numbers ("campos 06.5 a 11.5"), is listed too: read the
field's name before taking it for a fault.

    scripts/field-gaps.py [DIR] [--cli build/verilote-cli]

Exit status: 0 when no row lacks a code or a name, 1 otherwise.
"""
import argparse
import json
import os
import re
import subprocess
import sys

POSITIONS = re.compile(r"[1-9][0-9]*(-[0-9]+)?")


def records(cli, path):
    """The JSON layout of each record of path, until show has none."""
    number = 1
    while True:
        run = subprocess.run([cli, "show", path, "--record", str(number), "--format", "json"],
                             capture_output=True, check=False)
        if not run.stdout:
            return
        yield number, json.loads(run.stdout)
        number += 1


def skips(codes):
    """Pairs of neighbouring codes whose field numbers leave one out."""
    if not codes or POSITIONS.fullmatch(codes[0]):
        return []
    befores = {code.split(".")[0] for code in codes if "." in code}
    after = len(befores) == 1 and len(codes) > 1  # "A.01", "A.02": the number follows the dot

    def number(code):
        part = code.split(".", 1)[1] if after and "." in code else code.split(".")[0]
        match = re.match(r"[0-9]+", part)
        return int(match.group()) if match else None

    found = []
    for first, second in zip(codes, codes[1:]):
        a, b = number(first), number(second)
        if a is not None and b is not None and b > a + 1:
            found.append((first, second))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dir", nargs="?", default=os.path.join(os.path.dirname(__file__), "..", "examples"))
    parser.add_argument("--cli", default="build/verilote-cli")
    args = parser.parse_args()
    unnamed, in_records, skipped = 0, set(), {}
    for folder, _, files in sorted(os.walk(args.dir)):
        for name in sorted(files):
            path = os.path.join(folder, name)
            for number, shown in records(args.cli, path):
                for row in shown["fields"]:
                    if not row["code"] or not row["name"]:
                        unnamed += 1
                        in_records.add((path, number))
                        print(f"{path}:{number} {shown['layout']} / {shown['kind']}: "
                              f"{row['from']}-{row['to']} without {'a code' if not row['code'] else 'a name'}")
                codes = [row["code"] for row in shown["fields"] if row["code"]]
                for pair in skips(codes):
                    skipped.setdefault((shown["layout"], shown["kind"]) + pair, 0)
                    skipped[(shown["layout"], shown["kind"]) + pair] += 1
    for (layout, kind, first, second), count in sorted(skipped.items()):
        print(f"{layout} / {kind}: {first} then {second} ({count} records)")
    print(f"{unnamed} ranges without a code or a name in {len(in_records)} records; "
          f"{len(skipped)} skips in the numbering")
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
