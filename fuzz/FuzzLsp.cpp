// The language server's input as an editor's pipe carries it: framed
// messages read by the message reader, each body handed to a fresh server.
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/support/FuzzInput.h"
#include "graphics/CharacterTable.h"
#include "tools/lsp/MessageReader.h"
#include "tools/lsp/Server.h"

namespace {

// Bodies of a few kilobytes reach every path of the reader and the server;
// the reader's own limit is tried with a small one.
const size_t kMaxBody = 64 * 1024;
const int kMessageLimit = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool tableBuilt = (BuildCharacterTable(), true);
    (void)tableBuilt;
    fuzzing::InScratchDirectory here;
    std::filesystem::create_directories("lsp");
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out, log;
    fuzzing::RunAccepted([&] {
        Server server(out, log, std::filesystem::absolute("lsp"));
        MessageReader reader(in, kMaxBody);
        std::string body, problem;
        for (int i = 0; i < kMessageLimit && !server.Exited(); ++i) {
            MessageReader::Result result = reader.Next(body, problem);
            if (result == MessageReader::Result::kEnd) break;
            if (result == MessageReader::Result::kMessage) server.Handle(body);
        }
    });
    return 0;
}
