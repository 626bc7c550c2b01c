// The web runtime's figures, measured (not asserted): opens a served web
// package in Debian's chromium with sound allowed from the start, and prints
// the first frame's time after the page was opened, then the CPU of all the
// browser's processes, in % of one core, while the game waits at its first
// line (the player reading), over SECONDS; last the first frame again, the
// page opened in a new tab of the running browser.
//
//   node figures.mjs URL [SECONDS]
import { createRequire } from "node:module";
import { browserCpu } from "../../bench/web/browser-cpu.mjs";

const require = createRequire(process.env.WEB_NODE_DIR + "/node_modules/");
const puppeteer = require("puppeteer-core");
const [url, seconds = "5"] = process.argv.slice(2);

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium", headless: true,
  args: ["--no-sandbox", "--mute-audio", "--autoplay-policy=no-user-gesture-required"],
});
const browserPid = browser.process().pid;
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(url);
  await page.waitForFunction(() => Module.velmoraFirstFrame !== null, { timeout: 60000 });
  const first = await page.evaluate(() => Module.velmoraFirstFrame);
  // Where the time went: the page marks the files in (downloaded, the wasm
  // compiled) and the threads ready (each has loaded the runtime).
  const marks = await page.evaluate(() => Object.fromEntries(
      performance.getEntriesByType("mark").map(mark => [mark.name, mark.startTime])));
  // The first line has settled once the canvas is still; then the reading.
  await new Promise(done => setTimeout(done, 2000));
  const before = browserCpu(browserPid), start = Date.now();
  await new Promise(done => setTimeout(done, Number(seconds) * 1000));
  const after = browserCpu(browserPid), elapsed = (Date.now() - start) / 1000;
  const share = (a, b) => ((100 * (a - (b || 0))) / elapsed).toFixed(1) + "%";
  console.log(`first frame ${first.toFixed(0)} ms after the page was opened`);
  for (const [name, what] of [["velmora-files", "files in"], ["velmora-threads", "threads ready"]]) {
    if (name in marks) console.log(`  ${what} at ${marks[name].toFixed(0)} ms`);
  }
  console.log(`CPU while reading: ${share(after.total, before.total)} of one core ` +
              `(all browser processes, ${seconds} s)`);
  for (const kind of Object.keys(after.kinds)) {
    console.log(`  ${kind}: ${share(after.kinds[kind], before.kinds[kind])}`);
  }
  // Where a run's share goes, thread by thread: the game's threads are the
  // renderer's DedicatedWorkers, the audio node the Realtime AudioWorklet.
  const busy = Object.keys(after.threads)
    .map(key => [key, after.threads[key] - (before.threads[key] || 0)])
    .filter(([, spent]) => spent > 0).sort((a, b) => b[1] - a[1]).slice(0, 8);
  console.log("  by thread: " + busy.map(([key, spent]) => `${key} ${share(spent)}`).join(", "));
  // A player's browser is running already: the page opened once more in a
  // new tab of the same browser, the first game's tab closed.
  await page.close();
  const again = await browser.newPage();
  await again.setViewport({ width: 1024, height: 768 });
  await again.goto(url);
  await again.waitForFunction(() => Module.velmoraFirstFrame !== null, { timeout: 60000 });
  const warm = await again.evaluate(() => Module.velmoraFirstFrame);
  console.log(`first frame ${warm.toFixed(0)} ms after the page was opened in the running browser`);
} finally {
  await browser.close();
}
