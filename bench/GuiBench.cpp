// The window's own costs with the one-hour 8-player replay (about 217,000 actions) on show: from a finished load
// to page 1 painted, a page turn, and a language switch. Runs on the offscreen platform.
#include "SampleGames.h"
#include "core/replay/LoadReplay.h"
#include "gui/MainWindow.h"
#include "gui/ReplayPane.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

gui::TQuillonMain* Window = nullptr;
std::string LargePath;

void ShowLoadedReplay(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto result = std::make_shared<TLoadResult>(LoadReplay(LargePath, 2));
        state.ResumeTiming();
        Window->ShowLoaded(QString::fromStdString(LargePath), result);
        Window->repaint();
    }
}

void TurnPage(benchmark::State& state) {
    auto* next = Window->findChild<QToolButton*>(QStringLiteral("SpeedButton4"));
    auto* first = Window->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    int turns = 0;
    for (auto _ : state) {
        (++turns % 500 == 0 ? first : next)->click();
        Window->repaint();
    }
    state.counters["page"] = Window->GetReplayPane().GetPager().CurrentPage();
    state.counters["pages"] = Window->GetReplayPane().GetPager().PageCount();
}

void SwitchLanguage(benchmark::State& state) {
    auto* language = Window->findChild<QComboBox*>(QStringLiteral("Language"));
    for (auto _ : state) {
        language->setCurrentIndex(1 - language->currentIndex());
        Window->repaint();
    }
}

// The worst find: a text no action holds, so every action of the replay is put in words once.
void FindNothing(benchmark::State& state) {
    gui::TReplayPane& pane = Window->GetReplayPane();
    if (!pane.GetReplay())
        Window->ShowLoaded(QString::fromStdString(LargePath), std::make_shared<TLoadResult>(LoadReplay(LargePath, 2)));
    pane.GetFindBox().setText(QStringLiteral("no such words"));
    for (auto _ : state)
        benchmark::DoNotOptimize(pane.FindNext());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    LargePath = dir.filePath(QStringLiteral("large.w3g")).toStdString();
    const auto bytes = testing::BuildReplayFile(testing::LargeGameSpec());
    std::ofstream(LargePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    gui::TMainWindowOptions options;
    options.SettingsPath = dir.filePath(QStringLiteral("Quillon.ini")).toStdString();
    gui::TQuillonMain window(std::move(options));
    window.show();
    Window = &window;

    benchmark::RegisterBenchmark("gui/load-to-page-1-shown (target < 20 ms)", ShowLoadedReplay)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gui/page-turn (target < 5 ms)", TurnPage)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gui/language-switch (target < 50 ms)", SwitchLanguage)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gui/find-through-every-action (target < 50 ms)", FindNothing)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
