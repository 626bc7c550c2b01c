// The Velmora extension: starts velmora-lsp for the game's scripts and
// restarts it when its path is changed in the settings. Everything the author
// sees beyond the colours (findings, jumps, renames, completion, frames, the
// story map) comes from the server, which runs the game's own code.
"use strict";

const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");
const { showStoryMap } = require("./storyMap");

const kSection = "velmora";

let client;

// The server's program when the setting names none: on Windows, the
// velmora-lsp.exe of the game's tools folder, found on the PATH like any other.
function defaultServer(platform) {
    return platform === "win32" ? "velmora-lsp.exe" : "velmora-lsp";
}

function serverPath() {
    const configured = vscode.workspace.getConfiguration(kSection).get("server.path");
    return configured && configured.trim() !== "" ? configured.trim() : defaultServer(process.platform);
}

function createClient() {
    const command = serverPath();
    const serverOptions = { command, args: [] };
    const clientOptions = {
        documentSelector: [{ language: "velmora" }],
        outputChannelName: "Velmora",
    };
    return new LanguageClient("velmora", "Velmora", serverOptions, clientOptions);
}

// A server that cannot start (a wrong path) is said once, with the setting
// to change, rather than left to fail silently.
async function start() {
    client = createClient();
    try {
        await client.start();
    } catch (error) {
        const message = `Velmora: the language server "${serverPath()}" did not start ` +
            `(${error && error.message ? error.message : error}). Set "velmora.server.path".`;
        vscode.window.showErrorMessage(message);
    }
}

async function stop() {
    if (!client) return;
    const running = client;
    client = undefined;
    try {
        await running.stop();
    } catch (_) {
        // A server that never started has nothing to stop.
    }
}

async function activate(context) {
    context.subscriptions.push(
        vscode.commands.registerCommand("velmora.showStoryMap", () => showStoryMap(vscode, client)));
    context.subscriptions.push(
        vscode.workspace.onDidChangeConfiguration(async (event) => {
            if (!event.affectsConfiguration(`${kSection}.server.path`)) return;
            await stop();
            await start();
        }));
    await start();
}

function deactivate() {
    return stop();
}

module.exports = { activate, deactivate };
