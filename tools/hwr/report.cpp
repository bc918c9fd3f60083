// lumiko-hwr-report: accuracy, speed and memory of the handwriting
// recogniser over characters written as stroke centre-lines, clean and with
// mouse-like distortions; zinnia alone ("before"), the stroke matcher alone
// and the two combined (what the pad uses).
//   lumiko-hwr-report SAMPLES [GBK-SAMPLES [MODEL]]   the report
//   lumiko-hwr-report --tune TUNING-SAMPLES [MODEL]   searches the weights
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "hwr/recogniser.h"
#include "hwr/strokeclass.h"
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

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Score {
    size_t top1 = 0, top5 = 0, top10 = 0, total = 0;
    void add(const std::vector<std::string>& got, const std::string& want) {
        ++total;
        const auto at = std::find(got.begin(), got.end(), want) - got.begin();
        if (at < 1) ++top1;
        if (at < 5) ++top5;
        if (at < 10) ++top10;
    }
    double pct(size_t n) const { return total ? 100.0 * n / total : 0; }
};

// One drawing of a sample, with what the recogniser needs from zinnia and
// the stroke table, kept so that weights can be tried without recognising
// again.
struct Trial {
    std::string want;
    std::vector<ShapeCandidate> shape;
    std::string drawn;
    std::vector<StrokeMatch> near;
    std::vector<Evidence> evidence;
};

const Distortion kMouse{8, 8, 0.5, true};

// The drawings of `samples`, clean or mouse-like (the distortions drawn from
// `seed`: another seed is another writer), normalised as the pad does.
std::vector<Trial> trials(Recogniser& r, const std::vector<Sample>& samples, bool mouse, unsigned seed,
                          std::vector<double>* times, std::vector<double>* cpuTimes,
                          std::vector<double>* strokeTimes = nullptr) {
    std::mt19937 random(seed);
    std::vector<Trial> out;
    out.reserve(samples.size());
    for (const Sample& s : samples) {
        const Strokes strokes = mouse ? distort(s.strokes, kMouse, random) : s.strokes;
        const double cpuStart = cpuMs();
        const auto start = std::chrono::steady_clock::now();
        // What Recogniser::recognise does, in its steps.
        const Strokes box = normaliseToBox(strokes);
        Trial t{s.character, r.shapeCandidates(box, 50), {}, {}, {}};
        const double strokeStart = cpuMs();
        t.drawn = strokeCode(box);
        t.evidence = gather(t.shape, t.drawn, StrokeIndex::builtin(), t.near, &r.modelCharacters());
        const auto got = rank(t.evidence, t.shape, 10, CombineWeights{});
        if (strokeTimes) strokeTimes->push_back(cpuMs() - strokeStart);
        if (times) {
            times->push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            cpuTimes->push_back(cpuMs() - cpuStart);
        }
        out.push_back(std::move(t));
    }
    return out;
}

Score combined(const std::vector<Trial>& ts, const CombineWeights& w) {
    Score s;
    for (const Trial& t : ts) s.add(rank(t.evidence, t.shape, 10, w), t.want);
    return s;
}
Score shapeOnly(const std::vector<Trial>& ts) {
    Score s;
    for (const Trial& t : ts) {
        std::vector<std::string> got;
        for (size_t i = 0; i < t.shape.size() && i < 10; ++i) got.push_back(t.shape[i].character);
        s.add(got, t.want);
    }
    return s;
}
Score strokesOnly(const std::vector<Trial>& ts) {
    Score s;
    for (const Trial& t : ts) {
        std::vector<std::string> got;
        for (size_t i = 0; i < t.near.size() && i < 10; ++i) got.push_back(t.near[i].character);
        s.add(got, t.want);
    }
    return s;
}
// Share of drawings whose stroke classes are exactly one of the character's codes.
double exactCodes(const std::vector<Trial>& ts) {
    size_t n = 0;
    for (const Trial& t : ts) n += StrokeIndex::builtin().distanceOf(t.want, t.drawn) == 0;
    return ts.empty() ? 0 : 100.0 * n / ts.size();
}

