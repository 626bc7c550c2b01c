// The VS Code extension as it ships: scripts/vsix.sh's package holds the
// manifest, the grammar and the client with its library, and its client
// starts the server the setting names.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const Module = require("node:module");
const path = require("node:path");

const root = path.resolve(__dirname, "../../..");
const build = process.env.VELMORA_BUILD || path.join(root, "build");
const version = /kVelmoraVersion\[\] = "(.*)";/.exec(fs.readFileSync(path.join(root, "core/Version.h"), "utf8"))[1];

let unpacked;

function unpack() {
    if (unpacked) return unpacked;
    const made = spawnSync(path.join(root, "scripts/vsix.sh"), [build], { encoding: "utf8", timeout: 500000 });
    assert.equal(made.status, 0, made.stderr);
    // The package's path and nothing else: callers take it from there.
    const vsix = path.join(build, `velmora-${version}.vsix`);
    assert.equal(made.stdout, `${vsix}\n`);
    unpacked = fs.mkdtempSync(path.join(require("node:os").tmpdir(), "velmora-vsix-"));
    process.on("exit", () => fs.rmSync(unpacked, { recursive: true, force: true }));
    const unzip = spawnSync("unzip", ["-q", vsix, "-d", unpacked], { encoding: "utf8" });
    assert.equal(unzip.status, 0, unzip.stderr);
    return unpacked;
}

test("the package: the language for the game's script, its encoding, grammar and server setting", () => {
    const extension = path.join(unpack(), "extension");
    const manifest = JSON.parse(fs.readFileSync(path.join(extension, "package.json"), "utf8"));
    assert.equal(manifest.version, version, "the version of every Velmora program");
    const [language] = manifest.contributes.languages;
    assert.deepEqual([language.id, language.filenamePatterns], ["velmora", ["**/data/scenario/main.txt"]]);
    const comments = JSON.parse(fs.readFileSync(path.join(extension, language.configuration), "utf8")).comments;
    assert.equal(comments.lineComment, "'");
    assert.deepEqual(manifest.contributes.configurationDefaults, { "[velmora]": { "files.encoding": "windows1251" } });
    assert.equal(manifest.contributes.configuration.properties["velmora.server.path"].default, "velmora-lsp");
    const [grammar] = manifest.contributes.grammars;
    assert.equal(JSON.parse(fs.readFileSync(path.join(extension, grammar.path), "utf8")).scopeName,
        grammar.scopeName);
    const client = JSON.parse(fs.readFileSync(
        path.join(extension, "node_modules/vscode-languageclient/package.json"), "utf8"));
    assert.equal(client.version, manifest.dependencies["vscode-languageclient"]);
    assert.ok(!fs.existsSync(path.join(extension, "node_modules/@vscode/vsce")), "no packager inside");
    assert.deepEqual(manifest.contributes.commands.map((c) => `${c.category}: ${c.title}`),
        ["Velmora: Show Story Map", "Velmora: Play from Cursor"]);
    assert.ok(fs.existsSync(path.join(extension, "storyMap.js")), "the story map's panel");
});

// The packaged extension.js, loaded with stand-ins for VS Code and the client.
// The server's answer to velmora/playFrom is answers(params).
function loadExtension(settings, answers = () => null) {
    const started = [];
    const shown = [];
    const listeners = [];
    const commands = new Map();
    const vscode = {
        commands: { registerCommand: (name, run) => { commands.set(name, run); return { dispose() {} }; } },
        workspace: {
            getConfiguration: (section) => ({ get: (key) => settings[`${section}.${key}`] }),
            onDidChangeConfiguration: (listener) => { listeners.push(listener); return { dispose() {} }; },
            textDocuments: [],
        },
        window: { showErrorMessage: (message) => shown.push(message) },
    };
    class LanguageClient {
        constructor(id, name, serverOptions, clientOptions) {
            Object.assign(this, { id, serverOptions, clientOptions, stopped: false });
        }
        async start() {
            started.push(this);
            if (this.serverOptions.command === "/no/such/server") throw new Error("ENOENT");
        }
        async stop() { this.stopped = true; }
        async sendRequest(method, params) {
            assert.equal(method, "velmora/playFrom");
            return answers(params);
        }
    }
    const resolve = Module._load;
    Module._load = function load(request, ...rest) {
        if (request === "vscode") return vscode;
        if (request === "vscode-languageclient/node") return { LanguageClient };
        return resolve.call(this, request, ...rest);
    };
    const file = path.join(unpack(), "extension/extension.js");
    delete require.cache[file];
    try {
        return { extension: require(file), started, shown, listeners, commands };
    } finally {
        Module._load = resolve;
    }
}

test("the client starts the server the setting names, velmora-lsp by default, and restarts it",
    async () => {
        const settings = {};
        const { extension, started, shown, listeners, commands } = loadExtension(settings);
        await extension.activate({ subscriptions: [] });
        assert.deepEqual([...commands.keys()],
            ["velmora.showStoryMap", "velmora.playFrom", "velmora.playFromCursor"]);
        assert.deepEqual(started.map((c) => c.serverOptions.command), ["velmora-lsp"]);
        assert.deepEqual(started[0].clientOptions.documentSelector, [{ language: "velmora" }]);

        settings["velmora.server.path"] = "/no/such/server";
        await listeners[0]({ affectsConfiguration: (key) => key === "velmora.server.path" });
        assert.ok(started[0].stopped, "the old server is stopped");
        assert.deepEqual(started.map((c) => c.serverOptions.command), ["velmora-lsp", "/no/such/server"]);
        assert.equal(shown.length, 1);
        assert.match(shown[0], /\/no\/such\/server.*velmora\.server\.path/);

        await listeners[0]({ affectsConfiguration: () => false });
        assert.equal(started.length, 2, "other settings leave the server alone");
        await extension.deactivate();
    });

