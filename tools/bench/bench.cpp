// Timings of the handlers that run on one click, over the shipped tables.
// Run from the data folder (make bench), where 词库 lies.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/app.h"
#include "engine/builtin.h"
#include "platform/fake/fake_services.h"

namespace lumiko {
namespace {

struct Panel {
    FakeServices svc;
    App app{svc};
    Panel() { app.startUp(); }
};

void StartUp(benchmark::State& state) {
    for (auto _ : state) {
        Panel p;
        benchmark::DoNotOptimize(p.app.g.strokeTable.size());
    }
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

// Start-up and the first timer tick, which makes the tables' indexes once the
// panel is on screen.
void StartUpAndFirstTick(benchmark::State& state) {
    for (auto _ : state) {
        Panel p;
        p.app.tick();
        benchmark::DoNotOptimize(p.app.g.strokeTable.size());
    }
}
BENCHMARK(StartUpAndFirstTick)->Unit(benchmark::kMillisecond);

// A new search for each one-digit code, as the first stroke key runs it.
void FirstStrokeKey(benchmark::State& state) {
    Panel p;
    const int k = static_cast<int>(state.range(0));
    for (auto _ : state) {
        p.app.clearInput();
        p.app.pressKey(k);
        benchmark::DoNotOptimize(p.app.form.显字标签.text().size());
    }
}
BENCHMARK(FirstStrokeKey)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);

void FirstKeyTenKeyModes(benchmark::State& state) {
    Panel p;
    if (state.range(1) == 0)
        p.app.enterFourCornerMode();
    else
        p.app.enterExtraStrokeMode();
    const int k = static_cast<int>(state.range(0));
    for (auto _ : state) {
        p.app.clearInput();
        p.app.pressKey(k);
        benchmark::DoNotOptimize(p.app.form.显字标签.text().size());
    }
}
BENCHMARK(FirstKeyTenKeyModes)->ArgsProduct({{1, 6, 10}, {0, 1}})->Unit(benchmark::kMicrosecond);

// A component code over the component code table (口 then key 1).
void ComponentCode(benchmark::State& state) {
    Panel p;
    for (auto _ : state) {
        p.app.enterStrokeMode();
        p.app.g.pickedText = "口";
        p.app.pickText();
        p.app.pressKey(1);
        benchmark::DoNotOptimize(p.app.form.显字标签.text().size());
    }
}
BENCHMARK(ComponentCode)->Unit(benchmark::kMicrosecond);

void NextAndPreviousPage(benchmark::State& state) {
    Panel p;
    p.app.pressKey(1);
    for (auto _ : state) {
        p.app.form.超级下.onLeftUp(0, 0);
        p.app.form.超级上.onLeftUp(0, 0);
        benchmark::DoNotOptimize(p.app.form.显字标签.text().size());
    }
}
BENCHMARK(NextAndPreviousPage)->Unit(benchmark::kMicrosecond);

// A commit with its association lookup and word hints over 联想词.txt.
// 的 has many associated characters (the search stops after a page); 龘
// has none, so the search runs over the whole table.
void CommitWithAssociations(benchmark::State& state) {
    Panel p;
    const Text text = state.range(0) == 0 ? "的" : "龘";
    for (auto _ : state) {
        p.app.commitText(Text(text));
        benchmark::DoNotOptimize(p.app.form.显字标签.text().size());
        p.svc.chars.clear();
    }
}
BENCHMARK(CommitWithAssociations)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A grid pick: hover, release, commit, information strip.
void GridPick(benchmark::State& state) {
    Panel p;
    p.app.enterFourCornerMode();
    for (auto _ : state) {
        p.app.gridHover(20, 20);
        p.app.gridClick();
        benchmark::DoNotOptimize(p.app.form.编辑框1.text().size());
        p.svc.chars.clear();
    }
}
BENCHMARK(GridPick)->Unit(benchmark::kMicrosecond);

// A 50 MB stroke table of one repeated line "1 一", in a folder of its own:
// every line matches the code 1, and all but the first repeat it. Measures
// one stroke key (new search and hint strip), the next-page arrow and the
// pick of 一 (commit, associations, information strip).
class RepeatedLineTable {
public:
    RepeatedLineTable() {
        char tmpl[] = "/tmp/lumiko-bench-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directories(std::filesystem::path(dir_) / u8"词库");
        std::ofstream out(std::filesystem::path(dir_) / u8"词库" / u8"笔画.txt", std::ios::binary);
        const std::string line = "1 一\r\n";
        for (size_t n = 0; n < (50u << 20) / line.size(); ++n) out << line;
        out.close();
        std::filesystem::current_path(dir_);
        panel = std::make_unique<Panel>();
        panel->app.tick();  // the first tick makes the indexes, as on screen
    }
    ~RepeatedLineTable() {
        panel.reset();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    std::unique_ptr<Panel> panel;

private:
    std::string dir_;
    std::filesystem::path previous_;
};

void RepeatedLineTableClick(benchmark::State& state) {
    static RepeatedLineTable t;  // made once: writing and indexing 50 MB is not a click
    App& app = t.panel->app;
    for (auto _ : state) {
        app.clearInput();
        app.pressKey(1);
        if (state.range(0) >= 1) app.form.超级下.onLeftUp(0, 0);
        if (state.range(0) == 2) {
            app.gridHover(20, 20);
            app.gridClick();
        }
        benchmark::DoNotOptimize(app.form.显字标签.text().size());
        t.panel->svc.chars.clear();
    }
    state.SetLabel(state.range(0) == 0 ? "stroke key" : state.range(0) == 1 ? "key, next page" : "key, next page, pick");
    state.counters["grid_bytes"] = static_cast<double>(app.form.显字标签.text().size());
    state.counters["info_strip_bytes"] = static_cast<double>(app.form.编辑框1.text().size());
}
BENCHMARK(RepeatedLineTableClick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumiko

BENCHMARK_MAIN();
