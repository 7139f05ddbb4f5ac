#include "tools/glyph_drawings.h"

#include <charconv>

namespace tavlo::tools {
namespace {

bool IsRow(std::string_view line) {
    return !line.empty() && line.find_first_not_of("#.") == std::string_view::npos;
}

// The key of a block header "[key] label" (the line starts with '['), or an error.
bool ReadHeader(std::string_view line, std::string& key, std::string& error) {
    const auto close = line.find(']');
    if (close == std::string_view::npos || close == 1) {
        error = "expected a block header such as [0x41] or [mark acute capital]";
        return false;
    }
    key = std::string(line.substr(1, close - 1));
    return true;
}

// A glyph key "0x41" as its code; -1 for a named block, -2 for a malformed code.
int CodeOfKey(const std::string& key) {
    if (key.size() < 3 || key[0] != '0' || (key[1] != 'x' && key[1] != 'X')) {
        return -1;
    }
    int code = 0;
    const char* end = key.data() + key.size();
    const auto [ptr, ec] = std::from_chars(key.data() + 2, end, code, 16);
    if (ec != std::errc() || ptr != end || code < 0 || code > 255) {
        return -2;
    }
    return code;
}

// Takes the drawings line by line; each step says what is wrong with its line, or nothing.
class DrawingParser {
public:
    explicit DrawingParser(int height) : height_(height) {}

    std::string TakeLine(std::string_view line);
    // What is wrong with the last block, if anything.
    std::string Finish() { return inBlock_ && !FinishBlock() ? ShortBlock() : std::string(); }
    DrawingSet TakeSet() { return std::move(set_); }

private:
    std::string TakeRow(std::string_view line);
    std::string TakeHeader(std::string_view line);
    bool FinishBlock();
    std::string ShortBlock() const {
        return "[" + key_ + "] has " + std::to_string(drawing_.rows.size()) + " rows instead of " +
               std::to_string(height_);
    }

    int height_;
    DrawingSet set_;
    std::string key_;
    int code_ = -1;
    Drawing drawing_;
    bool inBlock_ = false;
};

std::string DrawingParser::TakeLine(std::string_view line) {
    if (!line.empty() && line.front() == ';') {
        return {};
    }
    const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
    if (IsRow(line)) {
        return TakeRow(line);
    }
    if (!blank && line.front() != '[') {
        return inBlock_ ? "a row may hold only '#' and '.'"
                        : "expected a block header such as [0x41] or [mark acute capital]";
    }
    if (inBlock_ && !FinishBlock()) {
        return ShortBlock();
    }
    return blank ? std::string() : TakeHeader(line);
}

std::string DrawingParser::TakeRow(std::string_view line) {
    if (!inBlock_) {
        return "a row outside a block";
    }
    if (static_cast<int>(drawing_.rows.size()) == height_) {
        return "more than " + std::to_string(height_) + " rows in [" + key_ + "]";
    }
    if (!drawing_.rows.empty() && line.size() != drawing_.rows.front().size()) {
        return "a row of another width in [" + key_ + "]";
    }
    drawing_.rows.emplace_back(line);
    return {};
}

std::string DrawingParser::TakeHeader(std::string_view line) {
    std::string error;
    if (!ReadHeader(line, key_, error)) {
        return error;
    }
    code_ = CodeOfKey(key_);
    if (code_ == -2) {
        return "[" + key_ + "] is not a code from 0x00 to 0xFF";
    }
    if (code_ >= 0 ? set_.glyphs.count(code_) != 0 : set_.named.count(key_) != 0) {
        return "[" + key_ + "] is drawn twice";
    }
    inBlock_ = true;
    return {};
}

bool DrawingParser::FinishBlock() {
    if (static_cast<int>(drawing_.rows.size()) != height_) {
        return false;
    }
    if (code_ >= 0) {
        set_.glyphs.emplace(code_, std::move(drawing_));
    } else {
        set_.named.emplace(key_, std::move(drawing_));
    }
    drawing_ = {};
    inBlock_ = false;
    return true;
}

}  // namespace

DrawingParse ParseDrawings(std::string_view text, int height) {
    DrawingParser parser(height);
    DrawingParse result;
    int lineNumber = 0;
    const auto fail = [&](const std::string& what) {
        result.error = "line " + std::to_string(lineNumber) + ": " + what;
        return result;
    };
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (const std::string error = parser.TakeLine(line); !error.empty()) {
            return fail(error);
        }
    }
    if (const std::string error = parser.Finish(); !error.empty()) {
        return fail(error);
    }
    result.set = parser.TakeSet();
    return result;
}

}  // namespace tavlo::tools
