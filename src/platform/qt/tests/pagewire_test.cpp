#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/qt/pagewire.h"

namespace lumiko::desktop::pagewire {
namespace {

TEST(PageWire, FieldsComeBackAsTheyWereSent) {
    const std::vector<Message> cases = {
        {"reload"},
        {"url", "file:///run/user/1000/lumiko/page-Ab12/s1.html"},
        {"run", "var e=document.getElementsByName(\"kw\")[0];\n\te.value='a\\\\b'"},
        {"report", ""},
        {"", "", ""},
        {"size", "431", "379"},
        {"report", std::string("\x01lumiko-page 3 [[[1,\"\xe7\x8e\x8b\"]],[]]")},
        {"run", "\\n is not a line break, \\t not a tab, \\\\ one backslash"},
    };
    for (const Message& m : cases) {
        const std::string line = encode(m);
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
        EXPECT_EQ(decode(std::string_view(line).substr(0, line.size() - 1)), m) << line;
        // The same through a reader fed a byte at a time.
        Reader reader;
        for (const char c : line) {
            EXPECT_FALSE(reader.next());
            reader.feed(std::string_view(&c, 1));
        }
        EXPECT_EQ(reader.next(), m) << line;
        EXPECT_FALSE(reader.next());
    }
}

TEST(PageWire, BrokenEscapesAreRefused) {
    for (const char* line : {"run\t\\", "run\t\\x41", "a\\", "\\r"}) EXPECT_FALSE(decode(line)) << line;
}

// What the page's process sends is a stranger's: lines too long or broken are
// passed over, whole, and the messages after them still arrive.
TEST(PageWire, ReaderPassesOverLinesTooLongOrBroken) {
    Reader reader;
    reader.feed(encode({"loadStarted"}));
    reader.feed("bad\\q\n");
    const std::string huge(kMaxMessage + 10, 'x');
    reader.feed(huge.substr(0, kMaxMessage / 2));
    EXPECT_EQ(reader.next(), Message{"loadStarted"});
    EXPECT_FALSE(reader.next());
    reader.feed(huge.substr(kMaxMessage / 2));  // now over the bound, still without its end
    EXPECT_FALSE(reader.next());
    reader.feed("tail of the long line\n");
    reader.feed(encode({"loadFinished", "1"}));
    reader.feed(std::string(kMaxMessage + 1, 'y') + "\n");  // too long, though whole
    reader.feed(encode({"newWindow"}));
    EXPECT_EQ(reader.next(), (Message{"loadFinished", "1"}));
    EXPECT_EQ(reader.next(), Message{"newWindow"});
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.dropped(), 3u);
}

// Messages of any bytes, fed in pieces of any size, come out as they went in.
TEST(PageWire, AnyBytesInAnyPiecesComeBackWhole) {
    std::mt19937 random(24);
    const std::string alphabet("ab\\\t\n \x01\xff\0", 9);  // a zero byte too
    for (int round = 0; round < 200; ++round) {
        std::vector<Message> sent(1 + random() % 5);
        std::string stream;
        for (Message& m : sent) {
            m.resize(1 + random() % 4);
            for (std::string& field : m)
                for (size_t n = random() % 12; n > 0; --n) field += alphabet[random() % alphabet.size()];
            stream += encode(m);
        }
        Reader reader;
        std::vector<Message> received;
        for (size_t at = 0; at < stream.size();) {
            const size_t piece = std::min<size_t>(1 + random() % 9, stream.size() - at);
            reader.feed(std::string_view(stream).substr(at, piece));
            at += piece;
            while (auto m = reader.next()) received.push_back(*m);
        }
        EXPECT_EQ(received, sent);
        EXPECT_EQ(reader.dropped(), 0u);
    }
}

}  // namespace
}  // namespace lumiko::desktop::pagewire
