// One real VS Code for the vscode tests: code-server (scripts/code-server.sh)
// on 127.0.0.1 with no authentication, the packaged extension installed into
// it, a fresh copy of the demo opened, and Debian's chromium driving it.
// Everything either program writes (settings, extensions, logs, profiles)
// stays in one run folder inside the build folder.
"use strict";

const { spawn, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const puppeteer = require("puppeteer-core");

const root = path.resolve(__dirname, "../..");
const build = process.env.VELMORA_BUILD || path.join(root, "build");
// Generous: a busy machine of two cores, shared with other builds.
const kWait = 120000;

function run(program, args, options = {}) {
    const done = spawnSync(program, args, { encoding: "utf8", timeout: 900000, ...options });
    if (done.status !== 0) {
        throw new Error(`${program} ${args.join(" ")} failed (${done.status}):\n${done.stderr}`);
    }
    return done.stdout.trim().split("\n").pop();
}

function writeJson(file, value) {
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, JSON.stringify(value, null, 2));
}

// The run folder, emptied: user settings, extensions, XDG homes, the demo's copy.
function prepareRun(runDir, serverPath, settings) {
    fs.rmSync(runDir, { recursive: true, force: true });
    const dirs = {
        run: runDir,
        user: path.join(runDir, "user"),
        extensions: path.join(runDir, "extensions"),
        workspace: path.join(runDir, "demo"),
        browser: path.join(runDir, "chromium"),
        shots: path.join(runDir, "screenshots"),
    };
    for (const dir of Object.values(dirs)) fs.mkdirSync(dir, { recursive: true });
    fs.cpSync(path.join(root, "demo"), dirs.workspace, { recursive: true });
    writeJson(path.join(dirs.user, "User/settings.json"), {
        "velmora.server.path": serverPath,
        "workbench.startupEditor": "none",
        "workbench.tips.enabled": false,
        "workbench.enableExperiments": false,
        "security.workspace.trust.enabled": false,
        "telemetry.telemetryLevel": "off",
        "update.mode": "none",
        "extensions.autoCheckUpdates": false,
        "extensions.autoUpdate": false,
        "extensions.ignoreRecommendations": true,
        "git.enabled": false,
        // code-server saves after a delay by default; the tests undo their
        // edits by reverting to the file on disk.
        "files.autoSave": "off",
        "editor.minimap.enabled": false,
        "editor.quickSuggestions": { other: false, comments: false, strings: false },
        "window.commandCenter": false,
        "chat.commandCenter.enabled": false,
        ...settings,
    });
    return dirs;
}

function environmentFor(dirs) {
    return {
        ...process.env,
        XDG_CONFIG_HOME: path.join(dirs.run, "config"),
        XDG_DATA_HOME: path.join(dirs.run, "data"),
        XDG_CACHE_HOME: path.join(dirs.run, "cache"),
        XDG_STATE_HOME: path.join(dirs.run, "state"),
    };
}

// Resolves with the first match of `pattern` in the process's output.
function waitForOutput(child, pattern, what) {
    return new Promise((resolve, reject) => {
        let seen = "";
        const timer = setTimeout(() => reject(new Error(`${what}: not seen in ${kWait} ms:\n${seen}`)), kWait);
        const look = (chunk) => {
            seen += chunk;
            const match = pattern.exec(seen);
            if (!match) return;
            clearTimeout(timer);
            resolve(match);
        };
        child.stdout.on("data", look);
        child.stderr.on("data", look);
        child.on("exit", (code) => reject(new Error(`${what}: exited with ${code}:\n${seen}`)));
    });
}

// A private virtual display for the games the editor starts, started the one
// way the tree starts them (scripts/display.sh: Xvfb picks a free number and
// writes it to descriptor 3 once it listens).
function startDisplay() {
    const xvfb = spawn(path.join(root, "scripts/display.sh"), ["3", "1024x768"],
        { detached: true, stdio: ["ignore", "ignore", "ignore", "pipe"] });
    process.on("exit", () => stopProcess(xvfb));
    return new Promise((resolve, reject) => {
        let number = "";
        const timer = setTimeout(() => reject(new Error(`Xvfb: no display in ${kWait} ms`)), kWait);
        xvfb.stdio[3].on("data", (chunk) => {
            number += chunk;
            if (!number.includes("\n")) return;
            clearTimeout(timer);
            resolve({ xvfb, name: `:${number.trim()}` });
        });
        xvfb.on("exit", (code) => reject(new Error(`Xvfb exited with ${code}`)));
    });
}

