// What an author sees of the packaged extension in a real VS Code: the demo's
// script coloured, a fault's finding as it is typed, a hover frame, and
// completion of pictures and labels. One VS Code for the whole file; the
// cases run in order and each leaves the script as it found it.
//
// Cases of features still to come are skipped until listed as landed here
// (or in VELMORA_VSCODE_LANDED, comma-separated, to try them before).
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { spawnSync } = require("node:child_process");
const { Session, root, build, kWait } = require("./session");
const game = require("./game");

const kLanded = new Set(["colours", "findings", "hover", "completion", "play-from-here", "narrow-hover",
    "quick-fix", "story-map",
    ...(process.env.VELMORA_VSCODE_LANDED || "").split(",").filter(Boolean)]);
const pending = (feature) => (kLanded.has(feature) ? false : `${feature} has not landed`);

const kScript = "data/scenario/main.txt";
const kLanguage = "Velmora scenario";
// Lines of the demo's script, as its author reads them.
const demoLines = new TextDecoder("windows-1251")
    .decode(fs.readFileSync(path.join(root, "demo", kScript))).split(/\r?\n/);
const lineOfLabel = (name) => demoLines.findIndex((line) => line.trim() === `:${name}`) + 1;

// The game that "Play from here" starts, and the storyboard that draws what
// its first frame should be.
const kGame = process.env.VELMORA_GAME || path.join(build, "velmora");
const kStoryboard = process.env.VELMORA_STORYBOARD || path.join(build, "velmora-storyboard");

let vscode;

before(async () => {
    vscode = await Session.start({ display: true, settings: { "velmora.game.path": kGame } });
    vscode.figure("code-server install (cached), s", vscode.installSeconds);
    await vscode.open(kScript, kLanguage);
    // The lenses push the lines below them down when they come: the lines are
    // measured once they stand.
    if (!pending("play-from-here")) {
        await vscode.page.waitForFunction(() => [...document.querySelectorAll(".codelens-decoration a")]
            .some((link) => /Play from here/.test(link.textContent)));
    }
}, { timeout: 1500000 });

after(async () => {
    if (vscode) await vscode.stop();
});

const centre = (box) => ({ x: box.x + box.width / 2, y: box.y + box.height / 2 });
const overlaps = (a, b) => a.y < b.y + b.height && b.y < a.y + a.height;

// Types `text` on a new last line; returns when the editor shows it.
async function typeLastLine(text) {
    await vscode.chord(["Control"], "End");
    await vscode.page.keyboard.press("Enter");
    await vscode.page.keyboard.type(text);
    return vscode.line(text);
}

// Puts the script back as it is on disk, closing any suggestion or hover.
async function revert() {
    await vscode.page.keyboard.press("Escape");
    await vscode.command("File: Revert File");
    await vscode.page.waitForFunction(() => !document.querySelector(".tab.active.dirty"));
}

// The colours of sample tokens, once the grammar has coloured them all apart
// from each other and from plain text (colouring runs after the text shows).
function tokenColours(samples, settled = true) {
    const text = (element) => element.textContent.replace(/\u00a0/g, " ");
    const lines = [...document.querySelectorAll(".editor-instance .view-lines .view-line")];
    // mtk1: the editor's class for text no rule coloured.
    const plain = document.querySelector(".editor-instance .view-lines span.mtk1");
    if (!plain) return null;
    const colours = { plain: getComputedStyle(plain).color };
    for (const [kind, [line, token]] of Object.entries(samples)) {
        const found = lines.find((element) => text(element).startsWith(line));
        const span = found && [...found.querySelectorAll(":scope > span > span")]
            .find((element) => text(element).startsWith(token));
        if (!span) return null;
        colours[kind] = getComputedStyle(span).color;
    }
    const apart = new Set(Object.values(colours)).size === Object.keys(colours).length;
    return apart || !settled ? colours : null;
}

test("the script is coloured by its grammar: comments, commands, strings, numbers, variables apart",
    { skip: pending("colours") }, async () => {
        const samples = {
            comment: ["' Numbers and strings.", "'"],
            variable: ["lamps = 3", "lamps"],
            number: ["lamps = 3", "3"],
            command: ['preload "pier"', "preload"],
            string: ['preload "pier"', '"pier"'],
        };
        await vscode.page.waitForSelector(".view-line");
        const colours = await vscode.page.waitForFunction(tokenColours, {}, samples).then(
            (handle) => handle.jsonValue(),
            async (error) => assert.fail(`${error.message}; colours seen: ${
                JSON.stringify(await vscode.page.evaluate(tokenColours, samples, false))}`));
        await vscode.screenshot("colours");
        vscode.figure("token colours", colours);
    });

