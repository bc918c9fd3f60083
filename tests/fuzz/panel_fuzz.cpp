// The whole panel over fuzzed tables, dictionary choice and event sequence,
// through the recording fake desktop: start-up, then up to 300 events. What
// reaches the user's application (character messages, the clipboard) must be
// whole GBK characters, whatever bytes the tables hold.
#include <cstdlib>
#include <iostream>

#include "support/fuzz_input.h"
#include "support/memory_services.h"
#include "support/panel_driver.h"

namespace {
// Whether the panel keeps bytes that are not whole GBK from the user's
// application.
constexpr bool kOnlyWholeGbkTyped = true;

[[noreturn]] void fail(const std::string& what, const std::string& bytes) {
    std::cerr << what << ": '" << bytes << "'\n";
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumiko::fuzz::FuzzInput in(data, size);
    lumiko::fuzz::MemoryServices desk;
    for (const char* path : {"词库\\笔画.txt", "词库\\附加笔画.txt", "词库\\四角号码.txt", "词库\\联想词.txt"})
        desk.files[path] = in.section();
    const std::string name = in.section();
    desk.files["词库\\字典.txt"] = name;
    desk.files["词库\\字典\\" + name + ".txt"] = in.section();
    desk.folders["词库\\字典"] = {name + ".txt", "X.TXT"};

    lumiko::App app(desk);
    app.startUp();
    lumiko::fuzz::PanelDriver driver(app, desk);
    const lumiko::fuzz::Choose choose = [&in](std::uint32_t bound) { return in.next(bound); };
    for (int i = 0; i < 300 && !in.empty(); ++i) {
        driver.step(choose, true);
        if (!kOnlyWholeGbkTyped) continue;
        if (!lumiko::isWholeGbk(desk.typedBytes())) fail("typed bytes that are no whole GBK", desk.typedBytes());
        if (!lumiko::isWholeGbk(desk.clipboard)) fail("put bytes that are no whole GBK on the clipboard", desk.clipboard);
    }
    return 0;
}
