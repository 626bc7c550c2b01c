// "Play from here": a lens over every line where a player waits, carrying the
// game's folder and the game's line, and velmora/playFrom, which maps the
// editor's line to the game's as findings are mapped and refuses a line the
// story never reaches with the game's own words.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { copyDemo, makeGame, scriptUri, Session } = require("./support");

let session;

before(async () => {
    session = await Session.start();
});

after(async () => {
    await session.close();
});

function lensLines(lenses) {
    return lenses.map((lens) => lens.range.start.line);
}

function waitLines(text) {
    const lines = [];
    text.split("\n").forEach((line, i) => {
        if (/^\s*(say|menu|delay)\b/.test(line)) lines.push(i);
    });
    return lines;
}

test("the demo: a lens over each say, menu and delay line, with the game's folder and line", async () => {
    assert.ok(session.capabilities.capabilities.codeLensProvider, "no codeLensProvider");
    const { dir, text } = copyDemo();
    const uri = scriptUri(dir);
    await session.open(uri, text);
    const lenses = await session.request("textDocument/codeLens", { textDocument: { uri } });
    assert.deepEqual(lensLines(lenses), waitLines(text));
    for (const lens of lenses) {
        assert.equal(lens.command.title, "Play from here");
        assert.equal(lens.command.command, "velmora.playFrom");
        const line = lens.range.start.line;
        assert.deepEqual(lens.command.arguments, [{ uri, gameFolder: dir, line: line + 1, editorLine: line }]);
    }
    const menu = text.split("\n").findIndex((l) => l.startsWith("menu"));
    assert.deepEqual(await session.request("velmora/playFrom", session.at(uri, menu, 0)),
        { gameFolder: dir, line: menu + 1 });
});

const kScript = [
    'say text="One."',         // 0
    "goto away",               // 1
    'say text="Never said."',  // 2
    ":away",                   // 3
    "delay 5",                 // 4
    "game action=end",         // 5
].join("\n");

test("after edits the game's line follows the text, LF CR one line end to the game", async () => {
    const dir = makeGame({ script: kScript });
    const uri = scriptUri(dir);
    await session.open(uri, kScript);
    // A comment above, ended by LF CR: two line ends to the editor, one to the game.
    await session.change(uri, [{ range: { start: { line: 0, character: 0 }, end: { line: 0, character: 0 } },
        text: "' a note\n\r" }]);
    const lenses = await session.request("textDocument/codeLens", { textDocument: { uri } });
    assert.deepEqual(lenses.map((l) => [l.range.start.line, l.command.arguments[0].line]),
        [[2, 2], [4, 4], [6, 6]]);
    assert.deepEqual(await session.request("velmora/playFrom", session.at(uri, 6, 3)),
        { gameFolder: dir, line: 6 });
    // A label starts at its next wait: the game is given the label's line.
    assert.deepEqual(await session.request("velmora/playFrom", session.at(uri, 5, 0)),
        { gameFolder: dir, line: 5 });
});

test("a line the story never reaches is refused in the game's words, from the editor's text", async () => {
    const dir = makeGame({ script: kScript });
    const uri = scriptUri(dir);
    await session.open(uri, kScript);
    await assert.rejects(session.request("velmora/playFrom", session.at(uri, 2, 0)), (error) => {
        assert.equal(error.message, "velmora: line 3 of data/scenario/main.txt is never reached: " +
            "no path through the story's choices comes to it");
        return true;
    });
    // Unsaved, the jump taken out: the same line is now reached.
    await session.change(uri, [{ range: { start: { line: 1, character: 0 }, end: { line: 2, character: 0 } },
        text: "" }]);
    assert.deepEqual(await session.request("velmora/playFrom", session.at(uri, 1, 0)),
        { gameFolder: dir, line: 2 });
    await assert.rejects(session.request("velmora/playFrom", session.at(uri, 4, 0)),
        /velmora: the story never waits at or after line 5 of data\/scenario\/main.txt: it ends first/);
});

test("a script of no game has no lenses and cannot be played", async () => {
    const uri = "untitled:Untitled-1";
    await session.open(uri, kScript);
    assert.deepEqual(await session.request("textDocument/codeLens", { textDocument: { uri } }), []);
    await assert.rejects(session.request("velmora/playFrom", session.at(uri, 0, 0)), /is no game's/);
});
