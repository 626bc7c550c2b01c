// velmora-lsp: the language server, speaking the Language Server Protocol
// on standard input and output until the editor says exit.
#include <filesystem>
#include <iostream>

#include "tools/common/CheckSession.h"
#include "tools/common/ToolCommandLine.h"
#include "tools/lsp/MessageReader.h"
#include "tools/lsp/ScratchFolder.h"
#include "tools/lsp/Server.h"
#include "tools/lsp/StandardStreams.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: velmora-lsp [--stdio]\n"
    "The language server of Velmora's scripts: an editor starts it and speaks the\n"
    "Language Server Protocol with it on standard input and output. It checks\n"
    "data/scenario/main.txt with velmora-check's checks as the author types, and\n"
    "finds, renames and completes labels, pictures and voices.\n"
    "Options: --stdio is the default and only way; --help prints this text;\n"
    "--version prints the version.\n"
    "Exit status: 0 after shutdown and exit, 1 otherwise, 2 when the arguments are\n"
    "wrong.\n";

// What the game's code would log (a picture's warnings in a hover) goes to
// the editor's log of the server, never into a file where the editor runs it.
void LogToStderr(const char* line) {
    std::cerr << "velmora-lsp: " << line << "\n";
}

int Serve() {
    fs::path scratch = MakeScratchFolder();
    if (scratch.empty()) {
        std::cerr << "velmora-lsp: cannot make a scratch folder in " << fs::temp_directory_path()
                  << "\n";
        return 1;
    }
    CheckSession session(LogToStderr);
    if (!session.FontEngineStarted()) std::cerr << "velmora-lsp: the font engine does not start\n";
    int status = 1;
    {
        Server server(std::cout, std::cerr, scratch);
        // Answers are written from a walk's thread under the server's lock;
        // std::cin tied to std::cout would flush it from here, outside that
        // lock, and could drop a reply's body after its header.
        std::cin.tie(nullptr);
        MessageReader reader(std::cin);
        std::string body, problem;
        while (!server.Exited()) {
            MessageReader::Result result = reader.Next(body, problem);
            if (!problem.empty()) server.Dropped(problem);
            if (result == MessageReader::Result::kEnd) break;
            if (result == MessageReader::Result::kMessage) server.Handle(body);
        }
        status = server.ExitStatus();
    }
    std::error_code error;
    fs::remove_all(scratch, error);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    ToolCommandLine commandLine({"velmora-lsp", kUsage, {"--stdio"}, {}, 0});
    if (!commandLine.Parse(argc, argv, std::cout, std::cerr)) return commandLine.ExitStatus();
    MakeStandardStreamsBinary();
    std::ios::sync_with_stdio(false);
    return Serve();
}
