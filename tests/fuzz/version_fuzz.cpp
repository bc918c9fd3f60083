// The update check over any downloaded page: the announced version is the
// text between the first "Ж" and the next "Й" after it, read byte for byte;
// the check then says there is no update, or asks with that version, cut
// after 64 bytes.
#include <cstdlib>
#include <iostream>

#include "app/app.h"
#include "support/fuzz_input.h"
#include "support/memory_services.h"

namespace {

using lumiko::Text;

// Empty when a marker is missing.
Text plainVersion(const std::string& page) {
    const std::string open = "Ж", close = "Й";
    const size_t o = page.find(open);
    if (o == std::string::npos) return {};
    const size_t c = page.find(close, o + open.size());
    if (c == std::string::npos) return {};
    return page.substr(o + open.size(), c - o - open.size());
}

[[noreturn]] void fail(const std::string& what) {
    std::cerr << what << '\n';
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A panel of its own for each input, so that everything it allocates is
    // released before the leak check that follows each input.
    lumiko::fuzz::MemoryServices desk;
    lumiko::App app(desk);
    app.startUp();

    const std::string page(reinterpret_cast<const char*>(data), size);
    const Text version = plainVersion(page);
    if (lumiko::App::extractVersion(page) != version) fail("version read differently");

    desk.network = 1;
    desk.httpOk = true;
    desk.httpBody = page;
    desk.messages.clear();  // start-up tells of the missing tables
    app.updateCheck();
    if (desk.messages.size() != 1) fail("one message expected");
    const auto& m = desk.messages.front();
    if (m.title != "Lumiko 1.0") fail("message title");
    if (version == "Lumiko 1.0") {
        if (m.text != "未检测到版本更新" || m.buttons != lumiko::Buttons::Ok) fail("no-update message");
        return 0;
    }
    // The question shows the version, cut after at most 64 bytes between two
    // characters (a character is at most 4 bytes).
    const std::string head = "你所使用的软件版本为:Lumiko 1.0\r\n\r\n软件当前最新版本为:", tail = " 是否要下载?";
    if (m.buttons != lumiko::Buttons::YesNo || m.text.size() < head.size() + tail.size() ||
        m.text.compare(0, head.size(), head) != 0 || m.text.compare(m.text.size() - tail.size(), tail.size(), tail) != 0)
        fail("question");
    const Text shown = m.text.substr(head.size(), m.text.size() - head.size() - tail.size());
    if (version.compare(0, shown.size(), shown) != 0 || shown.size() > 64 ||
        (version.size() <= 64 ? shown.size() != version.size() : shown.size() < 61))
        fail("version shown in the question");
    return 0;
}
