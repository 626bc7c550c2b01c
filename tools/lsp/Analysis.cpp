#include "tools/lsp/Analysis.h"

#include "tools/lsp/TextDocument.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    return TextDocument("", text, 0).Lines();
}

}  // namespace

Analysis::Analysis(DocumentPlace place, const std::string& utf8)
    : place(std::move(place)),
      script(ToScriptText(utf8)),
      lines(script.bytes),
      editorLines(SplitLines(utf8)),
      byteLines(SplitLines(script.bytes)) {}
