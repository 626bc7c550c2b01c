// The browser's side of the web tests: opens a served web package in
// Debian's chromium (headless, through puppeteer-core) and plays it as
// tests/web/linux-play.sh plays the Linux build, with the mouse held on one
// game pixel: at every wait, once the canvas has shown the same frame twice
// in a row SETTLE ms apart, the canvas is saved (wait-NNN.png, from
// toDataURL) and the button pressed there; the next wait is looked for once
// the frame has changed. Writes result.json: the exit code
// from data-exit-code, the waits, the text on the page, the first frame's
// time, and audio.raw, the samples the page's audio driver took (16-bit
// stereo), with how many there were at the first click.
//
//   node play.mjs URL OUT_DIR X Y [play|escape|gesture|error|isolation|missing]
//
// gesture plays as escape does in a browser that wants a click before it
// plays sound (Debian's headless chromium plays at once): the page's audio
// context stays suspended until the page resumes it.
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";

// The packages of the lockfile, installed into the build folder.
const require = createRequire(process.env.WEB_NODE_DIR + "/node_modules/");
const puppeteer = require("puppeteer-core");

const [url, out, x, y, mode = "play"] = process.argv.slice(2);
const settleMs = Number(process.env.SETTLE || 300);
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
fs.mkdirSync(out, { recursive: true });

const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  args: ["--no-sandbox", "--mute-audio", "--window-size=1024,768"],
});
const result = { mode, waits: 0, log: [] };
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  page.on("console", message => result.log.push(message.text()));
  page.on("pageerror", error => result.log.push("page error: " + error.message));
  if (mode === "gesture") {
    await page.evaluateOnNewDocument(() => {
      const Real = AudioContext;
      window.AudioContext = class extends Real {
        constructor(options) { super(options); this.held = true; super.suspend(); }
        get state() { return this.held ? "suspended" : super.state; }
        resume() { this.held = false; return super.resume(); }
      };
    });
  }
  const opened = Date.now();
  await page.goto(url);
  // Every sample the driver gives the page, from the first.
  await page.evaluate(() => { Module.velmoraAudio.capture = []; });
  if (mode === "isolation") {
    await page.waitForSelector("body[data-isolation=missing]", { timeout: 20000 });
  } else if (mode === "missing") {
    // The runtime starts while the files download: a file that never comes
    // must still be named on the page, and the game must not start.
    await page.waitForFunction(() => document.getElementById("error").textContent !== "",
                               { timeout: 60000 });
    result.started = await page.evaluate(() => Module.velmoraFirstFrame !== null);
  } else {
    await play(page, opened);
  }
  result.notice = await page.$eval("#notice", n => (n.hidden ? "" : n.innerText));
} finally {
  await browser.close();
}
fs.writeFileSync(path.join(out, "result.json"), JSON.stringify(result, null, 2));
console.log(JSON.stringify({ ...result, log: undefined }));

async function play(page, opened) {
  // "Click to start" where the browser wants a gesture before it plays sound.
  await page.waitForFunction(() => document.querySelector("#notice.start") ||
                             (window.Module && Module.velmoraFirstFrame !== null),
                             { timeout: 60000 });
  if (await page.$("#notice.start")) {
    result.askedForClick = await page.$eval("#message", m => m.textContent);
    result.startedBeforeClick = await page.evaluate(() => Module.velmoraFirstFrame !== null);
    await page.click("#notice");
  }
  const canvas = await page.$("#screen");
  await page.waitForFunction(() => Module.velmoraFirstFrame !== null ||
                             document.getElementById("screen").dataset.exitCode !== undefined,
                             { timeout: 60000 });
  result.firstFrameMs = await page.evaluate(() => Module.velmoraFirstFrame);
  result.firstFrameWallMs = Date.now() - opened;
  // Game pixels to the page's, through the canvas's CSS scaling.
  const box = await canvas.boundingBox();
  const scale = box.width / (await page.$eval("#screen", c => c.width));
  const mouse = [box.x + (Number(x) + 0.5) * scale, box.y + (Number(y) + 0.5) * scale];
  await page.mouse.move(...mouse);
  const ended = () => page.$eval("#screen", c => c.dataset.exitCode);
  const lastSavedCopy = () => lastSaved;
  const frame = () => page.evaluate(lastSaved => {
    const c = document.getElementById("screen");
    const pixels = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let hash = 2166136261, sum = 0;
    for (let i = 0; i < pixels.length; i += 4) {
      hash = Math.imul(hash ^ pixels[i] ^ (pixels[i + 1] << 8) ^ (pixels[i + 2] << 16), 16777619);
      sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    }
    // A black screen but for the cursor: the game still loading.
    return sum / (pixels.length / 4 * 3 * 255) < 0.01 && lastSaved === null ? "loading" : hash;
  }, lastSavedCopy());
  const click = async () => {
    await page.mouse.down();
    await new Promise(done => setTimeout(done, 150));
    await page.mouse.up();
  };
  let lastSaved = null;
  const deadline = Date.now() + 120000;
  while ((await ended()) === undefined && Date.now() < deadline) {
    const before = await frame();
    await new Promise(done => setTimeout(done, settleMs));
    if ((await ended()) !== undefined) break;
    if ((await frame()) !== before || before === "loading") continue;
    lastSaved = before;
    const png = await page.$eval("#screen", c => c.toDataURL("image/png"));
    result.waits += 1;
    fs.writeFileSync(path.join(out, `wait-${String(result.waits).padStart(3, "0")}.png`),
                     Buffer.from(png.split(",")[1], "base64"));
    if (result.waits === 1) {
      result.firstClickSamples = await page.evaluate(() => Module.velmoraAudio.capture.length);
    }
    if (mode === "escape" || mode === "gesture") {
      await page.keyboard.press("Escape");
      break;
    }
    await click();
    // Until the click shows: a busy machine may take longer than a settling
    // to draw it, and a timed pause keeps the frame until it ends by itself.
    while ((await ended()) === undefined && Date.now() < deadline && (await frame()) === lastSaved)
      await new Promise(done => setTimeout(done, 20));
  }
  await page.waitForSelector("#screen[data-exit-code]", { timeout: 30000 });
  result.exitCode = Number(await ended());
  const samples = await page.evaluate(() => {
    const all = Int16Array.from(Module.velmoraAudio.capture);
    let text = "";
    const bytes = new Uint8Array(all.buffer);
    for (let i = 0; i < bytes.length; i += 32768) {
      text += String.fromCharCode(...bytes.subarray(i, i + 32768));
    }
    return btoa(text);
  });
  fs.writeFileSync(path.join(out, "audio.raw"), Buffer.from(samples, "base64"));
}
