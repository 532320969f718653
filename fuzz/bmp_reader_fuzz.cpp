// libFuzzer target: any bytes as a bitmap file and as a packed DIB. Whatever the reader accepts
// must be a bitmap the painting code can describe and read to its last pixel.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/dib_limits.h"
#include "platform/gdi/dib_pixels.h"

namespace {

using namespace pibo::gdi;

// A broken promise of the reader: stop here so that the fuzzer keeps the input.
void Check(bool condition) {
    if (!condition)
        std::abort();
}

void Inspect(const DibSection& dib) {
    const BITMAPINFOHEADER& h = dib.header;
    Check(h.biWidth >= 1 && h.biWidth <= kMaxBitmapSide);
    Check(h.biHeight >= 1 && h.biHeight <= kMaxBitmapSide);
    Check(static_cast<std::size_t>(dib.stride) == DibStride(h.biWidth, h.biBitCount));
    const std::size_t bytes = static_cast<std::size_t>(dib.stride) * h.biHeight;
    Check(bytes <= kMaxPixelBytes && h.biSizeImage == bytes);
    Check(dib.colors.size() <= kMaxColors);
    Check(h.biBitCount > 8 || !dib.colors.empty());

    DibPixels view;
    Check(DescribeDib(dib, view));
    // Every row of a small picture, the first, middle and last rows of a large one.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(h.biWidth));
    const bool small = static_cast<std::size_t>(h.biWidth) * h.biHeight <= (1u << 20);
    const LONG step = small ? 1 : (h.biHeight > 2 ? h.biHeight / 2 : 1);
    std::uint32_t sum = 0;
    for (LONG y = 0; y < h.biHeight; y += step) {
        ConvertRow(view, y, 0, h.biWidth, row.data());
        sum += row.back();
    }
    ConvertRow(view, h.biHeight - 1, 0, h.biWidth, row.data());
    // The pixel memory is as long as the header says: its last byte can be read.
    sum += dib.bits[bytes - 1];
    volatile std::uint32_t sink = sum;
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> bytes(data, size);
    if (auto dib = ReadBmpFile(bytes))
        Inspect(*dib);
    if (auto dib = ReadPackedDib(bytes))
        Inspect(*dib);
    return 0;
}
