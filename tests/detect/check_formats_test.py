#!/usr/bin/env python3
"""verilote-cli check on a directory of mixed files: the text summary, the
JSON document against docs/check-report.schema.json, and the JUnit XML as a
CI server's parser reads it. Standard library only.
Usage: check_formats_test.py CLI SOURCE_DIR"""
import json, os, pty, random, resource, shutil, signal, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

cli, source = sys.argv[1], sys.argv[2]
failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)


TYPES = {"object": dict, "array": list, "string": str, "integer": int, "null": type(None)}


def validate(value, schema, where="$"):
    """The schema keywords the report's schema uses: type, const, enum,
    required, properties, additionalProperties, items, minimum."""
    types = schema.get("type")
    if types is not None:
        names = types if isinstance(types, list) else [types]
        ok = any(isinstance(value, TYPES[t]) and not (t == "integer" and isinstance(value, bool)) for t in names)
        expect(ok, f"{where}: {value!r} is not {types}")
    expect("const" not in schema or value == schema["const"], f"{where}: not {schema.get('const')!r}")
    expect("enum" not in schema or value in schema["enum"], f"{where}: {value!r} not in {schema.get('enum')}")
    expect("minimum" not in schema or not isinstance(value, int) or value >= schema["minimum"],
           f"{where}: below the minimum")
    if isinstance(value, dict):
        for key in schema.get("required", []):
            expect(key in value, f"{where}: no {key}")
        properties = schema.get("properties", {})
        for key, item in value.items():
            if key in properties:
                validate(item, properties[key], f"{where}.{key}")
            else:
                expect(schema.get("additionalProperties", True), f"{where}: unexpected {key}")
    if isinstance(value, list) and "items" in schema:
        for i, item in enumerate(value):
            validate(item, schema["items"], f"{where}[{i}]")