void row(const char* name, const Score& s) {
    std::printf("| %s | %.1f %% | %.1f %% | %.1f %% |\n", name, s.pct(s.top1), s.pct(s.top5), s.pct(s.top10));
}

// The weights that do best on the tuning drawings (top-10 first, then top-1),
// by a coarse search over a grid.
int tune(Recogniser& r, const std::vector<Sample>& samples) {
    std::vector<Trial> ts = trials(r, samples, false, 7, nullptr, nullptr);
    std::vector<Trial> mouse = trials(r, samples, true, 11, nullptr, nullptr);
    ts.insert(ts.end(), std::make_move_iterator(mouse.begin()), std::make_move_iterator(mouse.end()));
    // Where the stroke classifier goes wrong: drawn class against the
    // table's, over drawings with as many strokes as the character's code.
    size_t confusion[5][5] = {};
    for (const Trial& t : ts) {
        const auto codes = StrokeIndex::builtin().codesOf(t.want);
        if (codes.empty() || codes[0].size() != t.drawn.size()) continue;
        for (size_t i = 0; i < t.drawn.size(); ++i) ++confusion[codes[0][i] - '1'][t.drawn[i] - '1'];
    }
    std::printf("stroke classes (rows: the table's, columns: drawn)\n");
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) std::printf(" %6zu", confusion[i][j]);
        std::printf("\n");
    }
    std::printf("stroke classes exactly right: %.1f %%; strokes alone: ", exactCodes(ts));
    const Score k = strokesOnly(ts);
    std::printf("top-1 %.1f %%, top-10 %.1f %%\n", k.pct(k.top1), k.pct(k.top10));
    std::printf("tuning over %zu drawings; zinnia alone: ", ts.size());
    const Score z = shapeOnly(ts);
    std::printf("top-1 %.1f %%, top-10 %.1f %%\n", z.pct(z.top1), z.pct(z.top10));
    const Score d = combined(ts, CombineWeights{});
    std::printf("the recogniser's weights: top-1 %.1f %%, top-5 %.1f %%, top-10 %.1f %%\n", d.pct(d.top1), d.pct(d.top5),
                d.pct(d.top10));
    for (double unknown : {0.25, 0.5, 1.0}) {
        CombineWeights w;
        w.unknownShape = unknown;
        const Score s = combined(ts, w);
        std::printf("with characters outside zinnia's model %.2f above those it did not list: top-1 %.1f %%,"
                    " top-5 %.1f %%, top-10 %.1f %%\n", unknown, s.pct(s.top1), s.pct(s.top5), s.pct(s.top10));
    }
    CombineWeights best;
    double bestValue = -1;
    for (double strokes : {0.6, 0.8, 1.0, 1.3})
        for (double unlisted : {0.0, 0.2})
            for (double frequency : {0.0, 0.01})
                for (double cap : {1e9, 1.0, 0.6})
                    for (double unknown : {0.0, 0.25, 0.5, 1.0}) {
                        const CombineWeights w{1.0, strokes, frequency, unlisted, cap, unknown};
                        const Score s = combined(ts, w);
                        const double value = s.pct(s.top10) + s.pct(s.top1);
                        if (value > bestValue) {
                            bestValue = value;
                            best = w;
                            std::printf("strokes %.2f unlisted %.2f frequency %.2f cap %.1f unknown %.2f: top-1 %.1f %%"
                                        " top-5 %.1f %% top-10 %.1f %%\n",
                                        strokes, unlisted, frequency, cap, unknown, s.pct(s.top1), s.pct(s.top5),
                                        s.pct(s.top10));
                        }
                    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool tuning = argc > 1 && std::strcmp(argv[1], "--tune") == 0;
    const int first = tuning ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: lumiko-hwr-report SAMPLES [GBK-SAMPLES [MODEL]]\n"
                             "       lumiko-hwr-report --tune TUNING-SAMPLES [MODEL]\n");
        return 2;
    }
    const std::vector<Sample> samples = readSamples(argv[first]);
    Recogniser recogniser(argc > 3 ? argv[3] : LUMIKO_HWR_MODEL);

    const long before = residentKiB();
    const auto loadStart = std::chrono::steady_clock::now();
    if (!recogniser.load()) {
        std::fprintf(stderr, "%s\n", recogniser.error().c_str());
        return 1;
    }
    const double loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count();
    const long afterLoad = residentKiB();
    const auto tableStart = std::chrono::steady_clock::now();
    const size_t tableSize = StrokeIndex::builtin().size();
    const double tableMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tableStart).count();
    const long afterTable = residentKiB();
    if (tuning) return tune(recogniser, samples);
    // What the panel holds once handwriting is used: the model, the stroke
    // table and what recognitions leave behind (before the report keeps
    // its own records).
    {
        std::mt19937 random(1);
        for (size_t i = 0; i < samples.size() && i < 300; ++i)
            recogniser.recognise(distort(samples[i].strokes, kMouse, random), 10);
    }
    const long afterUse = residentKiB();

    const std::vector<Sample> rare = argc > 2 ? readSamples(argv[2]) : std::vector<Sample>{};
    // The report's writers (distortion seeds) are not the tuning's.
    std::vector<double> times, cpuTimes, strokeTimes;
    struct Set {
        const char* name;
        std::vector<Trial> trials;
    } sets[] = {{"GB2312, clean", trials(recogniser, samples, false, 20261209, nullptr, nullptr)},
                {"GB2312, mouse-like", trials(recogniser, samples, true, 20261209, &times, &cpuTimes, &strokeTimes)},
                {"outside GB2312, clean", trials(recogniser, rare, false, 20261209, nullptr, nullptr)},
                {"outside GB2312, mouse-like", trials(recogniser, rare, true, 20261209, &times, &cpuTimes, &strokeTimes)}};

    std::printf("Handwriting recognition: %zu of the most frequent characters and %zu outside GB2312"
                " (stroke centre-lines, normalised to the bounding box as the pad does)\n\n",
                samples.size(), rare.size());
    std::printf("| Writing | Recogniser | top-1 | top-5 | top-10 |\n|---|---|---|---|---|\n");
    for (const Set& s : sets) {
        if (s.trials.empty()) continue;
        const std::string name(s.name);
        row((name + " | zinnia alone (before)").c_str(), shapeOnly(s.trials));
        row((name + " | strokes alone").c_str(), strokesOnly(s.trials));
        row((name + " | combined (the pad)").c_str(), combined(s.trials, CombineWeights{}));
    }
    std::printf("\nstroke classes exactly right (one of the table's codes):");
    for (const Set& s : sets)
        if (!s.trials.empty()) std::printf(" %s %.1f %%;", s.name, exactCodes(s.trials));
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::sort(strokeTimes.begin(), strokeTimes.end());
    auto at = [](const std::vector<double>& v, double q) {
        return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))];
    };
    std::printf("\nmouse-like: jitter sd %.0f, rotation up to %.0f degrees, scale %.1f to 1, anywhere in the square"
                " (1024 units)\n", kMouse.jitter, kMouse.maxRotation, kMouse.minScale);
    std::printf("recognition time per character (mouse-like; %zu recognitions): median %.2f ms, p99 %.2f ms"
                " elapsed; median %.2f ms, p99 %.2f ms of processor time\n",
                times.size(), at(times, 0.5), at(times, 0.99), at(cpuTimes, 0.5), at(cpuTimes, 0.99));
    std::printf("of that, the stroke classes and their matching: median %.2f ms, p99 %.2f ms of processor time\n",
                at(strokeTimes, 0.5), at(strokeTimes, 0.99));
    std::printf("model %s: opened in %.1f ms, +%ld KiB resident; stroke table (%zu characters) indexed in %.1f ms,"
                " +%ld KiB; +%ld KiB in all after 300 recognitions\n",
                recogniser.modelPath().c_str(), loadMs, afterLoad - before, tableSize, tableMs,
                afterTable - afterLoad, afterUse - before);
    return 0;
}