// Points at the text of the say line starting `start`; returns how long its
// frame took to show, and the hover's and the frame's boxes once loaded.
async function frameHover(start, onCommand = false) {
    const line = await vscode.line(start);
    const text = centre(line.spans[onCommand ? 0 : line.spans.length - 1].box);
    const started = Date.now();
    await vscode.hover(text.x, text.y, /The frame the player sees here/);
    const sizes = await vscode.page.waitForFunction(() => {
        const hover = [...document.querySelectorAll(".monaco-hover:not(.hidden)")]
            .find((element) => element.querySelector("img[alt='frame']"));
        const image = hover && hover.querySelector("img[alt='frame']");
        if (!image || !image.complete || image.naturalWidth === 0) return null;
        const box = (element) => element.getBoundingClientRect().toJSON();
        return { hover: box(hover), image: box(image), natural: [image.naturalWidth, image.naturalHeight] };
    });
    return { ms: Date.now() - started, ...(await sizes.jsonValue()) };
}

const size = (box) => [Math.round(box.width), Math.round(box.height)];
const inside = (inner, outer) => inner.x >= outer.x - 1 && inner.x + inner.width <= outer.x + outer.width + 1 &&
    inner.y >= outer.y - 1 && inner.y + inner.height <= outer.y + outer.height + 1;

test("the frame the player sees at a say line shows in its hover", { skip: pending("hover") }, async () => {
    // The first hover of a script version walks the whole story.
    const { ms, hover, image, natural } = await frameHover('say text="The last ferry');
    vscode.figure("hover frame shown (first of this version), ms", ms);
    vscode.figure("hover size, px", size(hover));
    vscode.figure("hover frame rendered, px", size(image));
    await vscode.screenshot("hover-frame");
    assert.deepEqual(natural, [800, 600], "the game's own frame size");
    if (!pending("narrow-hover")) {
        // Seen whole: the frame lies inside the hover, about 320 px wide, in proportion.
        assert.ok(inside(image, hover), `frame ${JSON.stringify(image)} outside hover ${JSON.stringify(hover)}`);
        assert.ok(Math.abs(image.width / image.height - 4 / 3) < 0.02);
        assert.ok(image.width <= 330, `frame ${image.width} px wide`);
    }
    await vscode.unhover();
    const again = await frameHover('say #keeper, "mira_welcome"');
    vscode.figure("hover frame shown (same version again), ms", again.ms);
    await vscode.unhover();
    // On the command word: the signature above the frame, seen whole too.
    const command = await frameHover('say #keeper, "mira_welcome"', true);
    vscode.figure("hover on the command word: hover, frame, px", [size(command.hover), size(command.image)]);
    await vscode.screenshot("hover-command-word");
    if (!pending("narrow-hover")) {
        assert.ok(inside(command.image, command.hover),
            `frame ${JSON.stringify(command.image)} outside hover ${JSON.stringify(command.hover)}`);
    }
    await vscode.unhover();
});

test("completion offers the game's pictures and labels", { skip: pending("completion") }, async () => {
    await typeLastLine('back "');
    await vscode.chord(["Control"], " ");
    const pictures = await vscode.suggestions(["harbour", "lamproom", "pier"]);
    await vscode.screenshot("completion-pictures");
    await revert();

    await typeLastLine("goto ");
    await vscode.chord(["Control"], " ");
    const labels = await vscode.suggestions(["lamp", "pier", "letter", "lighting", "bright", "night"]);
    await vscode.screenshot("completion-labels");
    await revert();
    vscode.figure("completion", { pictures, labels });
});

// The fault stays for the quick fix that follows: a slip of the pen for
// "lighting", which the fix offers to mend it.
const kFault = "goto lightning";