// Ends a process group started here (detached), unless it has ended.
function stopProcess(child) {
    if (!child || child.exitCode !== null || child.signalCode !== null) return;
    try {
        process.kill(-child.pid, "SIGTERM");
    } catch (_) {
        // Already gone.
    }
}

class Session {
    // Installs code-server (cached) and the .vsix, starts both programs and
    // opens the demo's folder. With `display`, what the editor starts finds a
    // virtual display of its own and silent sound.
    static async start({ name = "vscode", display = false, settings = {} } = {}) {
        const session = new Session();
        session.figures = {};
        const t0 = Date.now();
        session.codeServer = process.env.VELMORA_CODE_SERVER ||
            path.join(run(path.join(root, "scripts/code-server.sh"), []), "bin/code-server");
        session.installSeconds = (Date.now() - t0) / 1000;
        // The package as scripts/vsix.sh makes it (its packager needs Node.js 20),
        // or one made already.
        session.vsix = process.env.VELMORA_VSIX || run(path.join(root, "scripts/vsix.sh"), [build]);
        const lsp = process.env.VELMORA_LSP || path.join(build, "velmora-lsp");
        session.dirs = prepareRun(path.join(build, "vscode-run", name), lsp, settings);
        session.env = environmentFor(session.dirs);
        if (display) {
            ({ xvfb: session.xvfb, name: session.display } = await startDisplay());
            // Only X11: SDL would otherwise draw into a terminal when the
            // display cannot be reached.
            Object.assign(session.env, { DISPLAY: session.display, SDL_VIDEODRIVER: "x11",
                SDL_AUDIODRIVER: "dummy" });
        }
        run(session.codeServer, ["--user-data-dir", session.dirs.user, "--extensions-dir",
            session.dirs.extensions, "--install-extension", session.vsix], { env: session.env });
        await session.startServer();
        await session.startBrowser();
        return session;
    }

    async startServer() {
        const args = ["--bind-addr", "127.0.0.1:0", "--auth", "none", "--user-data-dir", this.dirs.user,
            "--extensions-dir", this.dirs.extensions, "--disable-telemetry", "--disable-update-check",
            "--disable-workspace-trust", "--disable-getting-started-override", "--ignore-last-opened",
            this.dirs.workspace];
        const log = fs.openSync(path.join(this.dirs.run, "code-server.log"), "w");
        this.server = spawn(this.codeServer, args, { env: this.env, detached: true,
            stdio: ["ignore", "pipe", "pipe"] });
        this.server.stdout.on("data", (chunk) => fs.writeSync(log, chunk));
        this.server.stderr.on("data", (chunk) => fs.writeSync(log, chunk));
        // A failed run neither leaves code-server behind nor waits for it.
        process.on("exit", () => this.stopServer());
        const match = await waitForOutput(this.server, /HTTP server listening on (http:\/\/127\.0\.0\.1:\d+)\//,
            "code-server");
        this.url = match[1];
    }

    async startBrowser() {
        this.browser = await puppeteer.launch({
            executablePath: process.env.VELMORA_CHROMIUM || "/usr/bin/chromium",
            headless: true,
            userDataDir: this.dirs.browser,
            env: this.env,
            defaultViewport: { width: 1280, height: 800 },
            protocolTimeout: kWait,
            args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-dev-shm-usage"],
        });
        this.page = await this.browser.newPage();
        this.page.setDefaultTimeout(kWait);
        const folder = encodeURIComponent(this.dirs.workspace);
        await this.page.goto(`${this.url}/?folder=${folder}`, { waitUntil: "domcontentloaded" });
        await this.page.waitForSelector(".monaco-workbench .explorer-folders-view, .monaco-workbench .part.editor");
    }

    async screenshot(name) {
        const file = path.join(this.dirs.shots, `${name}.png`);
        await this.page.screenshot({ path: file });
        return file;
    }

    // A figure for the report: printed, and kept in figures.json of the run folder.
    figure(name, value) {
        this.figures[name] = value;
        console.log(`# ${name}: ${JSON.stringify(value)}`);
        writeJson(path.join(this.dirs.run, "figures.json"), this.figures);
    }

    async chord(modifiers, key) {
        for (const modifier of modifiers) await this.page.keyboard.down(modifier);
        await this.page.keyboard.press(key);
        for (const modifier of [...modifiers].reverse()) await this.page.keyboard.up(modifier);
    }

    // Opens a file of the demo by Quick Open, as an author would, and waits
    // until its editor shows the language the status bar names.
    async open(relative, language) {
        await this.chord(["Control"], "p");
        await this.page.waitForSelector(".quick-input-widget input", { visible: true });
        await this.page.keyboard.type(relative);
        await this.page.waitForFunction((name) => [...document.querySelectorAll(
            ".quick-input-list .monaco-list-row")].some((row) => row.textContent.includes(name)),
        {}, path.basename(relative));
        await this.page.keyboard.press("Enter");
        await this.page.waitForFunction((wanted) => {
            const mode = document.getElementById("status.editor.mode");
            return mode && mode.textContent.trim() === wanted;
        }, {}, language);
    }