with tempfile.TemporaryDirectory() as work:
    mixed = os.path.join(work, "mixed")
    shutil.copytree(os.path.join(source, "examples"), mixed, ignore=shutil.ignore_patterns("*.sh"))
    with open(os.path.join(mixed, "random.txt"), "wb") as f:
        f.write(random.Random(20).randbytes(3000))
    # A name no encoding reads: an overlong "/", a lone surrogate, U+FFFE, a control byte.
    with open(os.path.join(os.fsencode(mixed), b"sad", b"odd\xc0\xaf\xed\xa0\x80\xef\xbf\xbe\x01.txt"), "wb") as f:
        f.write(b"x")
    with open(os.path.join(mixed, "sad", "lf_only.txt"), "wb") as f:
        f.write(open(os.path.join(mixed, "sad", "remessa_sad_ok.txt"), "rb").read().replace(b"\r\n", b"\n"))
    env = dict(os.environ, VERILOTE_CLI=cli)
    total = sum(len(files) for _, _, files in os.walk(mixed))

    def check(*options):
        return subprocess.run([os.path.join(source, "examples", "check_all.sh"), mixed, "--today", "06/12/2026",
                               *options], env=env, capture_output=True)

    text = check()
    expect(text.returncode == 3, f"text exit {text.returncode}")
    summary = text.stdout.decode().split("\nSummary:\n")[1].splitlines()
    rows = {line.split()[0][len(mixed) + 1:]: line.split(None, 3)[1:] for line in summary[1:]}
    expect(summary[0].split() == ["FILE", "LAYOUT", "FINDINGS", "VERDICT"], "summary heading")
    expect(len(rows) == total, f"{len(rows)} summary rows for {total} files")
    for name, row in {"sad/remessa_sad_ok.txt": ["sad", "0", "clean"],
                      "sad/remessa_sad_com_erros.txt": ["sad", "7", "findings"],
                      "sad/lf_only.txt": ["sad", "2", "findings"],
                      "cobcaixa/titulos_ok.txt": ["cobcaixa-titulos-233", "0", "clean"],
                      "sicov/remessa_sicov_ok.rem": ["sicov", "0", "no validator"],
                      "random.txt": ["-", "0", "not recognised"]}.items():
        expect(rows.get(name) == row, f"summary of {name}: {rows.get(name)}")

    document = check("--format", "json")
    expect(document.returncode == 3, "json exit")
    report = json.loads(document.stdout.decode("utf-8"))
    validate(report, json.load(open(os.path.join(source, "docs", "check-report.schema.json"))))
    bills = [f for f in report["files"] if f["file"].endswith("titulos_ok.txt")][0]
    expect(bills["candidates"] == ["cobcaixa-titulos-220"], "the version that fits as well is named")
    lf = [f for f in report["files"] if f["file"].endswith("lf_only.txt")][0]
    # The evidence is the report's detection lines: the verdict alone first,
    # the line ends on a line of their own.
    evidence = lf["evidence"].split("\n")
    expect(lf["report"][:len(evidence)] == evidence, "the evidence is the report's first lines")
    expect(evidence[0] == "Layout detectado: SAD/SICOB lay-out antigo", f"verdict line: {evidence[0]}")
    expect("linhas terminadas só por LF (o banco espera CR LF: o validador lê o arquivo todo como um registro só)"
           in evidence, "the LF-only file's evidence names its line ends")

    # Findings name their fields: the SIGCB example's wrong agency digit
    # (agency 01234 weighs 30: digit 3) and its short file count.
    sigcb = [f for f in report["files"] if f["file"].endswith("remessa_sigcb240_com_erros.rem")][0]
    issues = {(i["record"], field["code"]): field for i in sigcb["issues"] for field in i["fields"]}
    expect(issues.get((3, "09.3P")) == {"code": "09.3P", "from": 23, "to": 23, "name": "DV da agência",
                                       "found": "7", "expected": "dígito 3"}, f"09.3P: {issues.get((3, '09.3P'))}")
    expect(issues.get((18, "06.9"), {}).get("found") == "000019", "the file trailer's count field")
    expect(len(sigcb["issues"]) == sigcb["findings"], "one issue per finding line")
    expect(all(f["issues"] == [] for f in report["files"] if f["findings"] == 0), "no issue without a finding")

    junit = check("--format", "junit", "--layout", "sad")
    suites = ET.fromstring(junit.stdout)
    cases = suites.findall("./testsuite/testcase")
    expect(len(cases) == total and suites.get("tests") == str(total), "one test case per file")
    failed = [c for c in cases if c.find("failure") is not None]
    expect(suites.get("failures") == str(len(failed)), "failures counted")
    bad = [c for c in cases if c.get("name").endswith("remessa_sad_com_erros.txt")][0]
    expect("Erro encontrado X na pos=15" in bad.find("failure").text, "findings as the failure text")
    expect(bad.find("failure").get("message") == "7 findings (SAD/SICOB lay-out antigo)", "failure message")

    one = subprocess.run([cli, "check", "--format", "junit", os.path.join(mixed, "sigcb240", "remessa_sigcb240_com_erros.rem")],
                         capture_output=True)
    text = ET.fromstring(one.stdout).find("./testsuite/testcase/failure").text
    expect('registro 3, campo 09.3P (posição 23, DV da agência): encontrado "7", esperado dígito 3' in text,
           "junit names the fields of a finding")

    # A report file that cannot be written: that file is an error entry, the
    # others are checked and the document still closes.
    ok, bad = (os.path.join(mixed, "sad", name) for name in ("remessa_sad_ok.txt", "remessa_sad_com_erros.txt"))
    os.makedirs(os.path.join(work, "reports", "remessa_sad_ok.txt.txt"))
    for form, parse in (("json", lambda out: json.loads(out)["files"]),
                        ("junit", lambda out: ET.fromstring(out).findall("./testsuite/testcase"))):
        run = subprocess.run([cli, "check", "--format", form, "--report-dir", os.path.join(work, "reports"), ok, bad],
                             capture_output=True)
        entries = parse(run.stdout)
        expect(run.returncode == 3 and len(entries) == 2, f"{form}: exit {run.returncode}, {len(entries)} entries")
    expect(entries[0].find("error") is not None and entries[1].find("failure") is not None, "junit error entry")

    # A temporary folder that fills up: no document cut short, exit 3.
    def small_files():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (64 * 1024, 64 * 1024))
    run = subprocess.run([cli, "check", "--format", "junit", "--layout", "sad", *[bad] * 300],
                         capture_output=True, preexec_fn=small_files)
    expect(run.returncode == 3 and run.stdout == b"" and b"temporary" in run.stderr, f"full spool: {run.returncode}")
    # JSON: the file whose findings the folder refused is given as not
    # checked, with the cause; the next one, whose findings fit, is whole.
    sigcb = os.path.join(mixed, "sigcb240", "remessa_sigcb240_com_erros.rem")
    records = open(sigcb, "rb").read().split(b"\r\n")
    many = os.path.join(work, "many_findings.rem")
    with open(many, "wb") as f:
        f.write(b"\r\n".join(records[:2] + records[2:5] * 600 + records[-3:]))
    run = subprocess.run([cli, "check", "--format", "json", many, sigcb], capture_output=True, preexec_fn=small_files)
    report = json.loads(run.stdout.decode("utf-8"))
    validate(report, json.load(open(os.path.join(source, "docs", "check-report.schema.json"))))
    lost, whole = report["files"]
    expect(run.returncode == 3 and report["status"] == 3, f"json full spool: exit {run.returncode}")
    expect(lost["status"] == 3 and lost["verdict"] == "aborted" and "temporary" in (lost["error"] or ""),
           f"json full spool: {lost['verdict']}, {lost['error']}")
    expect(whole["error"] is None and len(whole["issues"]) == whole["findings"] > 0, "json: the next file whole")
    run = subprocess.run([cli, "check", "--format", "junit", many, sigcb], capture_output=True, preexec_fn=small_files)
    cases = ET.fromstring(run.stdout).findall("./testsuite/testcase") if run.stdout else []
    expect(run.returncode == 3 and len(cases) == 2 and "temporary" in cases[0].find("error").get("message") and
           cases[1].find("failure") is not None, f"junit full spool: exit {run.returncode}, {len(cases)} cases")

    # On a terminal a name's control bytes show as marks (ESC as ^[, BEL as
    # ^G): they would retitle it.
    evil = os.path.join(work, "r\x1b]0;pwned\x07.txt")
    shutil.copy(ok, evil)
    master, slave = pty.openpty()
    run = subprocess.run([cli, "check", evil], stdout=slave, stderr=slave)
    os.close(slave)
    shown = b""
    while True:
        try:
            chunk = os.read(master, 65536)
        except OSError:  # EIO once the other side is closed
            break
        if not chunk:
            break
        shown += chunk
    os.close(master)
    expect(run.returncode == 0 and b"r^[]0;pwned^G.txt" in shown and b"\x1b" not in shown and b"\x07" not in shown,
           f"terminal: {shown[:200]!r}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