test("a fault typed into the script shows its finding on its line", { skip: pending("findings") }, async () => {
    await vscode.chord(["Control"], "End");
    await vscode.page.keyboard.press("Enter");
    // In one edit, as a paste: typed key by key, the server would find
    // "goto n" undefined before the whole line is there.
    await vscode.page.keyboard.sendCharacter(kFault);
    const typed = Date.now();
    // The squiggle on the fault's line, measured anew each time: the line
    // moves when lenses above it come and go.
    const squiggle = async () => {
        const line = await vscode.line(kFault);
        const found = await vscode.page.waitForFunction((top, height) => {
            const box = [...document.querySelectorAll(".squiggly-error")].map((e) => e.getBoundingClientRect())
                .find((b) => b.y < top + height && top < b.y + b.height);
            return box ? box.toJSON() : null;
        }, { polling: "mutation" }, line.box.y, line.box.height);
        return { line, box: await found.jsonValue() };
    };
    const { line, box } = await squiggle();
    vscode.figure("finding after typing, ms", Date.now() - typed);
    assert.ok(overlaps(box, line.box));
    const hover = await vscode.hover(async () => centre((await squiggle()).box), null, /lightning/);
    assert.match(hover.text, /label lightning/i);
    await vscode.screenshot("finding");
    await vscode.unhover();
});

test("a quick fix mends the undefined label", { skip: pending("quick-fix") }, async () => {
    // The cursor inside the label: the fault is the script's last line.
    await vscode.chord(["Control"], "End");
    await vscode.page.keyboard.press("ArrowLeft");
    await vscode.page.keyboard.press("ArrowLeft");
    await vscode.chord(["Control"], ".");
    const titles = await (await vscode.page.waitForFunction(() => {
        const rows = [...document.querySelectorAll(".action-widget .monaco-list-row.action")]
            .map((row) => row.textContent.trim());
        return rows.length ? rows : null;
    })).jsonValue();
    await vscode.screenshot("quick-fix");
    vscode.figure("quick fixes", titles);
    assert.ok(titles.some((title) => /create/i.test(title)), titles.join(" | "));
    // The nearest existing label, and no label unlike it.
    const index = titles.findIndex((title) => /\blighting\b/.test(title));
    assert.ok(index >= 0, titles.join(" | "));
    assert.ok(!titles.some((title) => /\b(pier|bright|letter)\b/.test(title)), titles.join(" | "));
    for (let i = 0; i < index; ++i) await vscode.page.keyboard.press("ArrowDown");
    await vscode.page.keyboard.press("Enter");
    await vscode.page.waitForFunction(() => ![...document.querySelectorAll(".view-line")]
        .some((row) => row.textContent.includes("lightning")));
    await vscode.page.waitForFunction(() => document.querySelectorAll(".squiggly-error").length === 0);
    await revert();
});

test("the story map opens beside the script and a click on a node opens its line",
    { skip: pending("story-map") }, async () => {
        const started = Date.now();
        await vscode.command("Velmora: Show Story Map");
        const map = await vscode.webviewWith("svg g.node");
        vscode.figure("story map open, ms", Date.now() - started);
        await vscode.screenshot("story-map");
        const nodes = await map.$$eval("svg g.node", (all) => all.map((node) => node.textContent));
        assert.ok(nodes.some((text) => text.includes("lighting")), nodes.join(" | "));
        // A click lands where the node stood when it was found; while the
        // panel beside the script still settles on a busy machine, it can miss
        // the node, and an author would click again, as this test does.
        const atLine = (wanted) => {
            const status = document.getElementById("status.editor.selection");
            return status && status.textContent.startsWith(`Ln ${wanted},`);
        };
        const index = nodes.findIndex((text) => text.includes("lighting"));
        const clicked = Date.now();
        let opened = false;
        while (!opened && Date.now() - clicked < kWait) {
            await (await map.$$("svg g.node"))[index].click();
            opened = await vscode.page.waitForFunction(atLine, { timeout: 10000 }, lineOfLabel("lighting"))
                .then(() => true, () => false);
        }
        assert.ok(opened, "a click on the node never opened its line");
        assert.equal((await vscode.cursor()).line, lineOfLabel("lighting"));
        // The place of the cursor's line is marked.
        await map.waitForFunction(() => {
            const marked = document.querySelector("svg g.node.marked");
            return marked && marked.textContent.includes("lighting");
        });

        // The map follows the edits: a label typed at the end joins it, marked
        // as the cursor stands in it, and leaves it when the edit is undone.
        await typeLastLine(":coda");
        await map.waitForFunction(() => {
            const marked = document.querySelector("svg g.node.marked");
            return marked && /\bcoda\b/.test(marked.textContent);
        });
        await vscode.screenshot("story-map-edited");
        await revert();
        await map.waitForFunction(() => ![...document.querySelectorAll("svg g.node")]
            .some((node) => /\bcoda\b/.test(node.textContent)));
    });

