// What the editor tests share: the programs under test, small games made in
// temporary folders from the demo's files, the reference tools' output, and
// a session with velmora-lsp over stdio through vscode-jsonrpc.
"use strict";

const assert = require("node:assert/strict");
const nodeTest = require("node:test");
const { spawn, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { pathToFileURL, fileURLToPath } = require("node:url");
const rpc = require("vscode-jsonrpc/node");
const { PNG } = require("pngjs");

const root = path.resolve(__dirname, "../../..");
const demo = path.join(root, "demo");
const build = path.join(root, "build");
const programs = {
    lsp: process.env.VELMORA_LSP || path.join(build, "velmora-lsp"),
    check: process.env.VELMORA_CHECK || path.join(build, "velmora-check"),
    storyboard: process.env.VELMORA_STORYBOARD || path.join(build, "velmora-storyboard"),
};
// With VELMORA_WINE_RUN, the run folder of scripts/wine.sh setup, the
// server is a Windows build run there under Wine.
const wineRun = process.env.VELMORA_WINE_RUN || "";
const kScript = "data/scenario/main.txt";
// Generous: the suites also run beside the others under the sanitizers.
const kTimeout = 60000;

// The few cases a Windows build cannot pass, by name, and why: they are
// skipped, with the reason, when the server is one.
const kNoMapOnWindows = "the Windows build draws no story map: Graphviz is not among its libraries";
const kNotOnWindows = new Map([
    ["the demo's map is the storyboard's, each place on its editor line", kNoMapOnWindows],
    ["the map follows the editor's unsaved text, Russian choices in UTF-8", kNoMapOnWindows],
    ["the panel marks the place at the cursor and opens a place's line", kNoMapOnWindows],
]);

// node:test's test, less the cases above under Wine.
function test(name, ...rest) {
    const skip = wineRun ? kNotOnWindows.get(name) : undefined;
    if (!skip) return nodeTest.test(name, ...rest);
    return nodeTest.test(name, { skip }, () => {});
}

// Windows-1251, both ways, from the platform's own decoder.
const decoder = new TextDecoder("windows-1251");
const encodeTable = new Map();
for (let byte = 0; byte < 256; ++byte) {
    const text = decoder.decode(Uint8Array.of(byte));
    if (text !== "\uFFFD") encodeTable.set(text, byte);
}

function toWindows1251(text) {
    return Buffer.from([...text].map((c) => {
        if (!encodeTable.has(c)) throw new Error(`no Windows-1251 byte for ${c}`);
        return encodeTable.get(c);
    }));
}

function fromWindows1251(bytes) {
    return decoder.decode(bytes);
}

const temporary = [];
const servers = [];
process.on("exit", () => {
    for (const server of servers) if (server.exitCode === null) server.kill("SIGKILL");
    for (const dir of temporary) fs.rmSync(dir, { recursive: true, force: true });
});

// The program and arguments that start the server with args.
function serverCommand(args = []) {
    if (!wineRun) return [programs.lsp, args];
    return [path.join(root, "scripts/wine.sh"), ["run", wineRun, programs.lsp, ...args]];
}

// The local path of a file: URI the server answered with. A Windows build
// under Wine names its own files on a drive, which the prefix's dosdevices/
// links to a Unix folder (Z: to the root).
function localPath(uri) {
    const file = fileURLToPath(uri);
    const drive = /^\/([A-Za-z]):(\/.*)?$/.exec(file);
    if (!wineRun || !drive) return file;
    const linked = path.join(wineRun, "prefix/dosdevices", `${drive[1].toLowerCase()}:`);
    return path.join(fs.realpathSync(linked), drive[2] || "/");
}

// A server left running by a failed test neither keeps the test file from
// ending nor outlives it.
function startServer() {
    const [command, args] = serverCommand();
    const server = spawn(command, args, { stdio: ["pipe", "pipe", "pipe"] });
    servers.push(server);
    server.unref();
    for (const stream of [server.stdin, server.stdout, server.stderr]) stream.unref();
    return server;
}

function tempDir() {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), "velmora-editor-"));
    temporary.push(dir);
    return dir;
}

const kStartFiles = ["velmora.settings", "data/game.settings", "data/menubg.png", "data/arrow.png",
    "data/busy.png", "data/fnt/font.ttf", "data/mfx/ingame.ogg"];

function copyInto(from, to) {
    fs.mkdirSync(path.dirname(to), { recursive: true });
    fs.copyFileSync(from, to);
}

// A game folder: the demo's start-up files (less `omit`), pictures and voices
// copied from the demo's under new names ({ newName: demoName }), and the
// script written as Windows-1251.
function makeGame({ script, pictures = {}, voices = {}, omit = [] }) {
    const dir = tempDir();
    for (const file of kStartFiles) {
        if (!omit.includes(file)) copyInto(path.join(demo, file), path.join(dir, file));
    }
    for (const [name, from] of Object.entries(pictures)) {
        copyInto(path.join(demo, "data/gfx", `${from}.png`), path.join(dir, "data/gfx", `${name}.png`));
    }
    for (const [name, from] of Object.entries(voices)) {
        copyInto(path.join(demo, "data/mfx/voc", `${from}.ogg`),
            path.join(dir, "data/mfx/voc", `${name}.ogg`));
    }
    writeScript(dir, script);
    return dir;
}

