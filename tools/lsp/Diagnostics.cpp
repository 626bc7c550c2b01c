#include "tools/lsp/Diagnostics.h"

#include "tools/lsp/Protocol.h"

using nlohmann::json;

namespace {

json Diagnostic(int line, int from, int to, int severity, const std::string& message) {
    return {{"range", protocol::RangeJson(line, from, to)},
            {"severity", severity},
            {"source", "velmora"},
            {"message", message}};
}

int LineLength(const std::vector<std::string>& lines, int line) {
    if (line < 0 || line >= static_cast<int>(lines.size())) return 0;
    return Utf16Length(lines[line]);
}

// Messages come from the script's Windows-1251 bytes (names, quoted text);
// the editor shows UTF-8.
json FromFinding(const Finding& finding, const LineMap& map,
                 const std::vector<std::string>& editorLines) {
    int severity = finding.severity == Finding::Error ? 1 : 2;
    std::string message = ScriptBytesToUtf8(finding.message);
    if (finding.line == 0)
        return Diagnostic(0, 0, LineLength(editorLines, 0), severity,
                          finding.path + ": " + message);
    Position at = map.OfGameLine(finding.line);
    int end = LineLength(editorLines, at.line);
    return Diagnostic(at.line, std::min(at.character, end), end, severity, message);
}

}  // namespace

json ToDiagnostics(const std::vector<Finding>& findings, const ScriptText& script,
                   const LineMap& lines, const std::vector<std::string>& editorLines) {
    json all = json::array();
    for (const Finding& finding : findings)
        all.push_back(FromFinding(finding, lines, editorLines));
    for (const ScriptText::Foreign& foreign : script.foreign) {
        int units = foreign.codePoint >= 0x10000 ? 2 : 1;
        all.push_back(Diagnostic(foreign.line, foreign.character, foreign.character + units, 2,
                                 ForeignMessage(foreign.codePoint)));
    }
    return all;
}
