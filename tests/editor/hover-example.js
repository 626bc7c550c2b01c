// Writes the frame velmora-lsp's hover shows at a line of the demo, as the
// example of the writer's guide (docs/hover.png):
//   NODE_PATH=build/tests/editor/node/node_modules VELMORA_LSP=build/velmora-lsp \
//       node tests/editor/hover-example.js [LINE] [OUT]
// LINE is 1-based (default 27, Tomas's line on the harbour).
"use strict";

const fs = require("node:fs");
const path = require("node:path");
const { copyDemo, hoverText, scriptUri, Session } = require("./lsp/support");

async function main() {
    const line = Number(process.argv[2] || 27) - 1;
    const out = process.argv[3] || path.join(__dirname, "../../docs/hover.png");
    const { dir, text } = copyDemo();
    const session = await Session.start({ rootDir: dir });
    const uri = scriptUri(dir);
    await session.open(uri, text);
    const end = text.split("\n")[line].length - 1;
    const markdown = hoverText(await session.request("textDocument/hover", session.at(uri, line, end)));
    // A file the hover names lives as long as the server: read it first.
    const m = /\]\(\s*<?(data:image\/png;base64,[A-Za-z0-9+/=]+|file:[^)>\s]+)/.exec(markdown);
    if (!m) throw new Error(`no frame in the hover:\n${markdown}`);
    const png = m[1].startsWith("data:") ? Buffer.from(m[1].split(",")[1], "base64")
        : fs.readFileSync(new URL(m[1]));
    await session.close();
    fs.writeFileSync(out, png);
    console.log(`${out}: the frame at line ${line + 1}\n${markdown.replace(/\(data:[^)]*\)/, "(data:...)")}`);
}

main().catch((error) => {
    console.error(error.message);
    process.exit(1);
});
