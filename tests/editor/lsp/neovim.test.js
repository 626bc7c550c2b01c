// velmora-lsp in a real editor: Neovim, headless, with its built-in LSP
// client, opens a copy of the demo with a fault and gets the diagnostic.
"use strict";

const { test } = require("node:test");
const assert = require("node:assert/strict");
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const { copyDemo, kScript, programs, tempDir, writeScript } = require("./support");

const nvim = process.env.VELMORA_NVIM || "nvim";
const config = path.join(__dirname, "../neovim");

test("Neovim opens the demo with a seeded fault and shows exactly that diagnostic", () => {
    const { dir, text } = copyDemo();
    const faulty = text.replace("goto night", "goto nigth");
    writeScript(dir, faulty);
    const report = path.join(tempDir(), "report.json");
    const run = spawnSync(nvim, ["--headless", "-n", "-i", "NONE", "-u", path.join(config, "velmora.lua"),
        path.join(dir, kScript), "-c", `luafile ${path.join(config, "report.lua")}`], {
        cwd: dir, timeout: 120000, encoding: "utf8",
        env: { ...process.env, VELMORA_LSP: programs.lsp, VELMORA_REPORT: report,
            XDG_CONFIG_HOME: dir, XDG_DATA_HOME: dir, XDG_STATE_HOME: dir, XDG_CACHE_HOME: dir },
    });
    assert.equal(run.error, undefined, `Neovim did not end in time: ${run.stderr}`);
    assert.equal(run.status, 0, run.stderr);
    const result = JSON.parse(fs.readFileSync(report, "utf8"));
    assert.deepEqual([result.clients, result.filetype, result.fileencoding], [1, "velmora", "cp1251"]);
    const line = faulty.split("\n").findIndex((l) => l === "goto nigth");
    assert.deepEqual(result.diagnostics.map((d) => [d.line, d.severity, d.message, d.source]),
        [[line, 1, "Undefined label nigth", "velmora"]]);
});
