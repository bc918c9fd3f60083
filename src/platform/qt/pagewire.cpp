#include "platform/qt/pagewire.h"

namespace lumiko::desktop::pagewire {

std::string encode(const Message& message) {
    std::string line;
    for (size_t i = 0; i < message.size(); ++i) {
        if (i) line += '\t';
        for (const char c : message[i]) {
            switch (c) {
                case '\\': line += "\\\\"; break;
                case '\t': line += "\\t"; break;
                case '\n': line += "\\n"; break;
                default: line += c;
            }
        }
    }
    line += '\n';
    return line;
}

std::optional<Message> decode(std::string_view line) {
    Message fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c != '\\') {
            fields.back() += c;
        } else {
            if (++i == line.size()) return std::nullopt;
            switch (line[i]) {
                case '\\': fields.back() += '\\'; break;
                case 't': fields.back() += '\t'; break;
                case 'n': fields.back() += '\n'; break;
                default: return std::nullopt;
            }
        }
    }
    return fields;
}

void Reader::feed(std::string_view bytes) {
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_ += bytes;
}

std::optional<Message> Reader::next() {
    for (;;) {
        const size_t end = buffer_.find('\n', start_);
        if (end == std::string::npos) {
            // A line that outgrows the bound is dropped as it comes, so the
            // buffer never holds more than one bound's worth.
            if (buffer_.size() - start_ > kMaxMessage) {
                if (!skipping_) ++dropped_;
                skipping_ = true;
                buffer_.clear();
                start_ = 0;
            }
            return std::nullopt;
        }
        const std::string_view line(buffer_.data() + start_, end - start_);
        const bool wasSkipping = skipping_;
        start_ = end + 1;
        skipping_ = false;
        if (wasSkipping) continue;
        if (line.size() > kMaxMessage) {
            ++dropped_;
            continue;
        }
        if (auto message = decode(line)) return message;
        ++dropped_;
    }
}

}  // namespace lumiko::desktop::pagewire
