// The story map in the editor: velmora/storyMap answers for the editor's text
// with the map velmora-storyboard draws, places on their editor lines, and
// follows edits; the extension's panel marks the place at the cursor and
// opens a place's line.
"use strict";

const { before, after } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const { copyDemo, makeGame, programs, root, scriptUri, Session, tempDir, test, wineRun } =
    require("./support");
const { nodeAtLine, showStoryMap, kRequest } = require(path.join(root, "editors/vscode/storyMap.js"));

let demoGame;
let session;

before(async () => {
    demoGame = copyDemo();
    session = await Session.start({ rootDir: demoGame.dir });
    await session.open(scriptUri(demoGame.dir), demoGame.text);
});

after(async () => {
    await session.close();
});

// velmora-storyboard --map-only's story-map.json for a game folder.
function toolMap(dir) {
    const out = tempDir();
    const run = spawnSync(programs.storyboard, ["--map-only", "--out", out, dir], { timeout: 120000 });
    assert.equal(run.status, 0, `velmora-storyboard: ${run.stdout}${run.stderr}`);
    return JSON.parse(fs.readFileSync(path.join(out, "story-map.json"), "utf8"));
}

const placeOf = (n) => `${n.id} ${n.kind} ${n.name} ${n.line} ${n.reached}`;
const wayOf = (e) => `${e.from} -${e.kind}-> ${e.to} ${e.text}`;

test("the demo's map is the storyboard's, each place on its editor line", async () => {
    const map = await session.request(kRequest, { textDocument: { uri: scriptUri(demoGame.dir) } });
    const tool = toolMap(demoGame.dir);
    assert.deepEqual(map.nodes.map(placeOf), tool.nodes.map(placeOf));
    assert.deepEqual(map.edges.map(wayOf), tool.edges.map(wayOf));
    for (const node of map.nodes) assert.equal(node.editorLine, node.line - 1, node.id);
    assert.ok(map.svg.startsWith("<svg"), map.svg.slice(0, 80));
    assert.ok(map.svg.includes('id="label:lamp"'));
    assert.ok(map.nodes.find((n) => n.id === "label:lamp").frames.length > 0);
});

test("the map follows the editor's unsaved text, Russian choices in UTF-8", async () => {
    const script = ['say text="Кто там?"', 'item "Да", label=yes', 'item "Нет", label=no',
        "menu action=run", ":yes", "game action=end", ":no", 'say text="Нет."', ":later",
        'say text="never"'].join("\n");
    const dir = makeGame({ script: 'say text="saved"\n' });
    const uri = scriptUri(dir);
    await session.open(uri, 'say text="saved"\n');
    let map = await session.request(kRequest, { textDocument: { uri } });
    assert.deepEqual(map.edges.map(wayOf), ["start -flow-> end null"]);
    await session.change(uri, [{ text: script }]);
    map = await session.request(kRequest, { textDocument: { uri } });
    assert.deepEqual(map.edges.map(wayOf), [
        "start -flow-> menu:4 null", "menu:4 -choice-> label:yes Да", "label:yes -flow-> end:6 null",
        "menu:4 -choice-> label:no Нет", "label:no -flow-> label:later null", "label:later -flow-> end null",
    ]);
    assert.equal(map.nodes.find((n) => n.id === "menu:4").editorLine, 3);
    await session.change(uri, [{ range: { start: { line: 6, character: 0 }, end: { line: 6, character: 3 } },
        text: ":nope" }]);
    map = await session.request(kRequest, { textDocument: { uri } });
    const later = map.nodes.find((n) => n.id === "label:nope");
    assert.equal(later.reached, false);
    assert.match(later.note, /never reached/);
});

test("a build without the map says so", { skip: !wineRun && "the Linux build draws the map" }, async () => {
    await assert.rejects(session.request(kRequest, { textDocument: { uri: scriptUri(demoGame.dir) } }),
        /draws no story map/);
});

test("a script of no game has no map", async () => {
    const uri = scriptUri(tempDir()).replace("data/scenario/main.txt", "alone.txt");
    await session.open(uri, 'say text="alone"\n');
    assert.equal(await session.request(kRequest, { textDocument: { uri } }), null);
});

test("the place at a line: the one on it, else the label above", () => {
    const nodes = [
        { id: "start", kind: "start", editorLine: 0 }, { id: "menu:4", kind: "menu", editorLine: 3 },
        { id: "label:yes", kind: "label", editorLine: 4 }, { id: "end:6", kind: "end", editorLine: 5 },
        { id: "label:no", kind: "label", editorLine: 6 },
    ];
    assert.deepEqual([0, 2, 3, 4, 5, 6, 9].map((line) => nodeAtLine(nodes, line).id),
        ["start", "start", "menu:4", "label:yes", "end:6", "label:no", "label:no"]);
    assert.equal(nodeAtLine([], 3), null);
});

// The command's panel with stand-ins for VS Code's window and webview, and the
// real server behind the client.
test("the panel marks the place at the cursor and opens a place's line", async () => {
    const uri = scriptUri(demoGame.dir);
    const posted = [];
    const handlers = {};
    const document = { uri: { toString: () => uri }, languageId: "velmora" };
    const editor = { document, viewColumn: 1, selection: { active: { line: 0 } }, revealed: null,
        revealRange(range) { this.revealed = range; } };
    const on = (name) => (listener) => { handlers[name] = listener; return { dispose() {} }; };
    const vscode = {
        ViewColumn: { Beside: -2 },
        TextEditorRevealType: { InCenterIfOutsideViewport: 2 },
        Position: class { constructor(line, character) { Object.assign(this, { line, character }); } },
        Range: class { constructor(start, end) { Object.assign(this, { start, end }); } },
        Selection: class { constructor(anchor, active) { Object.assign(this, { anchor, active }); } },
        workspace: { onDidChangeTextDocument: on("change") },
        window: {
            activeTextEditor: editor, visibleTextEditors: [editor],
            onDidChangeTextEditorSelection: on("selection"),
            showTextDocument: async () => editor,
            showErrorMessage: (message) => assert.fail(message),
            createWebviewPanel: (type, title, column) => {
                assert.equal(column.viewColumn, -2, "beside the script");
                return {
                    webview: { cspSource: "vscode-resource:", html: "", onDidReceiveMessage: on("message"),
                        postMessage: (message) => posted.push(message) },
                    onDidDispose: on("dispose"),
                };
            },
        },
    };
    const client = { sendRequest: (method, params) => session.request(method, params) };
    const panel = showStoryMap(vscode, client);
    await handlers.message({ type: "ready" });
    assert.ok(posted.find((m) => m.type === "map").svg.startsWith("<svg"));
    const lamp = panel.map.nodes.find((n) => n.id === "label:lamp");
    handlers.selection({ textEditor: editor, selections: [{ active: { line: lamp.editorLine + 1 } }] });
    assert.deepEqual(posted.at(-1), { type: "mark", id: "label:lamp" });
    await handlers.message({ type: "open", id: "menu:38" });
    assert.equal(editor.selection.active.line, 37);
    assert.equal(editor.revealed.start.line, 37);
    handlers.dispose();
});
