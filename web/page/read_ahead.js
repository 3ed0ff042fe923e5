// Reading ahead for the core in this worker. The core reads its file in
// blocks of 256 KiB; through the worker file system each block is a slice of
// the File read with FileReaderSync, and Chromium pays a round trip to the
// browser process for every such read: a 240 MB file took 2.2 s in 256 KiB
// reads and 0.7 s in 4 MiB ones. So a slice read here is served from a 4 MiB
// window read once, when the slice lies in it. A slice this code did not see
// made (any other reader) is read as before.

const kWindow = 4 << 20;
const kLargest = 1 << 20;  // larger reads gain nothing from the window

const sliceOf = Blob.prototype.slice;
const readSync = typeof FileReaderSync === 'function' ? FileReaderSync.prototype.readAsArrayBuffer : null;
const parts = new WeakMap();  // a slice -> {whole, from, to}
let held = null;              // the window: {whole, from, bytes}

if (readSync) {
  Blob.prototype.slice = function slice(start, end, type) {
    const part = sliceOf.call(this, start, end, type);
    if (Number.isInteger(start) && Number.isInteger(end) && start >= 0 && end >= start && end - start <= kLargest)
      parts.set(part, {whole: this, from: start, to: Math.min(end, this.size)});
    return part;
  };

  FileReaderSync.prototype.readAsArrayBuffer = function readAsArrayBuffer(blob) {
    const part = parts.get(blob);
    if (!part) return readSync.call(this, blob);
    const {whole, from, to} = part;
    const inWindow = (w) => w && w.whole === whole && from >= w.from && to <= w.from + w.bytes.byteLength;
    if (!inWindow(held)) {
      const bytes = readSync.call(this, sliceOf.call(whole, from, Math.min(whole.size, from + kWindow)));
      held = {whole, from, bytes};
      if (!inWindow(held)) return readSync.call(this, blob);  // the file shrank meanwhile
    }
    return held.bytes.slice(from - held.from, to - held.from);
  };
}

// The window holds a file's bytes: let it go with the file's run.
export function forgetReadAhead() {
  held = null;
}
