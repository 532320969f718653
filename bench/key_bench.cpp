// The key press in process, on the real frame and view of the program (Qt's offscreen platform):
// an acted key-down from the key message to the picture painted on a 1920x1080 client area and
// shown, and its sound requested; the same for a key of a storm, whose picture is painted but not
// shown; and a key-down that is rejected (the view is not re-armed).
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <benchmark/benchmark.h>

#include "app/PiboApp.h"
#include "platform/qt/window.h"
#include "platform/settings/profile_store.h"
#include "res/module.h"
#include "view/PiboView.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The program, started once for all benchmarks, its client area 1920 by 1080.
struct Program {
    Program() {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        dir = std::filesystem::temp_directory_path() /
              ("pibo-key-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        static char name[] = "pibo";
        static char* argv[] = {name, nullptr};
        AfxWinInit(&g_piboModule, 1, argv);
        app.SetProfileStore(std::make_unique<pibo::settings::ProfileStore>(dir / "config"));
        if (!app.InitInstance())
            std::abort();
        frame = app.m_pMainWnd;
        view = static_cast<CPiboView*>(static_cast<CFrameWnd*>(frame)->GetActiveView());
        QWidget* top = frame->m_hWnd->widget();
        QWidget* client = view->m_hWnd->client();
        top->showNormal();
        for (int i = 0; i < 3 && (client->width() != kWidth || client->height() != kHeight); ++i) {
            top->resize(top->width() + kWidth - client->width(),
                        top->height() + kHeight - client->height());
            QCoreApplication::processEvents();
        }
        if (client->width() != kWidth || client->height() != kHeight)
            std::abort();
    }
    ~Program() { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    CPiboApp app;
    CWnd* frame = nullptr;
    CPiboView* view = nullptr;
};

Program& TheProgram() {
    static Program program;
    return program;
}

LPARAM KeyLParam(UINT flags) {
    return MAKELPARAM(1, static_cast<WORD>(flags));
}

// The view paints a key's picture into its kept client area and shows it to the window system at
// most once a display frame; an isolated key press is shown at once. Each key here is shown, as an
// isolated one would be: the repaint is timed with the key.
void BM_ActedKeyDown(benchmark::State& state) {
    Program& p = TheProgram();
    QWidget* client = p.view->m_hWnd->client();
    UINT key = 'A';
    for (auto _ : state) {
        CWnd::DispatchFromPlatform(p.view, WM_KEYDOWN, key, KeyLParam(0x1E), nullptr);
        client->repaint();
        state.PauseTiming();
        CWnd::DispatchFromPlatform(p.view, WM_KEYUP, key, KeyLParam(0xC01E), nullptr);
        key = key == 'Z' ? 'A' : key + 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ActedKeyDown)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same through the real window: a Qt key event, its translation, the dispatch.
void BM_ActedKeyEvent(benchmark::State& state) {
    Program& p = TheProgram();
    QWidget* w = p.view->m_hWnd->widget();
    QWidget* client = p.view->m_hWnd->client();
    int key = Qt::Key_A;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(w, &press);
        client->repaint();
        state.PauseTiming();
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(key)));
        QCoreApplication::sendEvent(w, &release);
        key = key == Qt::Key_Z ? Qt::Key_A : key + 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ActedKeyEvent)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A key of a storm: painted into the kept client area, not shown before the next one.
void BM_ActedKeyDownInAStorm(benchmark::State& state) {
    Program& p = TheProgram();
    UINT key = 'A';
    for (auto _ : state) {
        CWnd::DispatchFromPlatform(p.view, WM_KEYDOWN, key, KeyLParam(0x1E), nullptr);
        CWnd::DispatchFromPlatform(p.view, WM_KEYUP, key, KeyLParam(0xC01E), nullptr);
        key = key == 'Z' ? 'A' : key + 1;
    }
}
BENCHMARK(BM_ActedKeyDownInAStorm)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_RejectedKeyDown(benchmark::State& state) {
    Program& p = TheProgram();
    CWnd::DispatchFromPlatform(p.view, WM_KEYDOWN, 'Q', KeyLParam(0x10), nullptr);
    for (auto _ : state)
        CWnd::DispatchFromPlatform(p.view, WM_KEYDOWN, 'Q', KeyLParam(0x4010), nullptr);
    CWnd::DispatchFromPlatform(p.view, WM_KEYUP, 'Q', KeyLParam(0xC010), nullptr);
}
BENCHMARK(BM_RejectedKeyDown)->Unit(benchmark::kMicrosecond);

} // namespace
