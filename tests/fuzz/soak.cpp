// lumiko-soak: one panel in one process, one million random user events over
// the shipped tables (run in data/), with the heap the panel holds reported
// every 100,000 events. The recording fake's records are dropped before each
// report, so the figure is the panel's own: live bytes and blocks allocated
// through operator new. Ends with status 1 when the heap grew between the
// first and the last report by more than the tolerance.
//   lumiko-soak [--events N] [--every N] [--seed N] [--tolerance BYTES]
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <random>
#include <string>

#include "platform/posix/files.h"
#include "support/memory_services.h"
#include "support/panel_driver.h"

namespace {
std::atomic<long long> liveBytes{0}, liveBlocks{0};

void* allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    liveBytes += static_cast<long long>(malloc_usable_size(p));
    ++liveBlocks;
    return p;
}

void release(void* p) noexcept {
    if (!p) return;
    liveBytes -= static_cast<long long>(malloc_usable_size(p));
    --liveBlocks;
    std::free(p);
}

long rssKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept { return operator new(size, t); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

int main(int argc, char** argv) {
    long long events = 1000000, every = 100000, tolerance = 256 * 1024;
    unsigned seed = 2026;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const long long v = std::atoll(argv[i + 1]);
        if (arg == "--events") events = v;
        else if (arg == "--every") every = v > 0 ? v : every;
        else if (arg == "--seed") seed = static_cast<unsigned>(v);
        else if (arg == "--tolerance") tolerance = v;
    }

    // The shipped tables and dictionaries, held in memory: saves and every
    // other file the panel writes stay there.
    lumiko::fuzz::MemoryServices desk;
    const lumiko::Text folder = "词库\\字典";
    for (const char* path : {"词库\\笔画.txt", "词库\\附加笔画.txt", "词库\\四角号码.txt", "词库\\联想词.txt",
                             "词库\\字典.txt"})
        lumiko::posix::readFile(path, desk.files[path]);
    for (const lumiko::Text& name : lumiko::posix::listFiles(folder, ".txt")) {
        desk.folders[folder].push_back(name);
        lumiko::posix::readFile(folder + "\\" + name, desk.files[folder + "\\" + name]);
    }
    if (desk.files["词库\\笔画.txt"].empty()) {
        std::fprintf(stderr, "lumiko-soak: run it in the folder that holds 词库 (data/)\n");
        return 2;
    }

    lumiko::App app(desk);
    app.startUp();
    lumiko::fuzz::PanelDriver driver(app, desk);
    std::mt19937 rng(seed);
    const lumiko::fuzz::Choose choose = [&rng](std::uint32_t bound) {
        return bound <= 1 ? 0u : static_cast<std::uint32_t>(rng() % bound);
    };

    std::printf("%10s %14s %12s %10s %12s %9s\n", "events", "heap bytes", "heap blocks", "rss KiB", "typed bytes",
                "messages");
    long long first = -1, last = 0, low = -1, high = 0, typed = 0, messages = 0;
    for (long long i = 1; i <= events; ++i) {
        driver.step(choose);
        if (i % every != 0 && i != events) continue;
        // What the panel did since the last report, before its records go.
        typed += static_cast<long long>(desk.chars.size());
        messages += static_cast<long long>(desk.messages.size());
        desk.clearRecords();
        last = liveBytes.load();
        if (first < 0) first = last;
        low = low < 0 || last < low ? last : low;
        high = last > high ? last : high;
        std::printf("%10lld %14lld %12lld %10ld %12lld %9lld\n", i, last, liveBlocks.load(), rssKiB(), typed, messages);
        std::fflush(stdout);
    }
    const bool flat = last - first <= tolerance;
    std::printf("heap from %lld to %lld bytes (lowest %lld, highest %lld), %s (tolerance %lld bytes)\n", first, last,
                low, high, flat ? "flat" : "GROWING", tolerance);
    return flat ? 0 : 1;
}
