// The protocol's edges: the command line, broken messages, requests out of
// turn, unknown methods, and how the server ends.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const { serverCommand, Session, startServer, withTimeout } = require("./support");

const kVersion = /inline constexpr char kVelmoraVersion\[\] = "(.*)";/
    .exec(fs.readFileSync(`${__dirname}/../../../core/Version.h`, "utf8"))[1];

test("--version and --help answer on stdout and exit 0", () => {
    // A Windows build ends its text lines with "\r\n".
    const run = (option) => {
        const ran = spawnSync(...serverCommand([option]), { encoding: "utf8", timeout: 60000 });
        return { ...ran, stdout: ran.stdout.replace(/\r\n/g, "\n") };
    };
    const version = run("--version");
    assert.deepEqual([version.status, version.stdout], [0, `velmora-lsp ${kVersion}\n`]);
    const help = run("--help");
    assert.equal(help.status, 0);
    assert.match(help.stdout, /velmora-lsp/);
});

// A server spoken to byte by byte, for what no client library would send.
class RawServer {
    constructor() {
        this.process = startServer();
        this.buffer = Buffer.alloc(0);
        this.stderr = "";
        this.messages = [];
        this.waiting = null;
        this.process.stderr.on("data", (chunk) => { this.stderr += chunk; });
        this.process.stdout.on("data", (chunk) => this.onData(chunk));
        const exited = new Promise((resolve) => this.process.on("exit",
            (code, signal) => resolve({ code, signal })));
        this.exited = () => withTimeout(exited, `the end\n${this.stderr}`);
    }

    onData(chunk) {
        this.buffer = Buffer.concat([this.buffer, chunk]);
        for (;;) {
            const end = this.buffer.indexOf("\r\n\r\n");
            if (end < 0) return;
            const length = Number(/Content-Length: *(\d+)/i.exec(this.buffer.subarray(0, end))[1]);
            if (this.buffer.length < end + 4 + length) return;
            this.messages.push(JSON.parse(this.buffer.subarray(end + 4, end + 4 + length)));
            this.buffer = this.buffer.subarray(end + 4 + length);
            if (this.waiting) this.waiting();
        }
    }

    write(bytes) {
        this.process.stdin.write(bytes);
    }

    send(message) {
        const body = Buffer.from(JSON.stringify({ jsonrpc: "2.0", ...message }));
        this.write(Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\n\r\n`), body]));
    }

    // The response to request id, skipping notifications and other answers.
    async response(id) {
        const deadline = Date.now() + 60000;
        for (;;) {
            const found = this.messages.find((m) => m.id === id && !m.method);
            if (found) return found;
            if (Date.now() > deadline) throw new Error(`no response ${id}; stderr: ${this.stderr}`);
            await new Promise((resolve) => {
                this.waiting = resolve;
                setTimeout(resolve, 100);
            });
        }
    }

    async initialize(id) {
        this.send({ id, method: "initialize", params: { processId: null, rootUri: null, capabilities: {} } });
        const answer = await this.response(id);
        assert.ok(answer.result && answer.result.capabilities, JSON.stringify(answer));
        this.send({ method: "initialized", params: {} });
    }

    async end() {
        this.process.stdin.end();
        return this.exited();
    }
}

test("broken headers and bodies are answered or dropped, and the server goes on", async () => {
    const server = new RawServer();
    const broken = [
        "Content-Length: banana\r\n\r\n",
        "Content-Type: application/json\r\n\r\n",
        "no header at all\r\n\r\n",
        "Content-Length: 9\r\n\r\n{\"oops\":}",
        "Content-Length: 4\r\n\r\n[1,2",
        "Content-Length: 2\r\n\r\n42",
        'Content-Length: 21\r\n\r\n{"jsonrpc":"2.0","a":',
    ];
    for (const bytes of broken) server.write(bytes);
    await server.initialize(1);
    for (const error of server.messages.filter((m) => m.error)) {
        assert.ok([-32700, -32600].includes(error.error.code), JSON.stringify(error));
        assert.equal(error.id, null);
    }
    server.send({ id: 2, method: "shutdown" });
    assert.deepEqual((await server.response(2)).result, null);
    server.send({ method: "exit" });
    assert.deepEqual(await server.exited(), { code: 0, signal: null });
    assert.doesNotMatch(server.stderr, /Sanitizer|runtime error/);
});

test("a length no message could have is refused before it is read", async () => {
    const server = new RawServer();
    server.write("Content-Length: 99999999999999999999\r\n\r\n{}");
    server.write("Content-Length: -5\r\n\r\n");
    const end = await server.end();
    assert.equal(end.signal, null, server.stderr);
    assert.notEqual(server.stderr, "", "a line on stderr says what was dropped");
    assert.doesNotMatch(server.stderr, /Sanitizer|runtime error/);
});

test("a request before initialize is ServerNotInitialized; then initialize works", async () => {
    const session = await Session.start({ initialize: false });
    await assert.rejects(session.request("textDocument/hover",
        session.at("file:///tmp/x/data/scenario/main.txt", 0, 0)), { code: -32002 });
    await session.initialize(null);
    assert.ok(session.capabilities.capabilities.hoverProvider, "hover is offered");
    assert.deepEqual(await session.close(), { code: 0, signal: null });
});

test("an unknown method is MethodNotFound; an unknown notification is let be", async () => {
    const session = await Session.start();
    await assert.rejects(session.request("velmora/noSuchThing", {}), { code: -32601 });
    session.connection.sendNotification("velmora/noSuchNotice", {});
    await assert.rejects(session.request("workspace/noSuchThing", {}), { code: -32601 });
    assert.deepEqual(await session.close(), { code: 0, signal: null });
});

test("exit after shutdown ends with 0, without it with 1", async () => {
    const polite = await Session.start();
    assert.deepEqual(await polite.close({ shutdown: true }), { code: 0, signal: null });
    const abrupt = await Session.start();
    assert.deepEqual(await abrupt.close({ shutdown: false }), { code: 1, signal: null });
});

test("after shutdown, requests are refused as InvalidRequest", async () => {
    const session = await Session.start();
    await session.request("shutdown", null);
    await assert.rejects(session.request("textDocument/hover",
        session.at("file:///tmp/x/data/scenario/main.txt", 0, 0)), { code: -32600 });
    assert.deepEqual(await session.close({ shutdown: false }), { code: 0, signal: null });
});
