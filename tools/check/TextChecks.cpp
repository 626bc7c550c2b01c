#include "tools/check/TextChecks.h"

#include <sstream>

namespace {

// The length of the UTF-8 sequence that starts with lead, or 0 when lead
// cannot start one of two or more bytes.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool LooksLikeUtf8(const std::string& line) {
    bool multiByte = false;
    for (size_t i = 0; i < line.size();) {
        unsigned char byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        size_t length = SequenceLength(byte);
        if (length == 0 || i + length > line.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(line[i + k]))) return false;
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

std::vector<PhysicalLine> PhysicalLines(const std::string& bytes, size_t maxLength) {
    std::vector<PhysicalLine> lines;
    int gameLine = 1;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        size_t length = end - start;
        size_t pieces = length == 0 ? 1 : (length + maxLength - 1) / maxLength;
        lines.push_back({start, length, gameLine, pieces});
        gameLine += static_cast<int>(pieces);
        start = end;
        if (start < bytes.size()) {
            char first = bytes[start++];
            char pair = first == '\r' ? '\n' : '\r';
            if (start < bytes.size() && bytes[start] == pair) ++start;
        }
    }
    return lines;
}

std::vector<LongLine> LongPhysicalLines(const std::string& bytes, size_t maxLength) {
    std::vector<LongLine> found;
    for (const PhysicalLine& line : PhysicalLines(bytes, maxLength)) {
        if (line.length > maxLength) found.push_back({line.gameLine, line.length, line.pieces});
    }
    return found;
}

TextBoxLayout::TextBoxLayout(const Stage& stage, int canvasWidth)
    : lineHeight(stage.primaryFont.LineHeight()),
      textOffsetX(stage.textOffsetX),
      textOffsetY(stage.textOffsetY),
      boxHeight(stage.menuBackground.Height()),
      canvasWidth(canvasWidth) {
    for (int byte = 0; byte < 256; ++byte)
        advances[byte] = stage.primaryFont.CharWidth(static_cast<unsigned char>(byte));
}

int TextBoxLayout::Width(const std::string& text) const {
    int width = 0;
    for (unsigned char byte : text)
        width += advances[byte];
    return width;
}

void TextBoxLayout::Measure(int x, const std::string& text, int firstLine, Overflow& worst) const {
    std::istringstream lines(text);
    std::string screenLine;
    for (int number = firstLine; std::getline(lines, screenLine); ++number) {
        int past = x + Width(screenLine) - canvasWidth;
        if (past > worst.pixels) worst = {past, number};
    }
}

// The label and the text start on one screen line; the text's later lines
// start under its first character, where the label's whole width has put it.
TextBoxLayout::Overflow TextBoxLayout::SpokenLine(const std::string& speaker,
                                                  const std::string& text) const {
    Overflow worst;
    int textX = textOffsetX;
    if (!speaker.empty()) {
        std::string label = speaker + ": ";
        Measure(textOffsetX, label, 1, worst);
        textX += Width(label);
    }
    Measure(textX, text, 1, worst);
    return worst;
}

TextBoxLayout::Overflow TextBoxLayout::Choice(const std::string& text) const {
    Overflow worst;
    Measure(textOffsetX, text, 1, worst);
    return worst;
}

int TextBoxLayout::MenuHeight(size_t choices) const {
    return textOffsetY + static_cast<int>(choices) * lineHeight;
}
