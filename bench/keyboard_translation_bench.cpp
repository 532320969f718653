// What one key event costs on its way to a key message: the table lookups and the held-key
// bookkeeping, with and without the Qt event around them (no X server: the X keymap lookup is
// a read of a cached table and is not measured here).
#include <benchmark/benchmark.h>

#include <QKeyEvent>

#include "platform/qt/keyboard_translation.h"
#include "view/KeySoundTable.h"

namespace {

void BM_TranslatePressAndRelease(benchmark::State& state) {
    pibo::qt::KeyboardState keys;
    pibo::qt::NativeKeyEvent press;
    press.keycode = 38; // A
    press.levelOneKeysym = 'a';
    press.keysym = 'a';
    press.press = true;
    pibo::qt::NativeKeyEvent release = press;
    release.press = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pibo::qt::TranslateKeyEvent(press, keys));
        benchmark::DoNotOptimize(pibo::qt::TranslateKeyEvent(release, keys));
    }
}
BENCHMARK(BM_TranslatePressAndRelease);

void BM_TranslateQKeyEventPressAndRelease(benchmark::State& state) {
    pibo::qt::KeyboardTranslator translator;
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 'a', 0);
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 'a', 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(translator.translate(press));
        benchmark::DoNotOptimize(translator.translate(release));
    }
}
BENCHMARK(BM_TranslateQKeyEventPressAndRelease);

void BM_LookupKeySound(benchmark::State& state) {
    UINT code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LookupKeySound(code));
        code = (code + 1) & 0xFF;
    }
}
BENCHMARK(BM_LookupKeySound);

} // namespace
