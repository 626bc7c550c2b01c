-- Neovim's own LSP client for Velmora games: the settings the writer's guide
-- gives, and the ones the editor test runs with. Load it from init.lua
-- (`dofile("/path/to/velmora.lua")`) or start Neovim with `-u velmora.lua`.
-- VELMORA_LSP names the server; by default velmora-lsp on the PATH.
local server = os.getenv("VELMORA_LSP") or "velmora-lsp"
local script = "*/data/scenario/main.txt"

-- The game reads its script as Windows-1251 bytes.
vim.api.nvim_create_autocmd("BufReadPre", {
    pattern = script,
    callback = function() vim.o.fileencodings = "cp1251" end,
})
vim.api.nvim_create_autocmd({ "BufRead", "BufNewFile" }, {
    pattern = script,
    callback = function() vim.bo.filetype = "velmora" end,
})

vim.api.nvim_create_autocmd("FileType", {
    pattern = "velmora",
    callback = function(args)
        local name = vim.api.nvim_buf_get_name(args.buf)
        local config = {
            name = "velmora",
            cmd = { server },
            root_dir = name:match("^(.*)/data/scenario/main%.txt$") or vim.fn.fnamemodify(name, ":h"),
        }
        if vim.lsp.start then -- Neovim 0.8 and later
            vim.lsp.start(config)
        else
            vim.lsp.buf_attach_client(args.buf, vim.lsp.start_client(config))
        end
    end,
})
