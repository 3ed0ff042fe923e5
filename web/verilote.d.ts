// Verilote in JavaScript: the core in WebAssembly, with the command line's
// own check, show and run (same words, same verdicts, same JSON).

/**
 * A file to read: bytes, a Blob or File (read a slice at a time in a Web
 * Worker), or in Node a path (read through a file descriptor).
 */
export type Input = Uint8Array|ArrayBuffer|Blob|string;

/** A command of the menu, as `verilote-cli list` knows it (UTF-8). */
export interface Command {
  /** The submenus that lead to it, with their "&" accelerators. */
  path: string[];
  caption: string;
  handler: string;
  /** Runs here (`run`): built, and needing no window. */
  ready: boolean;
  state: 'ready'|'window only'|'not built yet';
  /** "Ctrl+O", "Shift+F1"... */
  shortcut?: string;
}

/** A field a finding names, with what the record holds there. */
export interface IssueField {
  code: string;
  from: number|null;
  to: number|null;
  name: string|null;
  found: string|null;
  expected: string|null;
}

export interface Issue {
  record: number;
  line: string;
  kind: string|null;
  fields: IssueField[];
}

/** One file's object of `verilote-cli check --format json` ("files"[0]). */
export interface CheckResult {
  file: string;
  /** The report lines; empty when they were streamed to onLine. */
  report: string[];
  /** The findings with their fields; empty when the lines were streamed. */
  issues: Issue[];
  layout: string|null;
  title: string|null;
  validator: string|null;
  detection: 'recognised'|'not recognised'|'forced';
  candidates: string[];
  evidence: string;
  findings: number;
  verdict: 'clean'|'findings'|'aborted'|'no validator'|'not recognised';
  /** 0 clean, 1 findings, 3 not checked. */
  status: number;
  error: string|null;
}

export interface CheckOptions {
  /** What the report calls the file; default the File's name or the path. */
  name?: string;
  /** A layout name of `verilote-cli check --layouts`, instead of the detected one. */
  layout?: string;
  /** The date the validators take as today, DD/MM/YYYY. */
  today?: string;
  /**
   * Each report line as it is written, with the record its finding is
   * about (null: not a finding, or about the file as a whole) and, for a
   * finding, the number of its shape (its record kind and the fields it
   * names) for `inspect`.
   */
  onLine?: (line: string, index: number, record: number|null, shape: number|null) => void;
  /** The reading's progress; return false to stop the run. */
  onProgress?: (bytesRead: number, bytesTotal: number) => boolean | void;
}

export interface ShowField {
  code: string;
  from: number;
  to: number;
  name: string;
  value: string;
  finding: boolean;
  expected: string|null;
  [key: string]: unknown;
}

/** `verilote-cli show --format json`'s object. */
export interface ShowResult {
  tool: string;
  file: string;
  layout: string;
  title: string;
  record: number;
  kind: string;
  length: number;
  fields: ShowField[];
  [key: string]: unknown;
}

export interface RunResult {
  /** The CLI's exit status: 0 clean, 1 faults found, 2 usage, 3 aborted. */
  status: number;
  /** The report lines (empty when they were streamed to onLine). */
  report: string[];
  /** What the command's message boxes and errors said (the CLI's stderr). */
  messages: string[];
}

export function commands(): Promise<Command[]>;

/**
 * The file checked as `verilote-cli check --format json` checks it. Bad input
 * resolves as the CLI answers it (status 3, "aborted" or "not recognised",
 * the error); a usage error (an unknown layout, a bad date) rejects with the
 * CLI's message and `status` 2; a callback that throws stops the run and
 * rejects the call with its own error. Calls run one at a time, in order.
 */
export function check(input: Input, options?: CheckOptions): Promise<CheckResult>;

/**
 * Exactly what `verilote-cli check --format F NAME` prints for the file,
 * in chunks; resolves to the exit status.
 */
export function checkDocument(
    input: Input,
    options: {
      format: 'text'|'json'|'junit';
      name?: string;
      layout?: string;
      today?: string; onChunk: (text: string) => void;
      onProgress?: (bytesRead: number, bytesTotal: number) => boolean | void;
    },
    ): Promise<number>;

/**
 * A record the CLI refuses (0, past the end, a file it cannot read) rejects
 * with the CLI's message and its exit status as `status`.
 */
export function show(input: Input, record: number, options?: {layout?: string; name?: string}): Promise<ShowResult>;

/** As `verilote-cli run HANDLER --file .. --answer .. --today ..`. */
export function run(
    handler: string,
    options?: {files?: Input[]; answers?: string[]; today?: string; onLine?: (line: string) => void},
    ): Promise<RunResult>;

/**
 * The record inspector's model of a finding line, as the windows draw it:
 * the fields of the record's kind in order with those the finding names
 * marked, the raw record under a ruler. Texts are UTF-8.
 */
export interface Inspection {
  heading: string;
  fileName: string;
  findingLine: string;
  /** Why the record is not shown (the file changed, a finding about the whole file); empty when it is. */
  message: string;
  record: string;
  rulerTens: string;
  rulerUnits: string;
  rows: {
    code: string; positions: string; name: string; found: string; expected: string; from: number; to: number;
    named: boolean;
  }[];
  /** The named fields' byte ranges in `record`, 1-based and inclusive. */
  marks: [number, number][];
  firstNamed: number;
}

/**
 * The inspector on a finding line that `check`'s onLine gave (its line,
 * record and shape), the record read again from `input`.
 */
export function inspect(
    input: Input,
    finding: {line: string; record: number | null; shape?: number | null},
    options?: {name?: string},
    ): Promise<Inspection>;
