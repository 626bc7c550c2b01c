// The Velmora extension: starts velmora-lsp for the game's scripts and
// restarts it when its path is changed in the settings. Everything the author
// sees beyond the colours (findings, jumps, renames, completion, frames, the
// story map, the lines to play from) comes from the server, which runs the
// game's own code.
"use strict";

const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");
const { showStoryMap } = require("./storyMap");
const { Preview, gameProgram } = require("./preview");

const kSection = "velmora";

let client;
const preview = new Preview();

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

// The server says where the game starts (the game's line of the editor's
// line), or refuses a line the story never reaches in the game's own words.
// The game reads the saved script, so the document is saved first.
async function playFrom(uri, editorLine) {
    if (!client) return;
    const document = vscode.workspace.textDocuments.find((d) => d.uri.toString() === uri);
    if (document && document.isDirty) await document.save();
    let start;
    try {
        start = await client.sendRequest("velmora/playFrom",
            { textDocument: { uri }, position: { line: editorLine, character: 0 } });
    } catch (error) {
        vscode.window.showErrorMessage(error && error.message ? error.message : String(error));
        return;
    }
    const configured = vscode.workspace.getConfiguration(kSection).get("game.path");
    await preview.start(gameProgram(configured, serverPath()), start.gameFolder, start.line,
        (message) => vscode.window.showErrorMessage(message));
}

function playFromCursor() {
    const editor = vscode.window.activeTextEditor;
    if (!editor || editor.document.languageId !== "velmora") return;
    return playFrom(editor.document.uri.toString(), editor.selection.active.line);
}

async function activate(context) {
    context.subscriptions.push(
        vscode.commands.registerCommand("velmora.showStoryMap", () => showStoryMap(vscode, client)),
        vscode.commands.registerCommand("velmora.playFrom",
            (place) => playFrom(place.uri, place.editorLine)),
        vscode.commands.registerCommand("velmora.playFromCursor", playFromCursor));
    context.subscriptions.push(
        vscode.workspace.onDidChangeConfiguration(async (event) => {
            if (!event.affectsConfiguration(`${kSection}.server.path`)) return;
            await stop();
            await start();
        }));
    await start();
}

function deactivate() {
    return Promise.all([preview.stop(), stop()]);
}

module.exports = { activate, deactivate };
