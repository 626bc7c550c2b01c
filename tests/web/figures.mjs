// The web runtime's figures, measured (not asserted): opens a served web
// package in Debian's chromium with sound allowed from the start, and prints
// the first frame's time after the page was opened, then the CPU of all the
// browser's processes, in % of one core, while the game waits at its first
// line (the player reading), over SECONDS.
//
//   node figures.mjs URL [SECONDS]
import fs from "node:fs";
import { createRequire } from "node:module";

const require = createRequire(process.env.WEB_NODE_DIR + "/node_modules/");
const puppeteer = require("puppeteer-core");
const [url, seconds = "5"] = process.argv.slice(2);

// CPU seconds of the browser's processes, in all and by kind (--type=).
const ticks = () => {
  const perSecond = 100;  // USER_HZ on Linux
  let total = 0;
  const kinds = {};
  const all = new Map();
  for (const pid of fs.readdirSync("/proc").filter(name => /^\d+$/.test(name))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      all.set(Number(pid), { parent: Number(fields[1]), cpu: Number(fields[11]) + Number(fields[12]) });
    } catch {}
  }
  const inTree = pid => {
    for (let p = pid; p > 1; p = all.get(p)?.parent ?? 0) if (p === browserPid) return true;
    return false;
  };
  for (const [pid, { cpu }] of all) {
    if (!inTree(pid)) continue;
    total += cpu;
    let kind = "browser";
    try {
      const line = fs.readFileSync(`/proc/${pid}/cmdline`, "utf8");
      kind = /--type=([a-z-]+)/.exec(line)?.[1] ?? kind;
      if (kind === "utility") kind = /--utility-sub-type=([a-z.]+)/.exec(line)?.[1] ?? kind;
    } catch {}
    kinds[kind] = (kinds[kind] || 0) + cpu / perSecond;
  }
  return { total: total / perSecond, kinds };
};

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
  // The first line has settled once the canvas is still; then the reading.
  await new Promise(done => setTimeout(done, 2000));
  const before = ticks(), start = Date.now();
  await new Promise(done => setTimeout(done, Number(seconds) * 1000));
  const after = ticks(), elapsed = (Date.now() - start) / 1000;
  const share = (a, b) => ((100 * (a - (b || 0))) / elapsed).toFixed(1) + "%";
  console.log(`first frame ${first.toFixed(0)} ms after the page was opened`);
  console.log(`CPU while reading: ${share(after.total, before.total)} of one core ` +
              `(all browser processes, ${seconds} s)`);
  for (const kind of Object.keys(after.kinds)) {
    console.log(`  ${kind}: ${share(after.kinds[kind], before.kinds[kind])}`);
  }
} finally {
  await browser.close();
}
