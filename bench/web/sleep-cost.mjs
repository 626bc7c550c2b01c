// Measures sleep_cost (built and served by scripts/web-sleep-cost.sh) in
// Debian's chromium: for each kind of sleep, in turn and twice, the CPU of all
// the browser's processes and of the page's renderer, in % of one core, over
// SECONDS in the middle of the program's run. Measured, not asserted.
//
//   node sleep-cost.mjs URL [SECONDS]
import { createRequire } from "node:module";
import { browserCpu } from "./browser-cpu.mjs";

const require = createRequire(process.env.WEB_NODE_DIR + "/node_modules/");
const puppeteer = require("puppeteer-core");
const [url, seconds = "6"] = process.argv.slice(2);
const settle = 3;  // s before measuring: the threads are running by then

// CPU seconds of the browser's processes: all, and the renderers.
const ticks = browserPid => {
  const { total, kinds } = browserCpu(browserPid);
  return { total, renderer: kinds.renderer || 0 };
};

const pause = s => new Promise(done => setTimeout(done, s * 1000));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium", headless: true,
  args: ["--no-sandbox", "--mute-audio"],
});
const browserPid = browser.process().pid;
try {
  for (const mode of ["idle", "nanosleep", "futex", "idle", "nanosleep", "futex"]) {
    const page = await browser.newPage();
    const said = [];
    page.on("console", message => said.push(message.text()));
    const runFor = settle + Number(seconds) + 1;
    await page.goto(`${url}?mode=${mode}&seconds=${runFor}`);
    await pause(settle);
    const before = ticks(browserPid), start = Date.now();
    await pause(Number(seconds));
    const after = ticks(browserPid), elapsed = (Date.now() - start) / 1000;
    await pause(runFor - settle - Number(seconds) + 0.5);
    const share = key => ((100 * (after[key] - before[key])) / elapsed).toFixed(1) + "%";
    console.log(`${mode}: ${share("total")} of one core (renderer ${share("renderer")})` +
                (said.length ? `; ${said.join("; ")}` : ""));
    await page.close();
  }
} finally {
  await browser.close();
}
