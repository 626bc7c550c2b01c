// Hovers: a command's parameters and its sentence of the guide, a picture's
// path and size, a label's jumps, and the frame the player sees at a line,
// pixel for pixel the storyboard's.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const {
    assertSamePixels, decodePng, demo, find, hoverPicture, hoverText, makeGame, programs, root,
    scriptUri, Session, tempDir,
} = require("./support");

const kScript = [
    "' a short walk with a menu",                                     // 0
    'who = "Mira"',                                                   // 1
    'back "harbour"',                                                 // 2
    'char "mira", align=left',                                        // 3
    'say #who, "", "Good evening. Ёлка!"',                            // 4
    'char none, align=left',                                          // 5
    "delay 5",                                                        // 6
    'item "The lamp", label=lamp',                                    // 7
    'item "The pier", label=pier',                                    // 8
    "menu action=run",                                                // 9
    ":lamp",                                                          // 10
    'back "lamproom"',                                                // 11
    'say text="Up in the lamp room."',                                // 12
    "goto pier",                                                      // 13
    ":pier",                                                          // 14
    'char "tomas", align=right',                                      // 15
    'say "Tomas", "", "On the pier, #{who} waves."',                  // 16
    "game action=end",                                                // 17
].join("\n");

let dir;
let uri;
let session;
let frames;

before(async () => {
    dir = makeGame({ script: kScript,
        pictures: { harbour: "harbour", mira: "mira", lamproom: "lamproom", tomas: "tomas" } });
    uri = scriptUri(dir);
    frames = storyboardFrames(dir);
    session = await Session.start({ rootDir: dir });
    assert.deepEqual(await session.open(uri, kScript), []);
});

after(async () => {
    await session.close();
});

// The storyboard of the game: the first frame drawn at each script line (1-based).
function storyboardFrames(game) {
    const out = tempDir();
    const run = spawnSync(programs.storyboard, ["--out", out, game], { timeout: 120000 });
    assert.equal(run.status, 0, `velmora-storyboard: ${run.stdout}${run.stderr}`);
    const index = fs.readFileSync(path.join(out, "index.html"), "utf8");
    const first = new Map();
    for (const m of index.matchAll(/<div class="where">(\d+): line (\d+)<\/div>/g)) {
        const [number, line] = [Number(m[1]), Number(m[2])];
        if (!first.has(line)) first.set(line, path.join(out, `frame-${String(number).padStart(5, "0")}.png`));
    }
    return first;
}

const hover = (line, character) => session.request("textDocument/hover", session.at(uri, line, character));
// The frame's hover is asked at the line's end, away from the command's name.
const lineEnd = (text, line) => text.split("\n")[line].length - 1;

test("the frame at a say, delay or menu line is the storyboard's, pixel for pixel", async () => {
    const read = (line) => fs.readFileSync(frames.get(line));
    assert.notDeepEqual(decodePng(read(5)).data, decodePng(read(7)).data, "the frames differ");
    for (const line of [4, 6, 9, 12, 16]) {
        assert.ok(frames.has(line + 1), `the storyboard draws line ${line + 1}`);
        const expected = decodePng(fs.readFileSync(frames.get(line + 1)));
        assertSamePixels(hoverPicture(await hover(line, lineEnd(kScript, line))), expected,
            `line ${line + 1}`);
    }
    // Kept per version of the script: asked again, the same frame.
    const again = hoverPicture(await hover(16, lineEnd(kScript, 16)));
    assertSamePixels(again, decodePng(fs.readFileSync(frames.get(17))), "line 17 again");
});

test("after an edit, the frame is drawn from the new text", async () => {
    const edited = kScript.replace("On the pier, #{who} waves.", "The pier is empty now.");
    await session.change(uri, [{ text: edited }]);
    const editedDir = makeGame({ script: edited,
        pictures: { harbour: "harbour", mira: "mira", lamproom: "lamproom", tomas: "tomas" } });
    const expected = decodePng(fs.readFileSync(storyboardFrames(editedDir).get(17)));
    assertSamePixels(hoverPicture(await hover(16, lineEnd(edited, 16))), expected,
        "line 17 after the edit");
    await session.change(uri, [{ text: kScript }]);
});

test("a command's hover: its parameters in order and a sentence of the writer's guide", async () => {
    const guide = fs.readFileSync(path.join(root, "docs/scenario.md"), "utf8").replace(/\s+/g, " ");
    for (const [line, params] of [[4, ["name", "sound", "text"]], [2, ["name", "clear"]],
        [3, ["name", "align"]], [7, ["text", "label"]], [17, ["action"]], [6, ["value"]]]) {
        const text = hoverText(await hover(line, 1));
        const places = params.map((p) => text.search(new RegExp(`\\b${p}\\b`)));
        assert.ok(places.every((p, i) => p >= 0 && (i === 0 || p > places[i - 1])),
            `line ${line}: ${params} in order in:\n${text}`);
        const sentences = text.split(/\n+/).flatMap((l) => l.split(/(?<=[.!?])\s+/))
            .map((s) => s.replace(/\s+/g, " ").trim()).filter((s) => s.length >= 20 && !s.startsWith("!["));
        assert.ok(sentences.some((s) => guide.includes(s)),
            `line ${line}: no sentence of the guide in:\n${text}`);
    }
});

test("a picture's hover: its path, its size in pixels and the picture", async () => {
    const where = find(kScript, "lamproom");
    const result = await hover(where.line, where.character + 2);
    const text = hoverText(result);
    const png = decodePng(fs.readFileSync(path.join(demo, "data/gfx/lamproom.png")));
    assert.match(text, /data\/gfx\/lamproom\.png/);
    assert.match(text, new RegExp(`\\b${png.width}\\s*(?:x|×|by)\\s*${png.height}\\b`));
    assertSamePixels(hoverPicture(result), png, "the picture");
});

test("a label's hover: how many places jump to it", async () => {
    assert.match(hoverText(await hover(14, 2)), /\b2\b/, "pier: the item and the goto");
    assert.match(hoverText(await hover(10, 2)), /\b1\b/, "lamp: the item");
    assert.doesNotMatch(hoverText(await hover(10, 2)), /\b2\b/);
});
