// The messages between the panel and the process that shows the handwriting
// page (lumiko-page): one message a line, its fields apart by tabs, with
// backslashes, tabs and line breaks inside a field escaped (\\, \t, \n).
// The page's process shows what a web page gives it, so what it sends is
// read as coming from a stranger: a line longer than kMaxMessage is dropped
// whole, and a line that does not decode is dropped.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumiko::desktop::pagewire {

using Message = std::vector<std::string>;

// What the panel's watcher in the page writes before each report to the
// page's console, where the page's process looks for it.
constexpr const char* kReportPrefix = "\x01lumiko-page ";

// Ample for what the panel asks of the page and the page reports of its
// fields and links.
constexpr size_t kMaxMessage = 1 << 20;

// The line of a message, its line break included.
std::string encode(const Message& message);
// The fields of a line without its line break; nothing for a line with an
// unknown escape or a lone backslash at its end.
std::optional<Message> decode(std::string_view line);

// Cuts a stream into messages.
class Reader {
public:
    void feed(std::string_view bytes);
    // The next whole message, or nothing until more bytes come. Lines that
    // are too long or do not decode are passed over.
    std::optional<Message> next();
    size_t dropped() const { return dropped_; }

private:
    std::string buffer_;
    size_t start_ = 0;
    bool skipping_ = false;  // inside a line too long, until its line break
    size_t dropped_ = 0;
};

}  // namespace lumiko::desktop::pagewire