    // The command palette, running a command by its title.
    async command(title) {
        await this.chord(["Control", "Shift"], "p");
        await this.page.waitForSelector(".quick-input-widget input", { visible: true });
        await this.page.keyboard.type(title);
        await this.page.waitForFunction((wanted) => [...document.querySelectorAll(
            ".quick-input-list .monaco-list-row")].some((row) => row.textContent.includes(wanted)),
        {}, title);
        await this.page.keyboard.press("Enter");
    }

    // The visible line whose text (spaces as typed) starts with `start`:
    // its box and the boxes of its token spans.
    async line(start) {
        const handle = await this.page.waitForFunction((wanted) => {
            const text = (element) => element.textContent.replace(/\u00a0/g, " ");
            const line = [...document.querySelectorAll(".editor-instance .view-lines .view-line")]
                .find((element) => text(element).startsWith(wanted));
            if (!line) return null;
            const box = (element) => element.getBoundingClientRect().toJSON();
            const spans = [...line.querySelectorAll(":scope > span > span")].map((span) =>
                ({ text: text(span), color: getComputedStyle(span).color, box: box(span) }));
            return { box: box(line), spans };
        }, {}, start);
        return handle.jsonValue();
    }

    // The cursor's line and column as the status bar says them.
    async cursor() {
        const text = await this.page.$eval("[id='status.editor.selection']", (e) => e.textContent);
        const [, line, column] = /Ln (\d+), Col (\d+)/.exec(text);
        return { line: Number(line), column: Number(column) };
    }

    // Points at (x, y) and waits for a hover whose text matches `pattern`.
    // Given a function for the point instead, asks it again and points anew
    // while no such hover comes: lines move when lenses arrive above them.
    async hover(x, y, pattern) {
        const where = typeof x === "function" ? x : async () => ({ x, y });
        const deadline = Date.now() + kWait;
        for (;;) {
            const point = await where();
            await this.page.mouse.move(point.x - 20, point.y);
            await this.page.mouse.move(point.x, point.y, { steps: 4 });
            const timeout = typeof x === "function" ? Math.min(5000, deadline - Date.now()) : kWait;
            const handle = await this.page.waitForFunction((source) => {
                const hover = [...document.querySelectorAll(".monaco-hover:not(.hidden)")]
                    .find((element) => new RegExp(source).test(element.textContent));
                return hover ? { text: hover.textContent, box: hover.getBoundingClientRect().toJSON() } : null;
            }, { timeout }, pattern.source).catch((error) => {
                if (Date.now() >= deadline) throw error;
                return null;
            });
            if (handle) return handle.jsonValue();
            await this.page.mouse.move(5, 790);
        }
    }

    // Moves the pointer away and waits until no hover is left.
    async unhover() {
        await this.page.mouse.move(5, 790);
        await this.page.keyboard.press("Escape");
        await this.page.waitForFunction(() =>
            ![...document.querySelectorAll(".monaco-hover:not(.hidden)")].some(
                (element) => element.getBoundingClientRect().width > 0));
    }

    // The labels of the suggestion list once it holds `wanted`.
    async suggestions(wanted) {
        const handle = await this.page.waitForFunction((names) => {
            const rows = [...document.querySelectorAll(".suggest-widget.visible .monaco-list-row .label-name")]
                .map((element) => element.textContent.trim());
            return names.every((name) => rows.includes(name)) ? rows : null;
        }, {}, wanted);
        return handle.jsonValue();
    }

    // The frame of the webview that shows `selector` (webviews are frames in
    // frames, filled after the view opens).
    async webviewWith(selector) {
        const deadline = Date.now() + kWait;
        while (Date.now() < deadline) {
            for (const frame of this.page.frames()) {
                if (await frame.$(selector).catch(() => null)) return frame;
            }
            await this.page.waitForNetworkIdle({ idleTime: 200, timeout: 5000 }).catch(() => {});
        }
        throw new Error(`no webview shows ${selector} in ${kWait} ms`);
    }

    // code-server and the programs it started (the extension host, velmora-lsp).
    stopServer() {
        stopProcess(this.server);
    }

    async stop() {
        if (this.browser) await this.browser.close().catch(() => {});
        this.stopServer();
        stopProcess(this.xvfb);
    }
}

module.exports = { Session, kWait, root, build };
