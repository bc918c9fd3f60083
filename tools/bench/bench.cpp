// Timings of the handlers that run on one click, over the shipped tables.
// Run from the data folder (make bench), where 词库 lies.
#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace lumiko

BENCHMARK_MAIN();
