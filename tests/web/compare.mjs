// Holds a web play (tests/web/play.mjs) to the Linux build's play of the same
// game (tests/web/linux-play.sh): as many waits, every frame equal pixel for
// pixel (red, green, blue), and the audio before the first click equal within
// one step per sample once both have started sounding. Prints what it found;
// exits 1 on any difference.
//
//   node compare.mjs WEB_DIR LINUX_DIR
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";

const require = createRequire(process.env.WEB_NODE_DIR + "/node_modules/");
const { PNG } = require("pngjs");

const [webDir, linuxDir] = process.argv.slice(2);
let failed = false;
const fail = text => { console.log("DIFFERS: " + text); failed = true; };

const frames = dir => fs.readdirSync(dir).filter(f => /^wait-\d+\.png$/.test(f)).sort();
const web = frames(webDir), linux = frames(linuxDir);
if (web.length !== linux.length) fail(`${web.length} waits on the web, ${linux.length} on Linux`);
for (let i = 0; i < Math.min(web.length, linux.length); ++i) {
  const a = PNG.sync.read(fs.readFileSync(path.join(webDir, web[i])));
  const b = PNG.sync.read(fs.readFileSync(path.join(linuxDir, linux[i])));
  if (a.width !== b.width || a.height !== b.height) {
    fail(`${web[i]}: ${a.width}x${a.height} against ${b.width}x${b.height}`);
    continue;
  }
  let differing = 0;
  for (let p = 0; p < a.data.length; p += 4) {
    if (a.data[p] !== b.data[p] || a.data[p + 1] !== b.data[p + 1] || a.data[p + 2] !== b.data[p + 2]) {
      ++differing;
    }
  }
  console.log(`${web[i]}: ${differing} of ${a.width * a.height} pixels differ`);
  if (differing) fail(web[i]);
}

// 16-bit samples from the first that is not silent.
const sounding = file => {
  const bytes = fs.readFileSync(file);
  const samples = new Int16Array(bytes.buffer, bytes.byteOffset, bytes.length >> 1);
  return samples;
};
const webResult = JSON.parse(fs.readFileSync(path.join(webDir, "result.json")));
const linuxResult = Object.fromEntries(fs.readFileSync(path.join(linuxDir, "result.txt"), "utf8")
  .trim().split(" ").map(pair => pair.split("=")));
const a = sounding(path.join(webDir, "audio.raw"));
const b = sounding(path.join(linuxDir, "audio.raw"));
const start = samples => samples.findIndex(s => s !== 0);
const sa = start(a), sb = start(b);
if (sa < 0 || sb < 0) {
  fail(`no sound (web ${a.length} samples, Linux ${b.length})`);
} else {
  // The capture began at the first frame; the music may have started before.
  const aEnd = webResult.firstClickSamples ?? a.length;
  const bEnd = Number(linuxResult.first_click_bytes) / 2;
  const count = Math.min(aEnd - sa, bEnd - sb, 2 * 44100 * 2);
  let worst = 0;
  for (let i = 0; i < count; ++i) worst = Math.max(worst, Math.abs(a[sa + i] - b[sb + i]));
  console.log(`audio: ${count} samples before the first click compared, from web sample ${sa} ` +
              `and Linux sample ${sb}; largest difference ${worst}`);
  if (count < 4410) fail(`only ${count} samples to compare`);
  if (worst > 1) fail(`audio differs by up to ${worst}`);
}
if (Number(linuxResult.exit) !== webResult.exitCode) {
  fail(`exit ${webResult.exitCode} on the web, ${linuxResult.exit} on Linux`);
}
process.exit(failed ? 1 : 0);
