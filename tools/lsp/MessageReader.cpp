#include "tools/lsp/MessageReader.h"

#include <cctype>
#include <limits>

namespace {

const char kLengthHeader[] = "content-length";

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A decimal count of at most limit; false for anything else.
bool ParseLength(const std::string& text, size_t limit, size_t& value) {
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<size_t>(c - '0');
        if (value > limit) return false;
    }
    return true;
}

// A body that ran into the next message's header leaves the header inside
// a broken line: reading starts again from there.
size_t ResumePoint(const std::string& line) {
    size_t at = Lower(line).find("content-length:");
    return at == std::string::npos ? 0 : at;
}

}  // namespace

MessageReader::Line MessageReader::ReadHeaderLine(std::string& line) {
    line.clear();
    for (int c = in.get(); c != EOF; c = in.get()) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return Line::kText;
        }
        if (line.size() >= kMaxHeaderLine) return Line::kTooLong;
        line.push_back(static_cast<char>(c));
    }
    return Line::kEnd;
}

// One "Name: value" line; false (with the problem) when it is none.
bool MessageReader::ParseHeader(const std::string& line, std::string& problem) {
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) {
        problem = "broken header line \"" + line.substr(0, 80) + "\"";
        return false;
    }
    if (Lower(Trim(line.substr(0, colon))) != kLengthHeader) return true;  // e.g. Content-Type
    std::string value = Trim(line.substr(colon + 1));
    if (!ParseLength(value, maxBody, length)) {
        problem = "Content-Length \"" + value.substr(0, 40) + "\" is not a length up to " +
                  std::to_string(maxBody);
        return false;
    }
    haveLength = true;
    return true;
}

MessageReader::Result MessageReader::Next(std::string& body, std::string& problem) {
    problem.clear();
    std::string line;
    for (;;) {
        Line got = ReadHeaderLine(line);
        if (got == Line::kEnd) {
            problem = line.empty() && !haveLength ? "" : "input ended inside a header";
            return Result::kEnd;
        }
        if (got == Line::kTooLong) {
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            haveLength = false;
            problem = "header line longer than " + std::to_string(kMaxHeaderLine) + " bytes";
            return Result::kBroken;
        }
        if (line.empty()) break;
        size_t resume = ResumePoint(line);
        if (resume > 0) {
            haveLength = false;
            ParseHeader(line.substr(resume), problem);
            problem = "bytes before a header skipped";
            return Result::kBroken;
        }
        if (!ParseHeader(line, problem)) {
            haveLength = false;
            return Result::kBroken;
        }
    }
    if (!haveLength) {
        problem = "message without a Content-Length";
        return Result::kBroken;
    }
    haveLength = false;
    body.assign(length, '\0');
    in.read(&body[0], static_cast<std::streamsize>(length));
    if (static_cast<size_t>(in.gcount()) != length) {
        problem = "input ended inside a message body";
        return Result::kEnd;
    }
    return Result::kMessage;
}

void WriteMessage(std::ostream& out, const std::string& body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}
