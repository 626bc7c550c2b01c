// Diagnostics: exactly velmora-check's findings for the editor's text, on the
// editor's lines, cleared when mended.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const { pathToFileURL } = require("node:url");
const fs = require("node:fs");
const {
    assertSameAsChecker, checkGame, copyDemo, find, makeGame, scriptUri, Session, tempDir,
    writeScript,
} = require("./support");

const kManyFaults = [
    "' faults of many kinds",
    'keeper = "Mira"',
    'back "room"',
    'back "missing_room"',
    'char "mira", align=top',
    'say #keeper, "no_voice", "Hello."',
    'say keeper, "", "A bare word is no name."',
    "goto nowhere",
    'say text="Never runs."',
    ":end",
    "x = 1 +",
    "delay 15 ",
    'say text="' + "A line far too long for the text box without a break. ".repeat(3) + '"',
    "if x > 1 elsewhere",
    "item \"Go\", label=end",
    "menu action=run",
    "game action=end",
].join("\n");

test("a game's diagnostics are the checker's findings, whole files named on the first line",
    async () => {
        const dir = makeGame({ script: kManyFaults, pictures: { room: "harbour", mira: "mira" },
            omit: ["data/arrow.png"] });
        const findings = checkGame(dir);
        assert.ok(findings.length >= 8, "the game has the faults the test means");
        const session = await Session.start({ rootDir: dir });
        const diagnostics = await session.open(scriptUri(dir), kManyFaults);
        assertSameAsChecker(diagnostics, findings, kManyFaults);
        assert.deepEqual(await session.close(), { code: 0, signal: null });
    });

test("the demo with the guide's seeded faults, Cyrillic lines and all", async () => {
    const { dir, text } = copyDemo();
    const faulty = text.replace('preload "pier"', 'preload "peir"')
        .replace('char "mira", align=left', 'char "mira", align=top')
        .replace("goto night", "goto nigth");
    writeScript(dir, faulty);
    const findings = checkGame(dir);
    assert.equal(findings.length, 3);
    const session = await Session.start({ rootDir: dir });
    const uri = scriptUri(dir);
    // The file on disk is the demo's own: the editor's text is what counts.
    writeScript(dir, text);
    assertSameAsChecker(await session.open(uri, faulty), findings, faulty);
    assert.deepEqual(await session.change(uri, [{ text }]), [], "mended: an empty list");
    await session.close();
});

test("incremental edits: a fault comes, moves with the lines and goes", async () => {
    const script = ['back "room"', 'say text="One."', "goto finish", ":finish", ""].join("\n");
    const dir = makeGame({ script, pictures: { room: "harbour" } });
    const uri = scriptUri(dir);
    const session = await Session.start({ rootDir: dir });
    assert.deepEqual(await session.open(uri, script), []);

    const at = find(script, "finish");
    const misspelt = await session.change(uri, [{
        range: { start: at, end: { line: at.line, character: at.character + 6 } }, text: "fnish",
    }]);
    assert.deepEqual(misspelt.map((d) => [d.range.start.line, d.severity, d.message]),
        [[2, 1, "Undefined label fnish"]]);

    const moved = await session.change(uri, [{
        range: { start: { line: 0, character: 0 }, end: { line: 0, character: 0 } },
        text: "' two new lines\n'\n",
    }]);
    assert.deepEqual(moved.map((d) => d.range.start.line), [4]);

    // Several edits in one change apply in order, each on the text before it.
    const mended = await session.change(uri, [
        { range: { start: { line: 4, character: 6 }, end: { line: 4, character: 6 } }, text: "i" },
        { range: { start: { line: 0, character: 0 }, end: { line: 2, character: 0 } }, text: "" },
    ]);
    assert.deepEqual(mended, [], "goto finish again: no fault left");
    await session.close();
});

