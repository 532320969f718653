// The key path's pictures: loading a built-in picture and painting it through DrawDib over a whole
// screen, and loading own pictures from BMP files.
//
//   picture_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "media/Dib.h"
#include "platform/gdi/surface_dc.h"
#include "res/module.h"

namespace {

// A CDC over a QImage the size of a screen.
struct Screen {
    Screen(int width, int height) : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
        dc.Attach(CreateSurfaceDC(&painter, width, height));
    }
    ~Screen() {
        dc.DeleteDC();
        painter.end();
    }
    QImage image;
    QPainter painter;
    CDC dc;
};

// Load and paint as a key press does: the picture from the resources, then the view's paint.
void BM_LoadAndPaintBuiltIn(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Screen screen(width, height);
    const RECT client{0, 0, width, height};
    CDib dib;
    UINT picture = 0;
    for (auto _ : state) {
        dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(129 + picture++ % 42));
        if (!dib.Paint(&screen.dc, &client, nullptr, TRUE, nullptr, FALSE))
            state.SkipWithError("paint failed");
        benchmark::DoNotOptimize(screen.image.constBits());
    }
}
BENCHMARK(BM_LoadAndPaintBuiltIn)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

// The paint alone, as on an expose.
void BM_PaintBuiltIn(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Screen screen(width, height);
    const RECT client{0, 0, width, height};
    CDib dib;
    dib.LoadFromResource(&g_piboModule, MAKEINTRESOURCE(129));
    for (auto _ : state) {
        dib.Paint(&screen.dc, &client, nullptr, TRUE, nullptr, FALSE);
        benchmark::DoNotOptimize(screen.image.constBits());
    }
}
BENCHMARK(BM_PaintBuiltIn)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// A 24-bit BMP file of the given size with a gradient.
bool WriteTrueColourBmp(const std::string& path, int width, int height) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t pixels = stride * static_cast<std::size_t>(height);
    std::vector<unsigned char> bytes(54 + pixels, 0);
    auto put32 = [&](std::size_t at, unsigned long v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, bytes.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned long>(width));
    put32(22, static_cast<unsigned long>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, pixels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &bytes[54 + static_cast<std::size_t>(y) * stride + 3 * x];
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = static_cast<unsigned char>(x + y);
        }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

void BM_LoadFromFile(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/B.bmp";
    if (!WriteTrueColourBmp(path, width, height)) {
        state.SkipWithError("cannot write the picture");
        return;
    }
    CDib dib;
    for (auto _ : state) {
        if (!dib.LoadFromFile(path.c_str()))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadFromFile)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

} // namespace
