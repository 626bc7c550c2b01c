-- The test's side: waits (bounded) for the server's diagnostics on the
-- opened script, writes them as JSON to VELMORA_REPORT and quits.
local report = os.getenv("VELMORA_REPORT")
local function diagnostics() return vim.diagnostic.get(0) end
vim.wait(60000, function() return #diagnostics() > 0 end, 50)
-- Later publications replace earlier ones; let any second one arrive.
vim.wait(500, function() return false end, 50)
local found = {}
for _, d in ipairs(diagnostics()) do
    table.insert(found, { line = d.lnum, col = d.col, severity = d.severity, message = d.message,
        source = d.source })
end
local clients = #vim.lsp.get_active_clients()
vim.fn.writefile({ vim.fn.json_encode({ clients = clients, diagnostics = found,
    fileencoding = vim.bo.fileencoding, filetype = vim.bo.filetype }) }, report)
vim.cmd("qa!")
