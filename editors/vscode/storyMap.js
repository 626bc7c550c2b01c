// "Velmora: Show Story Map": the story map of the script in the editor, drawn
// by velmora-lsp (request velmora/storyMap, from the storyboard's walk of the
// editor's text) in a webview beside it. A click on a place opens its line;
// the place the cursor is in is marked; the map follows the script's edits.
"use strict";

const kRequest = "velmora/storyMap";
// Edits come in bursts: the map is asked for again once typing pauses.
const kEditPause = 600;

// The place the editor line (from 0) belongs to: one standing on that very
// line (a menu, an ending, an error, a label), else the label or start above
// it, as a label's place runs from its line to the next label.
function nodeAtLine(nodes, line) {
    let above = null;
    for (const node of nodes) {
        if (node.editorLine === line) return node;
        const owns = node.kind === "label" || node.kind === "start";
        if (owns && node.editorLine <= line && (!above || node.editorLine > above.editorLine))
            above = node;
    }
    return above;
}

// The webview's page: the drawing, dragged to pan and zoomed with the wheel.
// It posts {type: "open", id} for a click on a place and takes {type: "map"}
// and {type: "mark"} messages.
function webviewHtml(nonce, cspSource) {
    return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; img-src ${cspSource} data:;
 style-src 'unsafe-inline'; script-src 'nonce-${nonce}';">
<style>
html, body { height: 100%; margin: 0; overflow: hidden; }
#view { width: 100%; height: 100%; cursor: grab; background: #fff; }
#view svg { width: 100%; height: 100%; }
#note { position: fixed; left: 8px; bottom: 6px; color: #666; font: 12px sans-serif; }
g.node { cursor: pointer; }
g.node.marked polygon, g.node.marked ellipse, g.node.marked path { stroke: #e0a020; stroke-width: 4px; }
</style></head>
<body><div id="view"></div><div id="note">Drag to pan, wheel to zoom; click a place to open its line.</div>
<script nonce="${nonce}">
(function () {
  const vscode = acquireVsCodeApi();
  const view = document.getElementById('view');
  let svg = null, vb = null, drag = null, marked = null;
  function apply() { svg.setAttribute('viewBox', vb.x + ' ' + vb.y + ' ' + vb.w + ' ' + vb.h); }
  function scaleOf() {
    const r = view.getBoundingClientRect();
    return Math.max(vb.w / r.width, vb.h / r.height);
  }
  function show(text) {
    const keep = vb;
    view.innerHTML = text;
    svg = view.querySelector('svg');
    if (!svg) return;
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    const b = svg.viewBox.baseVal;
    vb = keep || {x: b.x, y: b.y, w: b.width, h: b.height};
    apply();
    if (marked) mark(marked);
  }
  function mark(id) {
    marked = id;
    view.querySelectorAll('g.node.marked').forEach(g => g.classList.remove('marked'));
    const g = id && document.getElementById(id);
    if (g) g.classList.add('marked');
  }
  view.addEventListener('wheel', e => {
    if (!svg) return;
    e.preventDefault();
    const r = view.getBoundingClientRect(), s = scaleOf(), f = e.deltaY > 0 ? 1.2 : 1 / 1.2;
    const x = vb.x + vb.w / 2 + (e.clientX - r.left - r.width / 2) * s;
    const y = vb.y + vb.h / 2 + (e.clientY - r.top - r.height / 2) * s;
    vb = {x: x - (x - vb.x) * f, y: y - (y - vb.y) * f, w: vb.w * f, h: vb.h * f};
    apply();
  }, {passive: false});
  view.addEventListener('pointerdown', e => {
    drag = {x: e.clientX, y: e.clientY, moved: 0};
    view.setPointerCapture(e.pointerId);
  });
  view.addEventListener('pointermove', e => {
    if (!drag || !svg) return;
    const s = scaleOf();
    vb.x -= (e.clientX - drag.x) * s;
    vb.y -= (e.clientY - drag.y) * s;
    drag.moved += Math.abs(e.clientX - drag.x) + Math.abs(e.clientY - drag.y);
    drag.x = e.clientX;
    drag.y = e.clientY;
    apply();
  });
  view.addEventListener('pointerup', e => {
    const click = drag && drag.moved < 5;
    drag = null;
    if (!click) return;
    const target = document.elementFromPoint(e.clientX, e.clientY);
    const g = target && target.closest('g.node');
    if (g) vscode.postMessage({type: 'open', id: g.id});
  });
  window.addEventListener('message', e => {
    const message = e.data;
    if (message.type === 'map') show(message.svg);
    if (message.type === 'mark') mark(message.id);
  });
  vscode.postMessage({type: 'ready'});
})();
</script></body></html>`;
}

function nonce() {
    const letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    let text = "";
    for (let i = 0; i < 32; ++i) text += letters[Math.floor(Math.random() * letters.length)];
    return text;
}

// One panel, for the script it was opened on.
class StoryMapPanel {
    constructor(vscode, client, document, column) {
        this.vscode = vscode;
        this.client = client;
        this.document = document;
        this.map = null;
        this.timer = null;
        this.panel = vscode.window.createWebviewPanel(
            "velmoraStoryMap", "Story map", { viewColumn: vscode.ViewColumn.Beside, preserveFocus: true },
            { enableScripts: true, retainContextWhenHidden: true });
        this.panel.webview.html = webviewHtml(nonce(), this.panel.webview.cspSource);
        this.subscriptions = [
            this.panel.webview.onDidReceiveMessage((message) => this.onMessage(message)),
            vscode.workspace.onDidChangeTextDocument((event) => {
                if (event.document === this.document) this.refreshSoon();
            }),
            vscode.window.onDidChangeTextEditorSelection((event) => {
                if (event.textEditor.document === this.document) this.markAt(event.selections[0].active.line);
            }),
        ];
        this.column = column;
        this.panel.onDidDispose(() => this.dispose());
    }

    onMessage(message) {
        if (message.type === "ready") return this.refresh();
        if (message.type === "open") return this.open(message.id);
    }

    async refresh() {
        const uri = this.document.uri.toString();
        let map;
        try {
            map = await this.client.sendRequest(kRequest, { textDocument: { uri } });
        } catch (error) {
            this.vscode.window.showErrorMessage(`Velmora: no story map (${error.message || error}).`);
            return;
        }
        if (!map) {
            this.panel.webview.postMessage({ type: "map", svg: "<p>No story map: this script belongs to no game.</p>" });
            return;
        }
        this.map = map;
        this.panel.webview.postMessage({ type: "map", svg: map.svg });
        const editor = this.editor();
        if (editor) this.markAt(editor.selection.active.line);
    }

    refreshSoon() {
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.refresh(), kEditPause);
    }

    editor() {
        return this.vscode.window.visibleTextEditors.find((e) => e.document === this.document);
    }

    markAt(line) {
        if (!this.map) return;
        const node = nodeAtLine(this.map.nodes, line);
        this.panel.webview.postMessage({ type: "mark", id: node ? node.id : null });
    }

    async open(id) {
        const node = this.map && this.map.nodes.find((n) => n.id === id);
        if (!node) return;
        const { Position, Range, Selection, TextEditorRevealType } = this.vscode;
        const editor = await this.vscode.window.showTextDocument(this.document, this.column);
        const at = new Position(node.editorLine, 0);
        editor.selection = new Selection(at, at);
        editor.revealRange(new Range(at, at), TextEditorRevealType.InCenterIfOutsideViewport);
    }

    dispose() {
        clearTimeout(this.timer);
        this.subscriptions.forEach((s) => s.dispose());
    }
}

// The command's work: the map of the active Velmora script.
function showStoryMap(vscode, client) {
    const editor = vscode.window.activeTextEditor;
    if (!editor || editor.document.languageId !== "velmora") {
        vscode.window.showInformationMessage("Velmora: open a scenario script to see its story map.");
        return null;
    }
    if (!client) {
        vscode.window.showErrorMessage("Velmora: the language server is not running.");
        return null;
    }
    return new StoryMapPanel(vscode, client, editor.document, editor.viewColumn);
}

module.exports = { nodeAtLine, webviewHtml, showStoryMap, kRequest };
