// lumiko-hwr-bench: how long the pad waits for a recognition and how much
// memory one adds while it runs, through the pad service as the panel uses
// it (its own thread, the request read from its address), over the
// characters of the accuracy report written as a mouse writes them on the
// pad, and over the request files of the fuzzing corpus (each file one
// query). Usage: lumiko-hwr-bench SAMPLES [CORPUS_DIR...]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "hwr/padservice.h"
#include "samples.h"

using namespace lumiko::hwr;

namespace {

long statusKiB(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

// Starts the process's peak resident memory again from what is resident now
// (Linux: clear_refs 5); false where the system does not allow it.
bool resetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

// Processor time of the whole process: while a request runs the caller only
// waits, so this is the service thread's work (elapsed time also counts
// what other processes take of the machine).
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Figures {
    std::vector<double> ms, cpu;
    std::vector<long> addedKiB;
    size_t answered = 0, refused = 0;
};

// One request through the service, waiting for its answer.
void measure(PadService& service, const std::string& query, Figures& f, bool peaks) {
    if (peaks) resetPeak();
    const long before = statusKiB("VmRSS");
    std::promise<PadReply> done;
    const double cpuStart = cpuMs();
    const auto start = std::chrono::steady_clock::now();
    service.request("recognise", query, [&done](PadReply reply) { done.set_value(std::move(reply)); });
    const PadReply reply = done.get_future().get();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuMs() - cpuStart;
    const long added = std::max(0L, (peaks ? statusKiB("VmHWM") : statusKiB("VmRSS")) - before);
    // The figures are those of the requests the service accepted; a refusal
    // is answered at once.
    if (!reply.refusal.empty()) {
        ++f.refused;
        return;
    }
    ++f.answered;
    f.ms.push_back(ms);
    f.cpu.push_back(cpu);
    f.addedKiB.push_back(added);
}

// A character as the pad sends it: distorted like mouse writing, in the
// pad's 236-pixel square, a point kept only 3 pixels from the last.
std::string padQuery(const Strokes& strokes) {
    std::string s = "n=1&s=[";
    for (size_t i = 0; i < strokes.size(); ++i) {
        s += i ? ",[" : "[";
        long lx = -100, ly = -100;
        bool first = true;
        for (const Point& p : strokes[i]) {
            const long x = std::clamp(std::lround(p.x * 236 / 1024), 0L, 235L);
            const long y = std::clamp(std::lround(p.y * 236 / 1024), 0L, 235L);
            if ((x - lx) * (x - lx) + (y - ly) * (y - ly) < 9 && &p != &strokes[i].back()) continue;
            s += (first ? "" : ",") + std::to_string(x) + "," + std::to_string(y);
            first = false;
            lx = x, ly = y;
        }
        s += "]";
    }
    return s + "]";
}

void print(const char* what, Figures f) {
    if (f.ms.empty()) return;
    std::sort(f.ms.begin(), f.ms.end());
    std::sort(f.cpu.begin(), f.cpu.end());
    std::sort(f.addedKiB.begin(), f.addedKiB.end());
    const auto at = [](const auto& v, double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))]; };
    std::printf("| %s | %zu (and %zu refused) | %.1f / %.1f / %.1f ms | %.1f / %.1f / %.1f ms | %ld / %ld KiB |\n", what,
                f.answered, f.refused, at(f.ms, 0.5), at(f.ms, 0.99), f.ms.back(), at(f.cpu, 0.5), at(f.cpu, 0.99),
                f.cpu.back(), at(f.addedKiB, 0.99), f.addedKiB.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumiko-hwr-bench SAMPLES [CORPUS_DIR...]\n");
        return 2;
    }
    const std::vector<Sample> samples = readSamples(argv[1]);
    PadService service(LUMIKO_HWR_MODEL);
    Figures warm;
    measure(service, "n=1&s=[[20,100,180,100],[100,20,100,180]]", warm, false);  // opens the model
    if (warm.refused) {
        std::fprintf(stderr, "the model cannot be opened\n");
        return 1;
    }
    const bool peaks = resetPeak();

    Figures chars;
    std::mt19937 random(20261210);
    const Distortion mouse{8, 8, 0.5, true};
    for (const Sample& s : samples) measure(service, padQuery(distort(s.strokes, mouse, random)), chars, peaks);

    Figures corpus;
    size_t files = 0;
    for (int i = 2; i < argc; ++i) {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(argv[i], ec)) {
            if (!e.is_regular_file()) continue;
            std::ifstream in(e.path(), std::ios::binary);
            const std::string query((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            ++files;
            measure(service, query, corpus, peaks);
        }
    }

    std::printf("Recognition through the pad service (request to answer, one at a time)\n\n");
    std::printf("| Requests | answered | elapsed: median / p99 / longest | processor time: median / p99 / longest |"
                " memory added: p99 / most |\n|---|---|---|---|---|\n");
    print("characters of the report, written as on the pad", chars);
    print("fuzzing corpus", corpus);
    std::printf("\nmemory added: the peak resident memory while the request ran less what was resident before it%s;"
                " the model (mapped once, %ld KiB resident now) is not counted\n",
                peaks ? "" : " (the system keeps no resettable peak here: resident memory after it instead)",
                statusKiB("VmRSS"));
    return 0;
}
