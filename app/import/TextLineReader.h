#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Reads the lines of a text held in memory; a line ends with LF or CR LF, and the last line
// needs no line end. The lines are views into the text.
class TextLineReader {
public:
    explicit TextLineReader(std::span<const std::uint8_t> text)
        : text_(reinterpret_cast<const char*>(text.data()), text.size()) {}

    // false at the end of the text
    bool next(std::string_view& line) {
        if (position_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', position_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(position_, end - position_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        position_ = end + 1;
        return true;
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};
