// Recognition kept within bounds: strokes reduced to the points the
// recogniser reads (the same reading), requests over the limits refused, a
// hostile drawing answered without a blow-up of memory, recognitions off the
// caller's thread, and damaged models refused in words instead of a crash.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zinnia.h>

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "hwr/modelcheck.h"
#include "hwr/padservice.h"
#include "samples.h"

namespace lumiko::hwr {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What zinnia itself reads from strokes given as they are (no reduction).
std::vector<std::string> zinniaAlone(const Strokes& box) {
    zinnia_recognizer_t* r = zinnia_recognizer_new();
    zinnia_character_t* c = zinnia_character_new();
    std::vector<std::string> out;
    if (zinnia_recognizer_open(r, LUMIKO_HWR_MODEL)) {
        zinnia_character_set_width(c, kBoxSize);
        zinnia_character_set_height(c, kBoxSize);
        for (size_t id = 0; id < box.size(); ++id)
            for (const Point& p : box[id])
                zinnia_character_add(c, id, static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
        if (zinnia_result_t* res = zinnia_recognizer_classify(r, c, 10)) {
            for (size_t i = 0; i < zinnia_result_size(res); ++i) out.emplace_back(zinnia_result_value(res, i));
            zinnia_result_destroy(res);
        }
    }
    zinnia_character_destroy(c);
    zinnia_recognizer_destroy(r);
    return out;
}

// A zigzag of `points` points across the pad: every point a corner.
Stroke zigzag(size_t points, double phase = 0) {
    Stroke s;
    for (size_t i = 0; i < points; ++i)
        s.push_back({5 + 226.0 * i / points, 118 + 110 * std::sin(i * 2.399 + phase) * (i % 2 ? 1 : -1)});
    return s;
}

std::string strokesJson(const Strokes& strokes) {
    std::string out = "[";
    for (size_t i = 0; i < strokes.size(); ++i) {
        out += i ? ",[" : "[";
        for (size_t j = 0; j < strokes[i].size(); ++j)
            out += (j ? "," : "") + std::to_string(std::lround(strokes[i][j].x)) + "," +
                   std::to_string(std::lround(strokes[i][j].y));
        out += "]";
    }
    return out + "]";
}

// The reduced strokes read as the whole ones do: clean characters, the same
// written as a mouse reports them (a point every few units, jittered and
// turned), and every stroke of them cut to at most kStrokePoints points.
TEST(KeepShape, ReadsAsTheWholeStrokesDo) {
    std::mt19937 random(7);
    const Distortion mouse{6, 6, 0.6, true};
    for (const Sample& s : readSamples(LUMIKO_HWR_SAMPLES)) {
        for (const Strokes& drawn : {s.strokes, distort(s.strokes, mouse, random)}) {
            const Strokes box = normaliseToBox(drawn);
            const Strokes kept = keepShape(box);
            ASSERT_EQ(kept.size(), box.size());
            for (size_t i = 0; i < kept.size(); ++i) {
                EXPECT_LE(kept[i].size(), kStrokePoints);
                EXPECT_LE(kept[i].size(), box[i].size());
                // the ends stay where they were
                EXPECT_EQ(kept[i].front().x, std::round(box[i].front().x));
                EXPECT_EQ(kept[i].back().y, std::round(box[i].back().y));
            }
            EXPECT_EQ(zinniaAlone(kept), zinniaAlone(box)) << s.character;
        }
    }
}

TEST(KeepShape, KeepsCornersAndDropsTheRest) {
    // An L drawn with a point every unit: its two ends and the corner remain.
    Stroke l;
    for (int i = 0; i <= 400; ++i) l.push_back({100.0, 100.0 + i});
    for (int i = 1; i <= 400; ++i) l.push_back({100.0 + i, 500.0});
    const Strokes kept = keepShape({l, {{3, 4}}, {{1, 1}, {9, 9}}});
    ASSERT_EQ(kept[0].size(), 3u);
    EXPECT_EQ(kept[0][1].x, 100);
    EXPECT_EQ(kept[0][1].y, 500);
    EXPECT_EQ(kept[1].size(), 1u);  // a dot and a short line stay as they are
    EXPECT_EQ(kept[2].size(), 2u);
    // A thousand corners: no more than the recogniser reads.
    const size_t zig = keepShape(normaliseToBox({zigzag(1000)}))[0].size();
    EXPECT_GT(zig, 2u);
    EXPECT_LE(zig, kStrokePoints);
}

// The drawing that once grew the panel past 24 GB: two strokes of a thousand
// corners each, inside the limits, is answered; the memory it adds stays
// small (the process's peak, read before and after; the model is opened
// first).
TEST(PadService, AHostileDrawingIsAnsweredWithinBounds) {
    Recogniser r(LUMIKO_HWR_MODEL);
    ASSERT_TRUE(r.load()) << r.error();
    const auto peakKiB = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return u.ru_maxrss;
    };
    const long before = peakKiB();
    for (const Strokes& hostile : {Strokes{zigzag(1000), zigzag(1000, 1)}, Strokes(PadLimits::kStrokes, zigzag(80))}) {
        const std::string query = "n=5&s=" + strokesJson(hostile);
        ASSERT_LE(query.size(), PadLimits::kQueryBytes);
        const PadReply reply = handlePadRequest("recognise", query, r);
        EXPECT_TRUE(has(reply.body, "HandwritingPad.answer(5,[")) << reply.refusal;
    }
    EXPECT_LT(peakKiB() - before, 30 * 1024);
    // One stroke more than a character has is refused.
    const PadReply over = handlePadRequest("recognise", "n=6&s=" + strokesJson(Strokes(PadLimits::kStrokes + 1, {{1, 2}})), r);
    EXPECT_TRUE(has(over.refusal, "too many strokes")) << over.refusal;
}

// The service answers at once what needs no recognition, recognises on its
// own thread, refuses the oldest waiting recognition when newer ones pile up,
// and answers every request exactly once, also those left when it closes.
TEST(PadService, RecognisesOffTheCallersThread) {
    std::mutex lock;
    std::condition_variable arrived;
    std::map<int, std::pair<PadReply, std::thread::id>> answers;
    std::map<int, int> counts;
    const auto collect = [&](int n) {
        return [&, n](PadReply reply) {
            std::lock_guard<std::mutex> hold(lock);
            ++counts[n];
            answers[n] = {std::move(reply), std::this_thread::get_id()};
            arrived.notify_all();
        };
    };
    const std::string cross = "[[20,100,180,100],[100,20,100,180]]";
    {
        PadService service(LUMIKO_HWR_MODEL);
        service.request("pad.js", "", collect(0));
        {
            std::lock_guard<std::mutex> hold(lock);
            ASSERT_EQ(counts[0], 1) << "answered at once";
            EXPECT_EQ(answers[0].second, std::this_thread::get_id());
        }
        service.request("recognise", "n=1&s=[[1,-1]]", collect(1));  // refused at once
        for (int n = 2; n <= 9; ++n) service.request("recognise", "n=" + std::to_string(n) + "&s=" + cross, collect(n));
        {
            std::unique_lock<std::mutex> hold(lock);
            ASSERT_TRUE(arrived.wait_for(hold, std::chrono::seconds(60), [&] { return counts[9] == 1; }));
            EXPECT_TRUE(has(answers[9].first.body, "HandwritingPad.answer(9,[\"\\u5341\"")) << answers[9].first.body;
            EXPECT_NE(answers[9].second, std::this_thread::get_id());
            EXPECT_TRUE(has(answers[1].first.refusal, "negative"));
        }
        for (int n = 10; n <= 12; ++n) service.request("recognise", "n=" + std::to_string(n) + "&s=" + cross, collect(n));
    }  // closing: what still waits is refused
    int refusedAsOld = 0;
    for (int n = 0; n <= 12; ++n) {
        EXPECT_EQ(counts[n], 1) << n;
        refusedAsOld += has(answers[n].first.refusal, "newer drawing");
        const bool refusedAtClose = has(answers[n].first.refusal, "closing");
        EXPECT_TRUE(n >= 10 || !refusedAtClose) << n;
    }
    EXPECT_GE(refusedAsOld, 1) << "eight recognitions asked at once cannot all wait";
}

// Damaged models, made from the real one: refused with the file's name and
// the damage in words, never read by zinnia (which would crash or abort).
TEST(Recogniser, DamagedModelsAreRefusedInWords) {
    std::ifstream in(LUMIKO_HWR_MODEL, std::ios::binary);
    const std::string model((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(model.size(), 1000u);
    EXPECT_EQ(checkModel(model.data(), model.size()), "");
    const auto word = [](std::string& s, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
    };
    const auto withSizeFixed = [&](std::string s) {
        word(s, 0, static_cast<uint32_t>(s.size()) ^ 0xef71821u);
        return s;
    };
    std::string moreCharacters = model, fewerCharacters = model, hugeCount = model, version = model;
    word(moreCharacters, 8, static_cast<uint8_t>(model[8]) + 1 + (static_cast<uint8_t>(model[9]) << 8));
    word(fewerCharacters, 8, 100);
    word(hugeCount, 8, 0xffffffffu);
    word(version, 4, 2);
    std::string noName = model;
    noName.replace(12, 16, 16, 'x');
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"count plus one", moreCharacters, "damaged"},
        {"count 100", fewerCharacters, "bytes follow"},
        {"count 2^32-1", hugeCount, "more characters than it holds"},
        {"truncated", model.substr(0, model.size() / 2), "size is not"},
        {"truncated, header fixed", withSizeFixed(model.substr(0, model.size() / 2)), "damaged"},
        {"truncated inside a character, header fixed", withSizeFixed(model.substr(0, 12 + 16 + 2)), "more characters"},
        {"last end mark cut, header fixed", withSizeFixed(model.substr(0, model.size() - 8)), "no end mark"},
        {"unterminated name", noName, "name"},
        {"another version", version, "version"},
        {"empty", "", "empty"},
        {"header only", withSizeFixed(model.substr(0, 12)), "damaged"},
    };
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lumiko-model-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const auto& c : cases) {
        const std::string path = (dir / "handwriting.model").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        Recogniser r(path);
        EXPECT_TRUE(r.recognise({{{1, 1}, {9, 9}}}, 10).empty()) << c.name;
        EXPECT_FALSE(r.loaded()) << c.name;
        EXPECT_TRUE(has(r.error(), path)) << c.name << ": " << r.error();
        EXPECT_TRUE(has(r.error(), "handwriting is unavailable")) << r.error();
        EXPECT_TRUE(has(r.error(), c.reason)) << c.name << ": " << r.error();
        // the pad is told, in the same words
        const PadReply reply = handlePadRequest("recognise", "n=2&s=[[1,1,9,9]]", r);
        EXPECT_TRUE(has(reply.refusal, path)) << c.name;
    }
    // Not a file at all: a folder and a named pipe (opening it must not wait).
    const std::string fifo = (dir / "pipe.model").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {dir.string(), fifo}) {
        Recogniser r(path);
        EXPECT_FALSE(r.load());
        EXPECT_TRUE(has(r.error(), "not a regular file")) << r.error();
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumiko::hwr