test("positions: an editor line over 4095 characters is one line, though several to the game",
    async () => {
        const script = ["' " + "x".repeat(5000), "goto nowhere", 'say text="' + "y".repeat(4200) + '"',
            "goto elsewhere"].join("\n");
        const dir = makeGame({ script });
        const findings = checkGame(dir);
        assert.ok(findings.some((f) => f.line === 3 && /nowhere/.test(f.message)),
            "the game counts the long line twice");
        const session = await Session.start({ rootDir: dir });
        const diagnostics = await session.open(scriptUri(dir), script);
        assertSameAsChecker(diagnostics, findings, script);
        const lineOf = (word) => diagnostics.find((d) => d.message.includes(word)).range.start.line;
        assert.deepEqual([lineOf("nowhere"), lineOf("elsewhere")], [1, 3]);
        await session.close();
    });

test("Windows-1251: Cyrillic is the game's text; a character it cannot hold is a warning there",
    async () => {
        const script = [
            'back "гавань"',
            'say "Илья", "", "Добрый вечер! Ёлка и ёж."',
            'say text="Snow ☃ and a smile 😀 here, then ☃ again."',
            "goto ночь",
        ].join("\n");
        const dir = makeGame({ script: script.replace(/[☃😀]/gu, "?") });
        const findings = checkGame(dir);
        assert.ok(findings.some((f) => f.message === "Read error in data/gfx/гавань.png"));
        const session = await Session.start({ rootDir: dir });
        const diagnostics = await session.open(scriptUri(dir), script);

        const line = script.split("\n")[2];
        const unheld = [line.indexOf("☃"), line.indexOf("😀"), line.lastIndexOf("☃")];
        const warnings = diagnostics.filter((d) => d.range.start.line === 2 && d.severity === 2 &&
            unheld.includes(d.range.start.character));
        assert.deepEqual(warnings.map((d) => d.range.start.character).sort((a, b) => a - b), unheld,
            "one warning at each character, in UTF-16 columns");
        assertSameAsChecker(diagnostics.filter((d) => !warnings.includes(d)), findings, script);
        await session.close();
    });

test("a script outside a game folder is checked alone, without its files", async () => {
    const dir = tempDir();
    const file = path.join(dir, "notes.txt");
    const script = ['back "nowhere"', ": bad", 'say text="fine"'].join("\n");
    fs.writeFileSync(file, script);
    const session = await Session.start({ rootDir: dir });
    const diagnostics = await session.open(pathToFileURL(file).href, script);
    assert.deepEqual(diagnostics.map((d) => [d.range.start.line, d.severity, d.message]),
        [[1, 1, "Invalid label"]]);
    await session.close();
});

test("CR LF line ends, as Windows editors save them, keep every finding on its line", async () => {
    const script = ['back "room"', 'char "mira", align=top', "", "goto nowhere", 'say text="Hi."'].join("\r\n");
    const dir = makeGame({ script, pictures: { room: "harbour", mira: "mira" } });
    const findings = checkGame(dir);
    assert.deepEqual(findings.map((f) => f.line), [2, 4, 5], "align, the label, the line it skips");
    const session = await Session.start({ rootDir: dir });
    const diagnostics = await session.open(scriptUri(dir), script);
    assertSameAsChecker(diagnostics, findings, script);
    assert.deepEqual(diagnostics.map((d) => d.range.start.line).sort(), [1, 3, 4]);
    await session.close();
});

test("incremental edits count columns in UTF-16 units, as the protocol does", async () => {
    const script = "' a smile 😀x\n' and ☃\n";
    const dir = makeGame({ script: "' a smile ?x\n' and ?\n" });
    const uri = scriptUri(dir);
    const session = await Session.start({ rootDir: dir });
    await session.open(uri, script);
    // Before the x: after the two units of the emoji, not after three characters.
    const x = script.indexOf("x");
    const diagnostics = await session.change(uri, [{
        range: { start: { line: 0, character: x }, end: { line: 0, character: x } },
        text: "\ngoto nowhere",
    }]);
    assert.deepEqual(diagnostics.filter((d) => d.severity === 1).map((d) => [d.range.start.line, d.message]),
        [[1, "Undefined label nowherex"]]);
    assert.deepEqual(diagnostics.filter((d) => d.severity === 2).map((d) => d.range.start),
        [{ line: 0, character: x - 2 }, { line: 2, character: 6 }]);
    await session.close();
});
