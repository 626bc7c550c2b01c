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
        ["Velmora: Show Story Map"]);
    assert.ok(fs.existsSync(path.join(extension, "storyMap.js")), "the story map's panel");
});

// The packaged extension.js, loaded with stand-ins for VS Code and the client.
function loadExtension(settings) {
    const started = [];
    const shown = [];
    const listeners = [];
    const commands = new Map();
    const vscode = {
        commands: { registerCommand: (name, run) => { commands.set(name, run); return { dispose() {} }; } },
        workspace: {
            getConfiguration: (section) => ({ get: (key) => settings[`${section}.${key}`] }),
            onDidChangeConfiguration: (listener) => { listeners.push(listener); return { dispose() {} }; },
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
        assert.deepEqual([...commands.keys()], ["velmora.showStoryMap"]);
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
