#!/usr/bin/env python3
"""Makes large inputs for the commands that rebuild or reconcile the client's
database from the bank's listings ("Recupera banco de dados > Títulos" and
"SICOB - Valida BD cobcaixa com listagem CAIXA"), with repeated names and
numbers and odd lines (empty, short, accented, holding a line feed, 100 KB
long), and a record of 32 MiB of refused bytes for the character check.

    bench/rebuild_inputs.py DIR [MB]      (default 480)

DIR receives sacados.txt (payer import file of about MB megabytes),
listagem_titulos.txt (item listing), titu.txt (bank listing of about MB
megabytes), tbTitulos.txt (database export) and e9_32.rem.
"""
import os
import random
import sys

out_dir = sys.argv[1]
megabytes = int(sys.argv[2]) if len(sys.argv) > 2 else 480
rnd = random.Random(104)
FIRST = ["JOSE", "MARIA", "ANA", "JOAO", "PEDRO", "LUCIA", "CARLOS", "PAULA", "TIPOGRAFIA", "SAO"]
LAST = ["SILVA", "SOUZA", "LIMA", "COSTA", "ALVES", "PEREIRA", "GOMES", "RIBEIRO"]


def name_of(i):
    return f"{FIRST[i % 10]} {LAST[(i // 10) % 8]} {i % 50021:05d}"


def odd_line(i):
    return [b"", b"SHORT", "ACENTUAÇÃO É".encode("cp1252") * 8, b"LINE\nFEED" * 30, b"X" * 100000][i % 5]


def write_lines(path, lines):
    with open(path, "wb", buffering=1 << 20) as f:
        for line in lines:
            f.write(line + b"\r\n")


def payers(count):
    for i in range(count):
        if i % 100003 == 7:
            yield odd_line(i // 100003)
            continue
        doc = str(10000000000 + i * 7919 % 89999999999)
        name = name_of(i).ljust(40)
        yield (" " * 7 + doc.zfill(15) + "F".rjust(16) + doc.ljust(15) + name + name + "RUA DAS FLORES 100".ljust(40)
               + "CENTRO".ljust(15) + "BRASILIA".ljust(15) + "DF" + "70000000").encode("cp1252")


def items(count, payer_count):
    for i in range(count):
        if i % 50021 == 3:
            yield odd_line(i // 50021)
            continue
        k = rnd.randrange(payer_count + payer_count // 10)
        name = name_of(k) if k < payer_count else f"NINGUEM {k}"
        if i % 997 == 0:
            name = name_of(k)[:-2]  # a prefix: several payers begin with it
        yield f"  14{i:015d} {name}   R$ {k % 9999},{k % 100:02d}  {1 + k % 28:02d}/{1 + k % 12:02d}/2019  ".encode()


def bank(count):
    for i in range(count):
        if i % 100003 == 11:
            yield odd_line(i // 100003)
            continue
        nn = i * 7 % (count // 2)  # every number about twice
        yield (f"    {nn:010d}-{nn % 10}" + " " * 21 + f"{[10, 42, 45, 61, 72, 99, 13][i % 7]:02d}  "
               + f"{1 + i % 28:02d}/01/2019 R$ {i % 999},00 PAGADOR {i}").encode()


def database(count, bank_count):
    for i in range(count):
        if i % 100003 == 5:
            yield odd_line(i // 100003)
            continue
        nn = rnd.randrange(bank_count // 2 + bank_count // 20)
        kind = ["11", "12", "13"][i % 3]
        yield (" " * 26 + f"DOC{i:012d}" + kind + " " * 68 + f"{i % 99999:>9},00" + " " * 159 + f"{nn:010d}{nn % 10}".ljust(16)
               + f"{i % 2}0{(i // 2) % 2}" + " " * 11 + f"{[2, 6, 9, 45, 77][i % 5]:02d}").encode()


os.makedirs(out_dir, exist_ok=True)
payer_count = megabytes * (1 << 20) // 215
write_lines(os.path.join(out_dir, "sacados.txt"), payers(payer_count))
write_lines(os.path.join(out_dir, "listagem_titulos.txt"), items(payer_count // 8, payer_count))
bank_count = megabytes * (1 << 20) // 80
write_lines(os.path.join(out_dir, "titu.txt"), bank(bank_count))
write_lines(os.path.join(out_dir, "tbTitulos.txt"), database(bank_count // 8, bank_count))
with open(os.path.join(out_dir, "e9_32.rem"), "wb") as f:
    f.write(b"\xe9" * (32 << 20) + b"\r\n")
