// Labels, pictures and voices: definition, references, rename (and a refused
// one), completion and the outline.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const { find, localPath, locations, makeGame, scriptUri, Session } = require("./support");

const kScript = [
    "' where the story goes",                    // 0
    'keeper = "Mira"',                           // 1
    'back "harbour"',                            // 2
    'say #keeper, "mira_lamp", "Hello."',        // 3
    'if keeper = "Mira" lamp',                   // 4
    'item "To the lamp", label=lamp',            // 5
    'item "To the pier", label=pier',            // 6
    "menu action=run",                           // 7
    ":lamp",                                     // 8
    'char "mira", align=left',                   // 9
    'say #keeper, "", "At the lamp."',           // 10
    "goto pier",                                 // 11
    ":pier",                                     // 12
    'say text="The end of the pier."',           // 13
    "game action=end",                           // 14
].join("\n");

let dir;
let uri;
let session;

before(async () => {
    dir = makeGame({ script: kScript, pictures: { harbour: "harbour", mira: "mira", pier: "pier" },
        voices: { mira_lamp: "mira_lamp", tomas_oil: "tomas_oil" } });
    uri = scriptUri(dir);
    session = await Session.start({ rootDir: dir });
    assert.deepEqual(await session.open(uri, kScript), [], "the game has no fault");
});

after(async () => {
    assert.deepEqual(await session.close(), { code: 0, signal: null });
});

const lines = (list) => list.map((l) => l.range.start.line).sort((a, b) => a - b);

test("definition: a label's use gives its line; a picture or voice name gives its file",
    async () => {
        for (const [word, line] of [['" lamp', 8], ["label=lamp", 8], ["goto pier", 12]]) {
            const where = find(kScript, word);
            where.character += word.length - 2;
            const found = locations(await session.request("textDocument/definition",
                session.at(uri, where.line, where.character)));
            assert.deepEqual(found.map((l) => [l.uri, l.range.start.line]), [[uri, line]],
                `${word} on line ${where.line}`);
        }
        for (const [word, file] of [["harbour", "data/gfx/harbour.png"],
            ["mira\"", "data/gfx/mira.png"], ["mira_lamp", "data/mfx/voc/mira_lamp.ogg"]]) {
            const where = find(kScript, word);
            const found = locations(await session.request("textDocument/definition",
                session.at(uri, where.line, where.character + 1)));
            assert.equal(found.length, 1, word);
            assert.equal(localPath(found[0].uri), path.join(dir, file));
        }
    });

test("references: every use of a label, from its definition or a use, with the definition when asked",
    async () => {
        const refs = async (where, includeDeclaration) => lines(locations(await session.request(
            "textDocument/references", { ...session.at(uri, where.line, where.character + 1),
                context: { includeDeclaration } })));
        assert.deepEqual(await refs(find(kScript, ":lamp"), false), [4, 5]);
        assert.deepEqual(await refs(find(kScript, ":lamp"), true), [4, 5, 8]);
        assert.deepEqual(await refs({ line: 6, character: 27 }, false), [6, 11]);
        assert.deepEqual(await refs({ line: 11, character: 6 }, true), [6, 11, 12]);
    });

test("rename: a label at its definition and every use, and nothing else of that name", async () => {
    const at = { line: 11, character: 6 };
    const prepared = await session.request("textDocument/prepareRename", session.at(uri, at.line, at.character));
    const range = prepared.range || prepared;
    assert.deepEqual(range, { start: { line: 11, character: 5 }, end: { line: 11, character: 9 } });

    const edit = await session.request("textDocument/rename",
        { ...session.at(uri, at.line, at.character), newName: "quay" });
    const renamed = applyEdits(kScript, editsFor(edit, uri));
    assert.equal(renamed, kScript.replace("label=pier", "label=quay").replace("goto pier", "goto quay")
        .replace(":pier", ":quay"));
    assert.match(renamed, /To the pier/, "a string is not a label");

    // Only labels are renamed: not a command, a picture or a string.
    for (const [line, character] of [[3, 1], [2, 8], [6, 12]]) {
        const answer = await session.request("textDocument/prepareRename",
            session.at(uri, line, character)).catch((error) => error);
        assert.ok(answer === null || answer instanceof Error, `${line}:${character}: ${JSON.stringify(answer)}`);
    }
});

test("rename: a name the loader would refuse as a label is refused, saying why", async () => {
    const where = find(kScript, ":lamp");
    for (const newName of ["2nd", "_lamp", "new lamp", "lamp:", "", "lamp ", "лампа", "pier"]) {
        await assert.rejects(session.request("textDocument/rename",
            { ...session.at(uri, where.line, 2), newName }), (error) => {
            assert.ok(error.code < 0 && error.message.length > 10, `"${newName}": ${error.message}`);
            return true;
        }, `"${newName}" is refused`);
    }
});

test("completion: statements, parameters not yet given, labels, pictures, voices, symbols",
    async () => {
        const cases = [
            ["", ["back", "char", "say", "item", "menu", "delay", "game", "preload", "goto", "if"], []],
            ['char "mira", ', ["align"], ["name"]],
            ["say ", ["name", "sound", "text"], []],
            ['say text="x", ', ["name", "sound"], ["text"]],
            ["goto ", ["lamp", "pier"], ["harbour"]],
            ["if keeper = 1 ", ["lamp", "pier"], []],
            ['item "Go", label=', ["lamp", "pier"], []],
            ['back "', ["harbour", "mira", "pier"], ["harbour.png", "mira_lamp"]],
            ['char "m', ["mira"], []],
            ['preload "', ["harbour", "pier"], []],
            ['say #keeper, "', ["mira_lamp", "tomas_oil"], ["harbour"]],
            ['say #keeper, sound="', ["mira_lamp", "tomas_oil"], []],
            ['back "harbour", clear=', ["yes", "no"], []],
            ['char "mira", align=', ["left", "center", "right"], []],
            ["menu action=", ["run"], []],
            ["game action=", ["end"], []],
        ];
        for (const [line, wanted, unwanted] of cases) {
            const text = `${kScript}\n${line}`;
            await session.change(uri, [{ text }]);
            const result = await session.request("textDocument/completion",
                session.at(uri, 15, line.length));
            const labels = (Array.isArray(result) ? result : result.items).map((i) => i.label);
            for (const w of wanted) assert.ok(labels.includes(w), `after '${line}': ${w} in ${labels}`);
            for (const u of unwanted) assert.ok(!labels.includes(u), `after '${line}': not ${u}`);
        }
        await session.change(uri, [{ text: kScript }]);
    });

test("outline: the labels, each spanning its lines up to the next label", async () => {
    const symbols = await session.request("textDocument/documentSymbol", { textDocument: { uri } });
    const spans = symbols.map((s) => {
        const range = s.range || s.location.range;
        const last = range.end.character === 0 ? range.end.line - 1 : range.end.line;
        return [s.name, range.start.line, last];
    });
    assert.deepEqual(spans, [["lamp", 8, 11], ["pier", 12, 14]]);
});

function editsFor(workspaceEdit, uri) {
    if (workspaceEdit.changes) return workspaceEdit.changes[uri];
    return workspaceEdit.documentChanges.filter((c) => c.textDocument.uri === uri)
        .flatMap((c) => c.edits);
}

function applyEdits(text, edits) {
    const lines = text.split("\n");
    const offset = (p) => lines.slice(0, p.line).reduce((n, l) => n + l.length + 1, 0) + p.character;
    const sorted = [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start));
    for (const e of sorted) {
        text = text.slice(0, offset(e.range.start)) + e.newText + text.slice(offset(e.range.end));
    }
    return text;
}
