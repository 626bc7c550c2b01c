// The game that the editor starts, seen from outside as a player would see
// it: its window on the session's virtual display, found by its caption; its
// picture, taken with xwd as the tree grabs every game window; its processes.
"use strict";

const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const { kWait } = require("./session");

// kWindowCaption of core/GamePaths.h.
const kCaption = "Noname";

function runOn(display, program, args, input) {
    return spawnSync(program, args, { env: { ...process.env, DISPLAY: display }, input,
        maxBuffer: 64 << 20 });
}

// Asks `look` again a few times a second until it gives a value: each answer
// is a sign looked for, the interval only spares the processor.
async function until(look, what, ms = kWait) {
    const deadline = Date.now() + ms;
    for (;;) {
        const value = await look();
        if (value) return value;
        if (Date.now() > deadline) throw new Error(`${what}: not seen in ${ms} ms`);
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
}

function windowId(display) {
    const found = runOn(display, "xdotool", ["search", "--name", `^${kCaption}$`]);
    return found.status === 0 ? String(found.stdout).trim().split("\n")[0] : null;
}

function grab(display, window) {
    const shot = runOn(display, "xwd", ["-silent", "-id", window]);
    return shot.status === 0 && shot.stdout.length > 0 ? shot.stdout : null;
}

// ImageMagick's answer about one picture (an XWD file on standard input).
function measure(xwd, format) {
    const done = spawnSync("convert", ["xwd:-", "-format", format, "info:"], { input: xwd, encoding: "utf8" });
    if (done.status !== 0) throw new Error(`convert: ${done.stderr}`);
    return done.stdout.trim();
}

// The window's picture once the game has drawn it: not black, and the same in
// two shots in a row.
async function settledPicture(display, window) {
    let last = null;
    return until(() => {
        const shot = grab(display, window);
        const same = shot && last && shot.equals(last);
        last = shot;
        return same && Number(measure(shot, "%[fx:mean]")) > 0.02 ? shot : null;
    }, "a drawn frame in the game's window");
}

function savePng(xwd, file) {
    const done = spawnSync("convert", ["xwd:-", `png:${file}`], { input: xwd, encoding: "utf8" });
    if (done.status !== 0) throw new Error(`convert: ${done.stderr}`);
    return file;
}

// How many pixels of two pictures differ by more than a trace (ImageMagick's
// count of them; it answers on standard error).
function differingPixels(a, b) {
    const done = spawnSync("compare", ["-metric", "AE", "-fuzz", "2%", a, b, "null:"], { encoding: "utf8" });
    if (done.status === 2) throw new Error(`compare: ${done.stderr}`);
    return Number(done.stderr.trim().split(/\s/)[0]);
}

// The processes of `program` running in `folder`.
function processesOf(program, folder) {
    const wanted = [fs.realpathSync(program), fs.realpathSync(folder)];
    const link = (pid, name) => {
        try {
            return fs.readlinkSync(path.join("/proc", pid, name));
        } catch (_) {
            return null;  // gone meanwhile, or not ours to read
        }
    };
    return fs.readdirSync("/proc").filter((pid) => /^\d+$/.test(pid))
        .filter((pid) => link(pid, "exe") === wanted[0] && link(pid, "cwd") === wanted[1]).map(Number);
}

module.exports = { until, windowId, settledPicture, savePng, measure, differingPixels, processesOf };