// Waits for a sign (a line in a file, a message shown), looking again each time
// the event loop turns over.
async function until(what, ready) {
    const deadline = Date.now() + 60000;
    while (!ready()) {
        assert.ok(Date.now() < deadline, `no sign of ${what}`);
        await new Promise((resolve) => setImmediate(resolve));
    }
}

function alive(pid) {
    try {
        process.kill(pid, 0);
        return true;
    } catch (_) {
        return false;
    }
}

test("play from here: the game the setting names starts at the server's line, one at a time", async () => {
    const dir = fs.mkdtempSync(path.join(require("node:os").tmpdir(), "velmora-preview-"));
    process.on("exit", () => fs.rmSync(dir, { recursive: true, force: true }));
    const started = path.join(dir, "started");
    const game = path.join(dir, "game.sh");
    fs.writeFileSync(game, "#!/bin/sh\n" +
        'if [ "$2" = 99 ]; then echo "velmora: line 99 is past the end" >&2; exit 2; fi\n' +
        `echo "$$ $PWD $*" >> ${started}\nexec sleep 60\n`, { mode: 0o755 });
    const games = () => (fs.existsSync(started) ? fs.readFileSync(started, "utf8").trim().split("\n") : []);
    const settings = { "velmora.game.path": game };
    const { extension, shown, commands } = loadExtension(settings, ({ position }) => {
        if (position.line === 13) throw new Error("velmora: line 13 of data/scenario/main.txt is never reached");
        return { gameFolder: dir, line: position.line === 98 ? 99 : position.line + 1 };
    });
    await extension.activate({ subscriptions: [] });

    await commands.get("velmora.playFrom")({ uri: "file:///game/data/scenario/main.txt", editorLine: 4 });
    await until("the first game", () => games().length === 1);
    const [first, folder, ...args] = games()[0].split(" ");
    assert.deepEqual([folder, args], [dir, ["--from", "5", "--watch"]]);

    await commands.get("velmora.playFrom")({ uri: "file:///game/data/scenario/main.txt", editorLine: 9 });
    assert.ok(!alive(Number(first)), "the first game ended before the second started");
    await until("the second game", () => games().length === 2);
    const second = Number(games()[1].split(" ")[0]);
    assert.match(games()[1], / --from 10 --watch$/);

    await commands.get("velmora.playFrom")({ uri: "file:///game/data/scenario/main.txt", editorLine: 13 });
    assert.deepEqual(shown, ["velmora: line 13 of data/scenario/main.txt is never reached"]);
    assert.ok(alive(second), "a refused line leaves the running game alone");

    await commands.get("velmora.playFrom")({ uri: "file:///game/data/scenario/main.txt", editorLine: 98 });
    await until("the game's refusal", () => shown.length === 2);
    assert.equal(shown[1], "velmora: line 99 is past the end");
    assert.ok(!alive(second), "a new start replaces the running game");

    await commands.get("velmora.playFrom")({ uri: "file:///game/data/scenario/main.txt", editorLine: 0 });
    await until("the third game", () => games().length === 3);
    await extension.deactivate();
    assert.ok(!alive(Number(games()[2].split(" ")[0])), "closing the editor ends the game");
});

test("the game program: the setting, else velmora on the PATH, else beside the server", () => {
    const { gameProgram } = require(path.join(unpack(), "extension/preview.js"));
    const dir = fs.mkdtempSync(path.join(require("node:os").tmpdir(), "velmora-path-"));
    process.on("exit", () => fs.rmSync(dir, { recursive: true, force: true }));
    fs.mkdirSync(path.join(dir, "bin"));
    fs.mkdirSync(path.join(dir, "tools"));
    fs.writeFileSync(path.join(dir, "tools/velmora-lsp"), "", { mode: 0o755 });
    const saved = process.env.PATH;
    try {
        process.env.PATH = [path.join(dir, "bin"), path.join(dir, "tools")].join(path.delimiter);
        assert.equal(gameProgram(" /opt/game/velmora ", "velmora-lsp"), "/opt/game/velmora");
        assert.equal(gameProgram("", "velmora-lsp"), path.join(dir, "tools/velmora"));
        assert.equal(gameProgram(undefined, "/elsewhere/velmora-lsp"), "/elsewhere/velmora");
        fs.writeFileSync(path.join(dir, "bin/velmora"), "", { mode: 0o644 });
        assert.equal(gameProgram("", "velmora-lsp"), path.join(dir, "tools/velmora"), "not a program");
        fs.chmodSync(path.join(dir, "bin/velmora"), 0o755);
        assert.equal(gameProgram("", "/elsewhere/velmora-lsp"), path.join(dir, "bin/velmora"));
    } finally {
        process.env.PATH = saved;
    }
});

test("on Windows the client starts velmora-lsp.exe unless the setting names another", async () => {
    const platform = Object.getOwnPropertyDescriptor(process, "platform");
    Object.defineProperty(process, "platform", { value: "win32" });
    try {
        const { extension, started } = loadExtension({});
        await extension.activate({ subscriptions: [] });
        assert.deepEqual(started.map((c) => c.serverOptions.command), ["velmora-lsp.exe"]);
        await extension.deactivate();
    } finally {
        Object.defineProperty(process, "platform", platform);
    }
});
