#include "tools/storyboard/IndexPage.h"

#include "core/Exception.h"
#include "graphics/CharacterTable.h"
#include "tools/storyboard/StoryMapPage.h"

namespace {

const char kHead[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>%TITLE%</title>
<style>
body { font-family: sans-serif; background: #f4f2ee; color: #222; margin: 1em 2em; }
main { display: flex; flex-wrap: wrap; gap: 12px; align-items: flex-start; }
.frame { width: 264px; background: #fff; border: 1px solid #ccc; padding: 6px; }
.frame img { width: 264px; height: auto; display: block; }
.frame:target, .branch:target { outline: 3px solid #e0a020; }
.where { color: #666; font-size: 80%; }
.speaker { font-weight: bold; }
.text { margin: 4px 0; white-space: pre-wrap; }
.path { color: #666; font-size: 80%; }
ol { margin: 4px 0; padding-left: 1.5em; }
.branch { flex-basis: 100%; margin: 12px 0 0; font-size: 110%; }
.note { flex-basis: 100%; margin: 0; padding: 4px 8px; background: #e8e6e0; }
.error { background: #f6d0d0; }
.warning { background: #f6ecc8; }
</style>
</head>
<body>
<h1>%TITLE%</h1>
<main>
)";

std::string Escaped(const std::string& utf8) {
    std::string html;
    for (char c : utf8) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string Html(const std::string& scriptText) {
    return Escaped(Utf8FromScript(scriptText));
}

std::string PathHtml(const std::vector<std::string>& path) {
    if (path.empty()) return "from the start";
    std::string html;
    for (const std::string& choice : path)
        html += (html.empty() ? "" : " &rarr; ") + Html(choice);
    return html;
}

std::string ChoicesHtml(const std::vector<IndexPage::Choice>& choices) {
    std::string html = "<ol>";
    for (const IndexPage::Choice& choice : choices) {
        if (choice.anchor.empty()) {
            html += "<li>" + Html(choice.text) + " <em>(cannot be clicked)</em></li>";
        } else {
            html += "<li><a href=\"#" + choice.anchor + "\">" + Html(choice.text) + "</a></li>";
        }
    }
    return html + "</ol>";
}

const char* NoteClass(IndexPage::NoteKind kind) {
    switch (kind) {
        case IndexPage::NoteKind::kError:
            return "note error";
        case IndexPage::NoteKind::kWarning:
        case IndexPage::NoteKind::kStop:
            return "note warning";
        default:
            return "note";
    }
}

std::string WithTitle(std::string text, const std::string& title) {
    const std::string mark = "%TITLE%";
    for (size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), title);
    return text;
}

}  // namespace

std::string Utf8FromScript(const std::string& text) {
    std::string utf8;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        const char* converted = CharacterToUtf8(byte);
        bool lone = byte >= 0x80 && converted[1] == '\0';
        utf8 += lone ? "\xEF\xBF\xBD" : converted;
    }
    return utf8;
}

IndexPage::IndexPage(const std::string& path, const std::string& title) : path(path) {
    if (path.empty()) return;
    out.open(path, std::ios::binary | std::ios::trunc);
    if (!out) throw Exception("Couldn't write %s", path.c_str());
    Write(WithTitle(kHead, Escaped(title)));
}

std::string IndexPage::FrameAnchor(int number) {
    return "f" + std::to_string(number);
}

std::string IndexPage::BranchAnchor(int menuFrame, size_t choice) {
    return "b" + std::to_string(menuFrame) + "-" + std::to_string(choice + 1);
}

void IndexPage::AddFrame(const Frame& frame) {
    std::string html = "<section class=\"frame\" id=\"" + FrameAnchor(frame.number) + "\">";
    html += "<a href=\"" + Escaped(frame.file) + "\"><img src=\"" + Escaped(frame.file) +
            "\" loading=\"lazy\" alt=\"frame " + std::to_string(frame.number) + "\"></a>";
    html += "<div class=\"where\">" + std::to_string(frame.number) + ": line " +
            std::to_string(frame.line) + "</div><div class=\"text\">";
    if (!frame.speaker.empty())
        html += "<span class=\"speaker\">" + Html(frame.speaker) + ":</span> ";
    html += Html(frame.text) + "</div>";
    if (!frame.choices.empty()) html += ChoicesHtml(frame.choices);
    html += "<div class=\"path\">" + PathHtml(frame.path) + "</div></section>\n";
    Write(html);
}

void IndexPage::StartBranch(const std::string& anchor, const std::vector<std::string>& path) {
    Write("<h2 class=\"branch\" id=\"" + anchor + "\">" + PathHtml(path) + "</h2>\n");
}

void IndexPage::AddNote(NoteKind kind, const std::string& text, int linkFrame) {
    std::string html = std::string("<p class=\"") + NoteClass(kind) + "\">" + Html(text);
    if (linkFrame > 0) {
        html += " <a href=\"#" + FrameAnchor(linkFrame) + "\">frame " + std::to_string(linkFrame) +
                "</a>";
    }
    Write(html + "</p>\n");
}

void IndexPage::AddMap(const std::string& svg, const std::string& json) {
    Write(StoryMapSection(svg, json));
}

void IndexPage::Finish(const std::string& summary) {
    if (path.empty()) return;
    Write("</main>\n<p>" + Html(summary) + "</p>\n</body>\n</html>\n");
    out.close();
    if (!out) throw Exception("Couldn't write %s", path.c_str());
}

void IndexPage::Write(const std::string& html) {
    if (!path.empty()) out << html;
}
