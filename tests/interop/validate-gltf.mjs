// Runs Khronos' glTF validator on one .gltf or .glb file, its buffers and
// images read from beside it. Prints every message; exits 1 on an error or
// on a warning other than an unused object.
// Usage: node validate-gltf.mjs VALIDATOR_MODULE_DIR FILE
import { createRequire } from 'module';
import { readFile } from 'fs/promises';
import path from 'path';

const [validatorDir, file] = process.argv.slice(2);
const validator = createRequire(import.meta.url)(validatorDir);
const folder = path.dirname(file);
const report = await validator.validateBytes(new Uint8Array(await readFile(file)), {
  uri: path.basename(file),
  externalResourceFunction: async (uri) => new Uint8Array(await readFile(path.join(folder, decodeURIComponent(uri)))),
});
const severities = ['error', 'warning', 'info', 'hint'];
let failed = false;
for (const m of report.issues.messages) {
  console.log(`${severities[m.severity]} ${m.code} ${m.pointer ?? ''}: ${m.message}`);
  if (m.severity === 0 || (m.severity === 1 && m.code !== 'UNUSED_OBJECT')) failed = true;
}
console.log(`${file}: ${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings`);
process.exit(failed ? 1 : 0);
