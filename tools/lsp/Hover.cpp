// What the editor shows under the mouse: a command's parameters and guide
// sentence, a picture, a label's jumps, the frame the player sees.
#include <algorithm>
#include <filesystem>

#include "core/Exception.h"
#include "core/GamePaths.h"
#include "graphics/Picture.h"
#include "tools/lsp/CallContext.h"
#include "tools/lsp/CommandDocs.h"
#include "tools/lsp/DocumentPlace.h"
#include "tools/lsp/Features.h"
#include "tools/lsp/Protocol.h"

namespace fs = std::filesystem;

namespace features {

namespace {

// Frames and pictures show at most this wide: a hover is a small window,
// and a frame at its full size hides its text box below the hover's edge.
const int kHoverWidth = 320;
// The editor's hover is 250 px tall on a usual screen and scrolls beyond: a
// frame under its heading line is seen whole up to this height, and under a
// command's signature too up to the second (its guide sentence goes below).
const int kFrameHeight = 200;
const int kFrameUnderSignatureHeight = 150;

Json Markdown(const std::string& text, int line, int from, int to) {
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range", protocol::RangeJson(line, from, to)}};
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

std::string SignatureText(const std::string& command) {
    return "```velmora\n" + Signature(command) + "\n```";
}

std::string CommandText(const std::string& command) {
    return SignatureText(command) + "\n\n" + GuideSentence(command);
}

// An image at the given width; the editor keeps its proportions.
std::string Image(const std::string& path, const std::string& alt, int width) {
    return "![" + alt + "](" + UriFromPath(path) + "|width=" + std::to_string(width) + ")";
}

std::string PictureText(const std::string& relative, const std::string& path) {
    ::Picture picture;
    try {
        picture.LoadImage(path.c_str());
    } catch (const Exception& e) {
        return "`" + relative + "`: " + e.Message();
    }
    return "`" + relative + "`, " + std::to_string(picture.Width()) + " × " +
           std::to_string(picture.Height()) + " pixels\n\n" +
           Image(path, relative, std::min(picture.Width(), kHoverWidth));
}

bool WaitsForPlayer(const Statement* statement) {
    if (!statement || statement->kind != StmtCall) return false;
    const std::string& name = std::get<CallStatement>(statement->payload).function;
    return name == "say" || name == "menu" || name == "delay";
}

std::string LabelText(const std::string& label, const LabelInfo& info) {
    size_t n = info.uses.size();
    std::string jumps = std::to_string(n) + (n == 1 ? " place jumps" : " places jump") + " to it";
    if (!info.definition)
        return "label `" + label + "` does not exist: no line `:" + label + "` defines it, and " +
               jumps;
    return "label `" + label + "`: " + jumps;
}

Json LabelHover(const Analysis& analysis, const Position& at, const std::string& label) {
    const LabelInfo& info = analysis.index.Labels().at(label);
    Occurrence o{};
    if (info.definition && info.definition->line == at.line) o = *info.definition;
    for (const Occurrence& use : info.uses)
        if (use.line == at.line && at.character >= use.from && at.character <= use.to) o = use;
    return Markdown(ScriptBytesToUtf8(LabelText(label, info)), at.line, o.from, o.to);
}

// The width at which the frame, kept in proportion, fits the hover.
int FrameWidth(const std::string& png, int height) {
    ::Picture frame;
    try {
        frame.LoadImage(png.c_str());
    } catch (const Exception&) {
        return kHoverWidth;
    }
    if (frame.Width() <= 0 || frame.Height() <= 0) return kHoverWidth;
    return std::min(kHoverWidth, height * frame.Width() / frame.Height());
}

}  // namespace

Json FrameHover(const FrameQuestion& question, const std::string& png) {
    int height = question.before.empty() ? kFrameHeight : kFrameUnderSignatureHeight;
    std::string frame = png.empty() ? "The storyboard's walk does not reach this line."
                                    : "The frame the player sees here:\n\n" +
                                          Image(png, "frame", FrameWidth(png, height));
    std::string text = question.before.empty() ? frame : question.before + "\n\n" + frame;
    if (!question.after.empty()) text += "\n\n" + question.after;
    return Markdown(text, question.line, question.from, question.to);
}

Json Hover(const Analysis& analysis, const Position& at, std::optional<FrameQuestion>& frame) {
    if (at.line < 0 || at.line >= static_cast<int>(analysis.byteLines.size())) return nullptr;
    const std::string& line = analysis.byteLines[at.line];
    if (const std::string* label = analysis.index.LabelAt(at))
        return LabelHover(analysis, at, *label);
    CallContext context = ContextAt(line, at.character);
    bool known =
        !context.parameters.empty() || context.command == "goto" || context.command == "if";
    bool onCommand =
        known && at.character >= context.commandFrom && at.character <= context.commandTo;
    bool waits =
        WaitsForPlayer(analysis.index.StatementAt(at.line)) && !analysis.place.gameFolder.empty();
    if (onCommand && !waits)
        return Markdown(CommandText(context.command), at.line, context.commandFrom,
                        context.commandTo);
    FileKind kind = FileKindOf(context.command, context.parameter);
    if (context.inString && kind == FileKind::kPicture && !analysis.place.gameFolder.empty()) {
        std::string name = line.substr(context.stringFrom, context.stringTo - context.stringFrom);
        std::string relative = paths::Picture(ScriptBytesToUtf8(name));
        std::string path = (fs::path(analysis.place.gameFolder) / paths::Picture(name)).string();
        return Markdown(PictureText(relative, path), at.line, context.stringFrom, context.stringTo);
    }
    if (!waits) return nullptr;
    int gameLine = analysis.lines.GameLineOf(at.line);
    if (onCommand)
        frame = FrameQuestion{gameLine,
                              at.line,
                              context.commandFrom,
                              context.commandTo,
                              SignatureText(context.command),
                              GuideSentence(context.command)};
    else
        frame =
            FrameQuestion{gameLine, at.line, 0, Utf16Length(analysis.editorLines[at.line]), "", ""};
    return nullptr;
}

}  // namespace features
