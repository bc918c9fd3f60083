// lumiko-hwr-report: accuracy, speed and memory of the handwriting
// recogniser over characters written as stroke centre-lines, clean and with
// mouse-like distortions. Usage: lumiko-hwr-report SAMPLES [MODEL]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <ctime>
#include <string>

#include "hwr/recogniser.h"
#include "samples.h"

using namespace lumiko::hwr;

namespace {

// The resident memory of this process, in KiB (Linux).
long residentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

struct Score {
    size_t top1 = 0, top10 = 0, total = 0;
    void add(const std::vector<std::string>& got, const std::string& want) {
        ++total;
        if (!got.empty() && got[0] == want) ++top1;
        if (std::find(got.begin(), got.end(), want) != got.end()) ++top10;
    }
    double pct(size_t n) const { return total ? 100.0 * n / total : 0; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumiko-hwr-report SAMPLES [MODEL]\n");
        return 2;
    }
    const std::vector<Sample> samples = readSamples(argv[1]);
    Recogniser recogniser(argc > 2 ? argv[2] : LUMIKO_HWR_MODEL);

    const long before = residentKiB();
    const auto loadStart = std::chrono::steady_clock::now();
    if (!recogniser.load()) {
        std::fprintf(stderr, "%s\n", recogniser.error().c_str());
        return 1;
    }
    const double loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count();
    const long afterLoad = residentKiB();

    const Distortion mouse{8, 8, 0.5, true};
    struct Row {
        const char* name;
        bool distorted, normalised;
        Score score;
    } rows[] = {{"clean", false, false, {}},
                {"clean, normalised to the bounding box", false, true, {}},
                {"mouse-like (jitter, rotation, small, off-centre)", true, false, {}},
                {"mouse-like, normalised to the bounding box", true, true, {}}};
    std::vector<double> times, cpuTimes;
    auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    for (Row& row : rows) {
        std::mt19937 random(20261209);  // the same distortions for both rows
        for (const Sample& s : samples) {
            const Strokes strokes = row.distorted ? distort(s.strokes, mouse, random) : s.strokes;
            const double cpuStart = cpuMs();
            const auto start = std::chrono::steady_clock::now();
            const auto got = recogniser.recognise(strokes, 10, row.normalised);
            const auto end = std::chrono::steady_clock::now();
            if (row.distorted && row.normalised) {
                times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
                cpuTimes.push_back(cpuMs() - cpuStart);
            }
            row.score.add(got, s.character);
        }
    }
    const long afterAll = residentKiB();
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    auto at = [](const std::vector<double>& v, double q) {
        return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))];
    };

    std::printf("Handwriting recognition over %zu characters (stroke centre-lines)\n\n", samples.size());
    std::printf("| Writing | top-1 | top-10 |\n|---|---|---|\n");
    for (const Row& row : rows)
        std::printf("| %s | %.1f %% | %.1f %% |\n", row.name, row.score.pct(row.score.top1), row.score.pct(row.score.top10));
    std::printf("\nmouse-like: jitter sd %.0f, rotation up to %.0f degrees, scale %.1f to 1, anywhere in the square"
                " (1024 units)\n", mouse.jitter, mouse.maxRotation, mouse.minScale);
    std::printf("recognition time per character (mouse-like, normalised; %zu recognitions): median %.2f ms, p99 %.2f ms"
                " elapsed; median %.2f ms, p99 %.2f ms of processor time\n",
                times.size(), at(times, 0.5), at(times, 0.99), at(cpuTimes, 0.5), at(cpuTimes, 0.99));
    std::printf("model %s: opened in %.1f ms; resident memory +%ld KiB after opening, +%ld KiB after all recognitions\n",
                recogniser.modelPath().c_str(), loadMs, afterLoad - before, afterAll - before);
    return 0;
}
