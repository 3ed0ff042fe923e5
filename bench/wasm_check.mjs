// The JavaScript side of bench/wasm_check.sh: `check` of FILE through the
// WebAssembly core, its report streamed to onLine and counted, not kept;
// twice, since the engine compiles the hot functions' optimised code during
// the first run (in the background) and the second runs it from the start.
// Prints "wall cpu wall2 cpu2 lines findings verdict" (CPU: user + system of
// the whole process, the engine's compiling threads included).
//
//   node bench/wasm_check.mjs FILE [TODAY]
import {check} from '../web/verilote.js';

const [file, today = '06/12/2026'] = process.argv.slice(2);
await check(new Uint8Array(0), {name: 'warm-up'});  // the module loaded before the clock starts
const times = [];
let lines = 0;
let result;
for (let run = 0; run < 2; ++run) {
  lines = 0;
  const start = process.hrtime.bigint();
  const cpuStart = process.cpuUsage();
  result = await check(file, {today, onLine: () => ++lines});
  const cpu = process.cpuUsage(cpuStart);
  times.push((Number(process.hrtime.bigint() - start) / 1e9).toFixed(3), ((cpu.user + cpu.system) / 1e6).toFixed(3));
}
console.log(`${times.join(' ')} ${lines} ${result.findings} ${result.verdict}`);
