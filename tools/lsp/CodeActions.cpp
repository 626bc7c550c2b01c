// Quick fixes: for a finding that one edit mends, the edits that would.
#include <algorithm>
#include <filesystem>
#include <regex>

#include "core/GamePaths.h"
#include "tools/lsp/CallContext.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/NamedFiles.h"
#include "tools/lsp/Protocol.h"

namespace fs = std::filesystem;

namespace features {

namespace {

// Offered at most, nearest first.
const size_t kNearest = 3;

// Edits to turn a into b, a swap of two neighbours counting as one.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The candidates nearest to name, and none farther than half its length
// (a wholly different word is no mending).
std::vector<std::string> Nearest(const std::string& name, std::vector<std::string> candidates) {
    std::vector<std::pair<size_t, std::string>> scored;
    for (std::string& candidate : candidates) {
        size_t distance = EditDistance(name, candidate);
        if (candidate != name && distance <= std::max<size_t>(1, name.size() / 2))
            scored.emplace_back(distance, std::move(candidate));
    }
    std::sort(scored.begin(), scored.end());
    std::vector<std::string> nearest;
    for (size_t i = 0; i < scored.size() && i < kNearest; ++i)
        nearest.push_back(std::move(scored[i].second));
    return nearest;
}

struct Fix {
    const Analysis& analysis;
    const std::string& uri;
    const Json& diagnostic;
    Json& actions;

    void Offer(const std::string& title, const Json& range, const std::string& text) {
        Json edit = {{"range", range}, {"newText", ScriptBytesToUtf8(text)}};
        actions.push_back({{"title", ScriptBytesToUtf8(title)},
                           {"kind", "quickfix"},
                           {"diagnostics", Json::array({diagnostic})},
                           {"isPreferred", actions.empty()},
                           {"edit", {{"changes", {{uri, Json::array({edit})}}}}}});
    }
    void Replace(int line, int from, const std::string& old, const std::vector<std::string>& to) {
        for (const std::string& name : to)
            Offer("Change to " + name,
                  protocol::RangeJson(line, from, from + static_cast<int>(old.size())), name);
    }
};

std::vector<std::string> DefinedLabels(const Analysis& analysis) {
    std::vector<std::string> names;
    for (const auto& [name, info] : analysis.index.Labels())
        if (info.definition) names.push_back(name);
    return names;
}

// A label at the script's end, on a line of its own.
void CreateLabel(Fix& fix, const std::string& label) {
    const std::vector<std::string>& lines = fix.analysis.editorLines;
    int last = static_cast<int>(lines.size()) - 1;
    int end = Utf16Length(lines[last]);
    std::string text = (end == 0 ? ":" : "\n:") + label + "\n";
    fix.Offer("Create the label " + label + " at the end", protocol::RangeJson(last, end, end),
              text);
}

void UndefinedLabel(Fix& fix, int line, const std::string& label) {
    auto found = fix.analysis.index.Labels().find(label);
    if (found == fix.analysis.index.Labels().end()) return;
    for (const Occurrence& use : found->second.uses) {
        if (use.line == line)
            fix.Replace(line, use.from, label, Nearest(label, DefinedLabels(fix.analysis)));
    }
    CreateLabel(fix, label);
}

void UnknownCommand(Fix& fix, int line, const std::string& command) {
    CallContext context = ContextAt(fix.analysis.byteLines[line], 0);
    if (context.command != command) return;
    fix.Replace(line, context.commandFrom, command, Nearest(command, CommandNames()));
}

// A picture or voice the game cannot read because it is not there.
void MissingFile(Fix& fix, int line, const std::string& path) {
    const std::string& folder = fix.analysis.place.gameFolder;
    std::error_code error;
    if (folder.empty() || fs::exists(fs::path(folder) / path, error)) return;
    bool picture = path.rfind(paths::kPictureFolder, 0) == 0;
    std::string prefix = picture ? paths::kPictureFolder : paths::kVoiceFolder;
    std::string ending = picture ? paths::kPictureEnding : paths::kVoiceEnding;
    bool named = path.rfind(prefix, 0) == 0 && path.size() > prefix.size() + ending.size() &&
                 path.compare(path.size() - ending.size(), ending.size(), ending) == 0;
    if (!named) return;  // a start-up file, which no script names
    FileKind kind = picture ? FileKind::kPicture : FileKind::kVoice;
    std::string name = path.substr(prefix.size(), path.size() - prefix.size() - ending.size());
    size_t quoted = fix.analysis.byteLines[line].find("\"" + name + "\"");
    if (quoted == std::string::npos) return;
    fix.Replace(line, static_cast<int>(quoted) + 1, name, Nearest(name, NamedFiles(folder, kind)));
}

void FixesFor(Fix& fix) {
    static const std::regex label("Undefined label (\\S+)");
    static const std::regex command("Engine function \"(.+)\" not found");
    static const std::regex file("Read error in (.+)");
    int line = protocol::PositionFrom(fix.diagnostic.at("range").at("start")).line;
    if (line < 0 || line >= static_cast<int>(fix.analysis.byteLines.size())) return;
    // The editor sends back the message it was given, in UTF-8.
    std::string message = ToScriptText(fix.diagnostic.value("message", "")).bytes;
    std::smatch m;
    if (std::regex_match(message, m, label)) return UndefinedLabel(fix, line, m[1]);
    if (std::regex_match(message, m, command)) return UnknownCommand(fix, line, m[1]);
    if (std::regex_match(message, m, file)) return MissingFile(fix, line, m[1]);
}

}  // namespace

Json CodeActions(const Analysis& analysis, const std::string& uri, const Json& diagnostics) {
    Json actions = Json::array();
    for (const Json& diagnostic : diagnostics) {
        Fix fix{analysis, uri, diagnostic, actions};
        FixesFor(fix);
    }
    return actions;
}

}  // namespace features
