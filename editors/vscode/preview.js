// The game started from a line of its script ("Play from here"): one preview
// at a time, `velmora --from LINE --watch` in the game's folder. A new start
// replaces the running game; the extension's end ends it.
"use strict";

const { spawn } = require("child_process");
const fs = require("fs");
const path = require("path");

// A program given by name is looked up on the PATH, as a shell would.
function onPath(name) {
    const extensions = process.platform === "win32" ? ["", ".exe"] : [""];
    for (const dir of (process.env.PATH || "").split(path.delimiter)) {
        for (const extension of extensions) {
            const candidate = path.join(dir, name + extension);
            if (dir !== "" && isProgram(candidate)) return candidate;
        }
    }
    return undefined;
}

function isProgram(file) {
    try {
        fs.accessSync(file, fs.constants.X_OK);
        return fs.statSync(file).isFile();
    } catch (_) {
        return false;
    }
}

// The game: the setting, else on the PATH, else beside the language server.
function gameProgram(configured, serverPath) {
    if (configured && configured.trim() !== "") return configured.trim();
    const found = onPath("velmora");
    if (found) return found;
    const server = path.isAbsolute(serverPath) ? serverPath : onPath(serverPath);
    const name = process.platform === "win32" ? "velmora.exe" : "velmora";
    return server ? path.join(path.dirname(server), name) : name;
}

class Preview {
    constructor() {
        this.game = undefined;
    }

    // Starts the game; report(message) hears when it cannot start or refuses
    // (status 2: its one line on standard error).
    async start(program, gameFolder, line, report) {
        await this.stop();
        const game = spawn(program, ["--from", String(line), "--watch"],
            { cwd: gameFolder, stdio: ["ignore", "ignore", "pipe"] });
        this.game = game;
        let stderr = "";
        game.stderr.on("data", (chunk) => { stderr += chunk; });
        game.exited = new Promise((resolve) => game.on("close", resolve));
        game.on("error", (error) => report(`Velmora: "${program}" did not start (${error.message}). ` +
            'Set "velmora.game.path".'));
        game.on("close", (code) => {  // after its standard error is read to the end
            if (this.game === game) this.game = undefined;
            if (code === 2) report(stderr.trim());
        });
    }

    // Ends the running game, forcefully when it does not end within two seconds.
    async stop() {
        const game = this.game;
        this.game = undefined;
        if (!game || !game.pid || game.exitCode !== null || game.signalCode !== null) return;
        game.kill("SIGTERM");
        const timer = setTimeout(() => game.kill("SIGKILL"), 2000);
        await game.exited;
        clearTimeout(timer);
    }
}

module.exports = { Preview, gameProgram };
