#include "tools/lsp/Analysis.h"

#include "tools/lsp/TextPosition.h"

Analysis::Analysis(DocumentPlace place, const std::string& utf8)
    : place(std::move(place)),
      script(ToScriptText(utf8)),
      lines(script.bytes),
      editorLines(SplitLines(utf8)),
      byteLines(SplitLines(script.bytes)) {}