// A copy of the demo game, its script as the editor shows it (decoded).
function copyDemo() {
    const dir = tempDir();
    fs.cpSync(path.join(demo, "data"), path.join(dir, "data"), { recursive: true });
    fs.copyFileSync(path.join(demo, "velmora.settings"), path.join(dir, "velmora.settings"));
    return { dir, text: fromWindows1251(fs.readFileSync(path.join(dir, kScript))) };
}

function writeScript(dir, text) {
    fs.mkdirSync(path.join(dir, "data/scenario"), { recursive: true });
    fs.writeFileSync(path.join(dir, kScript), toWindows1251(text));
}

function scriptUri(dir) {
    return pathToFileURL(path.join(dir, kScript)).href;
}

// velmora-check's findings for a game folder: { path, line, severity, message },
// line the game's own count (0 for a whole file).
function checkGame(dir) {
    const run = spawnSync(programs.check, [dir], { timeout: 60000 });
    assert.ok(run.status === 0 || run.status === 1,
        `velmora-check ended with ${run.status}: ${run.stderr}`);
    const lines = fromWindows1251(run.stdout).split("\n").filter((l) => l !== "");
    lines.pop();  // the summary
    return lines.map((line) => {
        const m = /^(.*?):(?:(\d+):)? (error|warning): (.*)$/.exec(line);
        assert.ok(m, `not a finding: ${line}`);
        return { path: m[1], line: Number(m[2] || 0), severity: m[3], message: m[4] };
    });
}

// The editor's line (0-based) of a game line (1-based): an editor line longer
// than 4095 characters is several lines to the game.
function editorLine(gameLine, text) {
    let counted = 0;
    const lines = text.split(/\r\n|\n\r|\r|\n/);
    for (let i = 0; i < lines.length; ++i) {
        counted += Math.max(1, Math.ceil(lines[i].length / 4095));
        if (gameLine <= counted) return i;
    }
    return lines.length - 1;
}

function describeDiagnostic(d) {
    return `${d.range.start.line}: ${d.severity === 1 ? "error" : "warning"}: ${d.message}`;
}

// The diagnostics must be the checker's findings, line for line: a script
// finding on its editor line with the checker's text; a whole file's on the
// first line, naming the file.
function assertSameAsChecker(diagnostics, findings, text) {
    for (const d of diagnostics) assert.equal(d.source, "velmora", describeDiagnostic(d));
    const fileFindings = findings.filter((f) => f.path !== kScript);
    const expected = findings.filter((f) => f.path === kScript)
        .map((f) => `${editorLine(f.line, text)}: ${f.severity}: ${f.message}`);
    const actual = [];
    for (const d of diagnostics) {
        const i = fileFindings.findIndex((f) => d.range.start.line === 0 &&
            d.message.includes(f.path) && d.message.includes(f.message));
        if (i >= 0) {
            assert.equal(d.severity, fileFindings[i].severity === "error" ? 1 : 2);
            fileFindings.splice(i, 1);
        } else {
            actual.push(describeDiagnostic(d));
        }
    }
    assert.deepEqual(fileFindings, [], "whole-file findings without their diagnostic");
    assert.deepEqual(actual.sort(), expected.sort());
}

// One velmora-lsp process and its client connection.
class Session {
    static async start({ rootDir, initialize = true } = {}) {
        const session = new Session();
        await session.spawn();
        if (initialize) await session.initialize(rootDir);
        return session;
    }

    async spawn() {
        assert.ok(fs.existsSync(programs.lsp), `no server at ${programs.lsp}`);
        this.process = startServer();
        this.stderr = "";
        this.process.stderr.on("data", (chunk) => { this.stderr += chunk; });
        this.exited = new Promise((resolve) => this.process.on("exit",
            (code, signal) => resolve({ code, signal })));
        this.connection = rpc.createMessageConnection(
            new rpc.StreamMessageReader(this.process.stdout),
            new rpc.StreamMessageWriter(this.process.stdin));
        this.published = new Map();
        this.waiters = [];
        this.connection.onNotification("textDocument/publishDiagnostics", (p) => this.onPublish(p));
        this.connection.onRequest(() => null);  // configuration, capability registration
        this.connection.listen();
        this.versions = new Map();
    }

