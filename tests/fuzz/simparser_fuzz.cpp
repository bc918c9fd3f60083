// lumiko-sim's command interpreter over any input: every line either runs or
// is refused with a message naming the line; nothing else escapes (an
// "internal error" is a fault). The panel runs over an in-memory desktop, so
// the commands touch no file.
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "simulator.h"
#include "support/memory_services.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumiko::fuzz::MemoryServices desk;
    desk.files["词库\\笔画.txt"] = "1 一\r\n12 十\r\n2 丨\r\n25 口";
    desk.files["词库\\联想词.txt"] = "一 个\r\n十 分";
    lumiko::App app(desk);
    app.startUp();
    lumiko::sim::Simulator sim(app, desk);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out, err;
    const int status = sim.run(in, out, err);
    if (status == 3 || (status == 2) != !err.str().empty()) {
        std::cerr << "status " << status << ": " << err.str() << '\n';
        std::abort();
    }
    return 0;
}