// The lenses stand over the lines where a player waits: the first say after :lamp.
const lineOfFirstSayAfter = (name) =>
    lineOfLabel(name) + demoLines.slice(lineOfLabel(name)).findIndex((line) => /^\s*say\b/.test(line)) + 1;

// What velmora-storyboard draws at the start of a label: the frame the game
// should show when started at the first say after it.
function storyboardFrame(label) {
    const out = path.join(vscode.dirs.run, "storyboard");
    spawnSync(kStoryboard, ["--out", out, path.join(root, "demo")], { encoding: "utf8" });
    const map = JSON.parse(fs.readFileSync(path.join(out, "story-map.json"), "utf8"));
    return path.join(out, map.nodes.find((node) => node.name === label).frames[0]);
}

// The lens standing right above the given line's box.
async function lensAbove(lineBox) {
    const handle = await vscode.page.waitForFunction((top) => {
        const lenses = [...document.querySelectorAll(".codelens-decoration a")]
            .filter((link) => /Play from here/.test(link.textContent))
            .map((link) => link.getBoundingClientRect().toJSON())
            .filter((box) => box.y + box.height <= top + 1 && box.y + box.height > top - 30);
        return lenses.length ? lenses[0] : null;
    }, {}, lineBox.y);
    return handle.jsonValue();
}

test("a say line's lens plays the game from there, until the editor closes",
    { skip: pending("play-from-here") }, async () => {
        const lineNumber = lineOfFirstSayAfter("lamp");
        await vscode.chord(["Control"], "Home");
        await vscode.chord(["Control"], "g");
        await vscode.page.keyboard.type(String(lineNumber));
        await vscode.page.keyboard.press("Enter");
        await vscode.screenshot("play-from-here");
        // A lens clicked just as the editor replaces the lenses of an edit
        // runs nothing (the extension host has let its command go: "Actual
        // command not found"); an author clicks again, and so does this test.
        const clicked = Date.now();
        let clicks = 0;
        const started = () => game.processesOf(kGame, vscode.dirs.workspace).length > 0;
        while (!started()) {
            const lens = await lensAbove((await vscode.line(demoLines[lineNumber - 1])).box);
            await vscode.page.mouse.click(lens.x + 4, centre(lens).y);
            clicks += 1;
            await game.until(started, "the game's start", 20000).catch(() => {
                if (Date.now() - clicked > kWait) throw new Error(`no game after ${clicks} clicks`);
            });
        }
        vscode.figure("play from here: lens clicks", clicks);
        const window = await game.until(() => game.windowId(vscode.display), "the game's window");
        const picture = await game.settledPicture(vscode.display, window);
        vscode.figure("play from here: click to a drawn frame, ms", Date.now() - clicked);
        const shot = game.savePng(picture, path.join(vscode.dirs.shots, "play-from-here-game.png"));
        const [width, height] = game.measure(picture, "%w %h").split(" ").map(Number);
        vscode.figure("game window, px", [width, height]);
        // The frame the storyboard draws for that line, the mouse pointer aside.
        const differing = game.differingPixels(shot, storyboardFrame("lamp"));
        vscode.figure("game window against the storyboard's frame: pixels apart", differing);
        assert.deepEqual([width, height], [800, 600]);
        assert.ok(differing < width * height / 100, `${differing} pixels unlike the storyboard's frame`);

        const running = game.processesOf(kGame, vscode.dirs.workspace);
        assert.equal(running.length, 1, `games running: ${running.join(" ")}`);
        const args = fs.readFileSync(`/proc/${running[0]}/cmdline`, "utf8").split("\0").slice(1, -1);
        assert.deepEqual(args, ["--from", String(lineNumber), "--watch"]);
        // The editor's window closes: its extension ends the game.
        const closed = Date.now();
        await vscode.page.close();
        await game.until(() => game.processesOf(kGame, vscode.dirs.workspace).length === 0,
            "the game's end after the editor closed");
        vscode.figure("game ended after the editor closed, ms", Date.now() - closed);
    });