    async initialize(rootDir) {
        const rootUri = rootDir ? pathToFileURL(rootDir).href : null;
        this.capabilities = await this.request("initialize", {
            processId: process.pid,
            rootUri,
            capabilities: {
                textDocument: {
                    hover: { contentFormat: ["markdown", "plaintext"] },
                    publishDiagnostics: {},
                    rename: { prepareSupport: true },
                    documentSymbol: { hierarchicalDocumentSymbolSupport: true },
                    completion: { completionItem: {} },
                },
                general: { positionEncodings: ["utf-16"] },
            },
            workspaceFolders: rootDir ? [{ uri: rootUri, name: "game" }] : null,
        });
        this.connection.sendNotification("initialized", {});
        return this.capabilities;
    }

    onPublish(params) {
        this.published.set(params.uri, params.diagnostics);
        const waiting = this.waiters;
        this.waiters = [];
        for (const waiter of waiting) {
            if (waiter.uri === params.uri) waiter.resolve(params.diagnostics);
            else this.waiters.push(waiter);
        }
    }

    // The next diagnostics published for uri.
    nextDiagnostics(uri) {
        return withTimeout(new Promise((resolve) => this.waiters.push({ uri, resolve })),
            `diagnostics for ${uri}\n${this.stderr}`);
    }

    async open(uri, text) {
        const next = this.nextDiagnostics(uri);
        this.versions.set(uri, 1);
        this.connection.sendNotification("textDocument/didOpen",
            { textDocument: { uri, languageId: "velmora", version: 1, text } });
        return next;
    }

    // changes: [{ text }] for the whole text, or [{ range, text }] edits.
    async change(uri, contentChanges) {
        const next = this.nextDiagnostics(uri);
        const version = this.versions.get(uri) + 1;
        this.versions.set(uri, version);
        this.connection.sendNotification("textDocument/didChange",
            { textDocument: { uri, version }, contentChanges });
        return next;
    }

    request(method, params) {
        return withTimeout(this.connection.sendRequest(method, params), `${method}\n${this.stderr}`);
    }

    at(uri, line, character) {
        return { textDocument: { uri }, position: { line, character } };
    }

    // shutdown (unless told otherwise), exit, and the process's end.
    // A server that does not answer fails the test rather than holding it:
    // the connection's own timers would keep the test file running.
    async close({ shutdown = true } = {}) {
        try {
            if (shutdown) await this.request("shutdown", null);
            this.connection.sendNotification("exit");
            return await withTimeout(this.exited, `exit\n${this.stderr}`);
        } finally {
            this.connection.dispose();
            if (this.process.exitCode === null) this.process.kill("SIGKILL");
        }
    }
}

// Every wait goes through here: its timer also keeps the test running while
// it waits on a server that does not hold the event loop itself.
function withTimeout(promise, what) {
    let timer;
    const timeout = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error(`no answer in ${kTimeout} ms: ${what}`)), kTimeout);
    });
    return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// Where a word stands in the text: { line, character } of its n-th
// occurrence (1-based), counted in UTF-16 units as the protocol does.
function find(text, word, n = 1) {
    let at = -1;
    for (let i = 0; i < n; ++i) {
        at = text.indexOf(word, at + 1);
        assert.ok(at >= 0, `"${word}" (${n}) not in the script`);
    }
    const before = text.slice(0, at).split("\n");
    return { line: before.length - 1, character: before[before.length - 1].length };
}

function locations(result) {
    if (!result) return [];
    const list = Array.isArray(result) ? result : [result];
    return list.map((l) => ({ uri: l.targetUri || l.uri, range: l.targetSelectionRange || l.range }));
}

function hoverText(hover) {
    assert.ok(hover, "no hover");
    const parts = Array.isArray(hover.contents) ? hover.contents : [hover.contents];
    return parts.map((p) => (typeof p === "string" ? p : p.value)).join("\n");
}

// The PNG a hover shows, as a markdown image: a data: URI or a file.
function hoverPicture(hover) {
    const text = hoverText(hover);
    const m = /!\[[^\]]*\]\(\s*<?((?:data:image\/png;base64,[A-Za-z0-9+/=]+)|(?:file:[^)>\s|]+))/.exec(text);
    assert.ok(m, `no picture in the hover:\n${text.slice(0, 500)}`);
    if (m[1].startsWith("data:")) return decodePng(Buffer.from(m[1].split(",")[1], "base64"));
    return decodePng(fs.readFileSync(localPath(m[1])));
}

function decodePng(bytes) {
    return PNG.sync.read(bytes);
}

function assertSamePixels(actual, expected, what) {
    assert.equal(`${actual.width}x${actual.height}`, `${expected.width}x${expected.height}`, what);
    assert.ok(Buffer.compare(actual.data, expected.data) === 0, `${what}: the pixels differ`);
}

module.exports = {
    assertSameAsChecker, assertSamePixels, checkGame, copyDemo, decodePng, demo, editorLine, find,
    hoverPicture, hoverText, kScript, localPath, locations, makeGame, programs, root, scriptUri,
    serverCommand, Session, startServer, tempDir, test, toWindows1251, wineRun, withTimeout,
    writeScript,
};
