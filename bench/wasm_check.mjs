// The JavaScript side of bench/wasm_check.sh: `check` of FILE through the
// WebAssembly core, its report streamed to onLine and counted, not kept.
// Prints "wall_seconds cpu_seconds lines findings verdict" (CPU: user +
// system of this process during the check).
//
//   node bench/wasm_check.mjs FILE [TODAY]
import { check } from '../web/verilote.js';

const [file, today = '06/12/2026'] = process.argv.slice(2);
await check(new Uint8Array(0), { name: 'warm-up' }); // the module loaded and compiled before the clock starts
let lines = 0;
const start = process.hrtime.bigint();
const cpuStart = process.cpuUsage();
const result = await check(file, { today, onLine: () => ++lines });
const cpu = process.cpuUsage(cpuStart);
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
const cpuSeconds = (cpu.user + cpu.system) / 1e6;
console.log(`${seconds.toFixed(3)} ${cpuSeconds.toFixed(3)} ${lines} ${result.findings} ${result.verdict}`);
