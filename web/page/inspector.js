// The record inspector: a finding line of the report opened on its record,
// as the windows draw it. The heading names the record, its kind and the
// file; the finding's own line; the raw record under a ruler of positions
// with the named fields' bytes marked; the fields table (code, positions,
// name, the bytes found, what the layout expects), the fields the finding
// names marked. "Anterior" and "Próximo" step to the findings before and
// after, and the report follows. What it shows is `show`'s model of the
// record, read again from the file.

const $ = (id) => document.getElementById(id);

// A control byte takes one blank cell, so that positions stay aligned.
const blanked = (text) => text.replace(/[\u0000-\u001f]/g, ' ');

// The two ruler lines over `length` positions: the tens, each number ending
// above its position, and the units.
export function ruler(length) {
  const tens = Array(length).fill(' ');
  let units = '';
  for (let p = 1; p <= length; ++p) {
    units += String(p % 10);
    if (p % 10 === 0) {
      const number = String(p);
      for (let i = 0; i < number.length; ++i) tens[p - number.length + i] = number[i];
    }
  }
  return [tens.join(''), units];
}

export class Inspector {
  constructor({show, step, fileName, onClose}) {
    this.showRecord = show;
    this.stepTo = step;
    this.fileName = fileName;
    this.onClose = onClose;
    this.line = -1;
    this.box = $('inspector');
    $('previous').addEventListener('click', () => this.step(-1));
    $('next').addEventListener('click', () => this.step(1));
    $('close').addEventListener('click', () => this.close(true));
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !this.box.hidden) {
        event.preventDefault();
        this.close(true);
      }
    });
  }

  async open(line, record, text) {
    this.line = line;
    const ticket = {};
    this.ticket = ticket;
    this.box.hidden = false;
    this.box.dataset.state = 'loading';
    $('inspector-heading').textContent = `Registro ${record} — ${this.fileName()}`;
    $('inspector-line').textContent = blanked(text);
    let shown;
    try {
      shown = await this.showRecord(record);
    } catch (error) {
      shown = {error: error.message};
    }
    if (this.ticket !== ticket) return;
    this.draw(record, text, shown);
    this.box.dataset.state = 'shown';
    this.box.dataset.line = String(line);
    const [previous, next] = await Promise.all([this.stepTo(line, -1, true), this.stepTo(line, 1, true)]);
    if (this.ticket !== ticket) return;
    $('previous').disabled = previous == null;
    $('next').disabled = next == null;
  }

  draw(record, text, shown) {
    const fields = Array.isArray(shown && shown.fields) ? shown.fields : [];
    const kind = shown && shown.kind ? ` (${shown.kind})` : '';
    $('inspector-heading').textContent = `Registro ${record}${kind} — ${this.fileName()}`;
    const message = $('inspector-message');
    const problem = shown &&
        (shown.error ||
         (shown.status === 3 && !fields.length ? shown.message || 'O registro não pode ser mostrado.' : ''));
    message.hidden = !problem;
    message.textContent = problem || '';

    // The fields this finding names; a finding the record's list lacks
    // marks every field a finding of the record names.
    const findings = (shown && shown.findings) || [];
    const own = findings.find((f) => f.line === text);
    const named = new Set(own ? own.fields : fields.filter((f) => f.finding).map((f) => f.code));
    const isNamed = (field) => field.code != null && named.has(field.code);

    const body = $('fields').tBodies[0];
    body.textContent = '';
    let firstNamed = null;
    for (const field of fields) {
      const row = document.createElement('tr');
      const positions = field.from == null ? '' :
          field.from === field.to          ? String(field.from) :
                                             `${field.from}-${field.to}`;
      const cells = [field.code || '', positions, field.name || '', blanked(field.value || ''), field.expected || ''];
      cells.forEach((value, column) => {
        const cell = document.createElement('td');
        cell.textContent = value;
        if (column === 3) cell.className = 'found';
        if (column >= 2) cell.title = value;
        row.appendChild(cell);
      });
      if (isNamed(field)) {
        row.className = 'named';
        if (!firstNamed) firstNamed = row;
      }
      body.appendChild(row);
    }

    // The raw record, rebuilt from the fields' bytes by their positions.
    const length = Math.min((shown && shown.length) || 0, 4096);
    const bytes = Array(length).fill(' ');
    const marked = Array(length).fill(false);
    for (const field of fields) {
      if (field.from == null) continue;
      const value = blanked(field.value || '');
      for (let i = 0; i < value.length && field.from - 1 + i < length; ++i) bytes[field.from - 1 + i] = value[i];
      if (isNamed(field))
        for (let p = field.from; p <= Math.min(field.to, length); ++p) marked[p - 1] = true;
    }
    const raw = $('raw');
    raw.textContent = '';
    if (length > 0) {
      const [tens, units] = ruler(length);
      raw.append(`${tens}\n${units}\n`);
      for (let at = 0; at < length;) {
        let end = at;
        while (end < length && marked[end] === marked[at]) ++end;
        const piece = bytes.slice(at, end).join('');
        if (marked[at]) {
          const mark = document.createElement('mark');
          mark.textContent = piece;
          raw.appendChild(mark);
        } else {
          raw.append(piece);
        }
        at = end;
      }
    }
    if (firstNamed) firstNamed.scrollIntoView({block: 'nearest'});
    const firstMark = raw.querySelector('mark');
    if (firstMark) raw.scrollLeft = Math.max(0, firstMark.offsetLeft - raw.clientWidth / 3);
  }

  async step(direction) {
    if (this.line < 0) return;
    const target = await this.stepTo(this.line, direction, false);
    if (target) await this.open(target.line, target.record, target.text);
  }

  close(refocus) {
    if (this.box.hidden) return;
    this.ticket = null;
    this.box.hidden = true;
    this.line = -1;
    if (refocus) this.onClose();
  }
}
