// What the editor shows under the mouse: a command's parameters and guide
// sentence, a picture, a label's jumps, the frame the player sees.
#include <filesystem>

#include "core/Exception.h"
#include "core/GamePaths.h"
#include "graphics/Picture.h"
#include "tools/lsp/CallContext.h"
#include "tools/lsp/CommandDocs.h"
#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/FrameCache.h"

namespace fs = std::filesystem;

namespace features {

namespace {

Json Markdown(const std::string& text, int line, int from, int to) {
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range",
             {{"start", {{"line", line}, {"character", from}}},
              {"end", {{"line", line}, {"character", to}}}}}};
}

std::string Signature(const std::string& command) {
    if (command == "goto") return "goto label";
    if (command == "if") return "if condition label";
    std::string text = command;
    const char* separator = " ";
    for (const std::string& name : ParametersOf(command)) {
        text += separator + name;
        separator = ", ";
    }
    return text;
}

std::string Image(const std::string& path, const std::string& alt) {
    return "![" + alt + "](" + UriFromPath(path) + ")";
}

std::string PictureText(const std::string& relative, const std::string& path) {
    ::Picture picture;
    try {
        picture.LoadImage(path.c_str());
    } catch (const Exception& e) {
        return "`" + relative + "`: " + e.Message();
    }
    return "`" + relative + "`, " + std::to_string(picture.Width()) + " × " +
           std::to_string(picture.Height()) + " pixels\n\n" + Image(path, relative);
}

bool WaitsForPlayer(const Statement* statement) {
    if (!statement || statement->kind != StmtCall) return false;
    const std::string& name = std::get<CallStatement>(statement->payload).function;
    return name == "say" || name == "menu" || name == "delay";
}

Json FrameHover(const Analysis& analysis, const Position& at, FrameCache& frames,
                DocumentCheck& check) {
    if (analysis.place.gameFolder.empty()) return nullptr;
    int gameLine = analysis.lines.GameLineOf(at.line);
    std::string png =
        frames.FrameAt(analysis.place.gameFolder, analysis.script.bytes, gameLine, check);
    std::string text = png.empty() ? "The storyboard's walk does not reach this line."
                                   : "The frame the player sees here:\n\n" + Image(png, "frame");
    int end = Utf16Length(analysis.editorLines[at.line]);
    return Markdown(text, at.line, 0, end);
}

}  // namespace

Json Hover(const Analysis& analysis, const Position& at, FrameCache& frames, DocumentCheck& check) {
    if (at.line < 0 || at.line >= static_cast<int>(analysis.byteLines.size())) return nullptr;
    const std::string& line = analysis.byteLines[at.line];
    if (const std::string* label = analysis.index.LabelAt(at)) {
        const LabelInfo& info = analysis.index.Labels().at(*label);
        size_t n = info.uses.size();
        std::string text = "label `" + *label + "`: " + std::to_string(n) +
                           (n == 1 ? " place jumps" : " places jump") + " to it";
        Occurrence o =
            info.definition && info.definition->line == at.line ? *info.definition : Occurrence{};
        return Markdown(text, at.line, o.from, o.to);
    }
    CallContext context = ContextAt(line, at.character);
    bool known =
        !context.parameters.empty() || context.command == "goto" || context.command == "if";
    if (known && at.character >= context.commandFrom && at.character <= context.commandTo) {
        std::string text = "```velmora\n" + Signature(context.command) + "\n```\n\n" +
                           GuideSentence(context.command);
        return Markdown(text, at.line, context.commandFrom, context.commandTo);
    }
    FileKind kind = FileKindOf(context.command, context.parameter);
    if (context.inString && kind == FileKind::kPicture && !analysis.place.gameFolder.empty()) {
        std::string name = line.substr(context.stringFrom, context.stringTo - context.stringFrom);
        std::string relative = paths::Picture(ScriptBytesToUtf8(name));
        std::string path = (fs::path(analysis.place.gameFolder) / paths::Picture(name)).string();
        return Markdown(PictureText(relative, path), at.line, context.stringFrom, context.stringTo);
    }
    if (WaitsForPlayer(analysis.index.StatementAt(at.line)))
        return FrameHover(analysis, at, frames, check);
    return nullptr;
}

}  // namespace features
