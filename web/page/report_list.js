// The report as a virtual list: only the rows in view are in the page, each
// of one fixed height; a spacer gives the scroll bar the report's length.
// Browsers cap an element's height (about 33 million pixels in Chromium), so
// past a few million pixels the scroll range is scaled: the scroll bar's
// position maps to a line, and the rows are drawn from there.

const kRow = 18;  // px, as .row in style.css
const kMostPixels = 8_000_000;
const kAhead = 64;  // rows asked for beyond the view, each way

export class ReportList {
  constructor(viewport, rows, spacer, fetchRows, {onOpen}) {
    this.viewport = viewport;
    this.rowsBox = rows;
    this.spacer = spacer;
    this.fetchRows = fetchRows;
    this.onOpen = onOpen;
    this.id = null;
    this.count = 0;
    this.current = -1;
    this.cache = {id: null, from: 0, lines: [], records: []};
    this.asking = null;
    this.charWidth = this.measure();
    viewport.addEventListener('scroll', () => this.draw());
    viewport.addEventListener('keydown', (event) => this.key(event));
    viewport.addEventListener('click', (event) => this.click(event));
    new ResizeObserver(() => this.layout()).observe(viewport);
  }

  measure() {
    const probe = document.createElement('span');
    probe.className = 'row';
    probe.style.position = 'absolute';
    probe.style.visibility = 'hidden';
    probe.textContent = '0'.repeat(100);
    this.viewport.appendChild(probe);
    const width = probe.getBoundingClientRect().width / 100 || 7.2;
    probe.remove();
    return width;
  }

  show(id, count, width, done) {
    this.id = id;
    this.count = 0;
    this.current = -1;
    this.cache = {id: null, from: 0, lines: [], records: []};
    this.viewport.scrollTop = 0;
    this.viewport.scrollLeft = 0;
    this.update(count, width, done);
  }

  update(count, width) {
    // Stored lines never change: the rows in hand stay good as the report
    // grows, and those past them are asked for when they come into view.
    this.count = count;
    this.width = Math.ceil(width * this.charWidth) + 24;
    this.layout();
  }

  focus() {
    this.viewport.focus();
  }

  // The scroll range and the real one: pixels of the whole report, pixels
  // the scroll bar moves over.
  ranges() {
    const view = this.viewport.clientHeight;
    const total = this.count * kRow;
    const scrolled = Math.min(total, kMostPixels);
    return {view, real: Math.max(0, total - view), scroll: Math.max(0, scrolled - view), scrolled};
  }

  layout() {
    const {view, scrolled} = this.ranges();
    const width = Math.max(this.width || 0, this.viewport.clientWidth);
    this.rowsBox.style.height = `${view}px`;
    this.rowsBox.style.width = `${width}px`;
    this.spacer.style.height = `${Math.max(0, scrolled - view)}px`;
    this.spacer.style.width = `${width}px`;
    this.draw();
  }

  // The report's pixel at the top of the view.
  offset() {
    const {real, scroll} = this.ranges();
    if (scroll <= 0) return 0;
    return Math.min(real, (this.viewport.scrollTop / scroll) * real);
  }

  setOffset(pixel) {
    const {real, scroll} = this.ranges();
    this.viewport.scrollTop = real > 0 ? (pixel / real) * scroll : 0;
  }

  visible() {
    const top = this.offset();
    const first = Math.floor(top / kRow);
    const rows = Math.ceil(this.viewport.clientHeight / kRow) + 1;
    return {first, rows, shift: top - first * kRow};
  }

  draw() {
    if (this.id == null) return;
    const {first, rows, shift} = this.visible();
    const last = Math.min(this.count, first + rows);
    const cache = this.cache;
    const cached = cache.id === this.id && first >= cache.from && last <= cache.from + cache.lines.length;
    if (!cached && last > first) this.ask(first, rows);
    const box = this.rowsBox;
    box.textContent = '';
    const inner = document.createElement('div');
    inner.style.transform = `translateY(${- shift}px)`;
    for (let line = first; line < last; ++line) {
      const row = document.createElement('div');
      row.className = 'row';
      row.dataset.line = String(line);
      const at = line - cache.from;
      if (cache.id === this.id && at >= 0 && at < cache.lines.length) {
        row.textContent = cache.lines[at];
        row.dataset.loaded = '';
        if (cache.records[at] != null) {
          row.classList.add('finding');
          row.dataset.record = String(cache.records[at]);
        }
      }
      if (line === this.current) row.classList.add('current');
      inner.appendChild(row);
    }
    box.appendChild(inner);
  }

  // Rows around the view, asked of the store; a later question wins.
  async ask(first, rows) {
    const id = this.id;
    const from = Math.max(0, first - kAhead);
    const ticket = {};
    this.asking = ticket;
    const got = await this.fetchRows(id, from, rows + 2 * kAhead);
    if (this.asking !== ticket || id !== this.id) return;
    this.cache = {id, from: got.from, lines: got.lines, records: got.records};
    this.draw();
  }

  async row(line) {
    const at = line - this.cache.from;
    if (this.cache.id === this.id && at >= 0 && at < this.cache.lines.length)
      return {text: this.cache.lines[at], record: this.cache.records[at]};
    const got = await this.fetchRows(this.id, line, 1);
    return {text: got.lines[0], record: got.records[0]};
  }

  moveTo(line) {
    if (this.count === 0) return;
    this.current = Math.max(0, Math.min(this.count - 1, line));
    const {first, rows} = this.visible();
    const full = Math.max(1, rows - 2);
    if (this.current < first)
      this.setOffset(this.current * kRow);
    else if (this.current >= first + full)
      this.setOffset((this.current + 1) * kRow - this.viewport.clientHeight);
    this.draw();
  }

  async open(line) {
    const {text, record} = await this.row(line);
    if (record != null) this.onOpen(line, record, text);
  }

  key(event) {
    const page = Math.max(1, Math.floor(this.viewport.clientHeight / kRow) - 1);
    const moves = {
      ArrowDown: 1,
      ArrowUp: -1,
      PageDown: page,
      PageUp: -page,
      Home: -Infinity,
      End: Infinity,
    };
    if (event.key in moves) {
      event.preventDefault();
      const step = moves[event.key];
      const from = this.current < 0 ? (step > 0 ? -1 : this.count) : this.current;
      const to = step === Infinity ? this.count - 1 : step === -Infinity ? 0 : from + step;
      this.moveTo(to);
    } else if (event.key === 'Enter' && this.current >= 0) {
      event.preventDefault();
      this.open(this.current);
    }
  }

  click(event) {
    const row = event.target.closest('.row');
    if (!row || row.dataset.line == null) return;
    this.moveTo(Number(row.dataset.line));
    this.viewport.focus();
    if (row.dataset.record != null) this.open(Number(row.dataset.line));
  }

  // What the list shows now, for the tests.
  shownRows() {
    return Array.from(this.rowsBox.querySelectorAll('.row')).map((row) => ({
                                                                   line: Number(row.dataset.line),
                                                                   text: row.textContent,
                                                                   record: row.dataset.record == null ?
                                                                       null :
                                                                       Number(row.dataset.record),
                                                                 }));
  }
}
