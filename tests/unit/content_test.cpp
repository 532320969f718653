#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/win/windows.h"
#include "res/module.h"

// What comes with the program besides its code: the sounds and example own pictures made into
// the run folder at build time, and the icon renditions embedded in the executable.

namespace {

const QString kRunDir = QStringLiteral(PIBO_RUN_DIR);

// Every sound file name the program asks for.
std::vector<std::string> soundNames() {
    std::vector<std::string> names = {"takeoff", "back", "tab",  "enter",
                                      "shift",   "ctrl", "caps", "space"};
    for (char c = 'A'; c <= 'Z'; ++c) {
        names.emplace_back(1, c);
    }
    for (char c = '0'; c <= '9'; ++c) {
        names.emplace_back(1, c);
    }
    for (int i = 1; i <= 12; ++i) {
        // Appended rather than "f" + ...: g++ 12 at -O3 warns falsely about the literal's copy.
        std::string name = "f";
        name += std::to_string(i);
        names.push_back(name);
    }
    return names;
}

struct Sound {
    SF_INFO info{};
    std::vector<float> samples; // interleaved
};

bool readSound(const std::string& path, Sound& sound) {
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (file == nullptr) {
        return false;
    }
    sound.samples.resize(static_cast<std::size_t>(sound.info.frames * sound.info.channels));
    const sf_count_t read = sf_readf_float(file, sound.samples.data(), sound.info.frames);
    sf_close(file);
    return read == sound.info.frames;
}

double decibels(double power) {
    return 10.0 * std::log10(std::max(power, 1e-12));
}

// Mean power of the loudest 200 ms, in dB below full scale: how loud a short sound seems.
double loudestWindow(const Sound& s) {
    const std::size_t channels = static_cast<std::size_t>(s.info.channels);
    const std::size_t frames = s.samples.size() / channels;
    const std::size_t window = std::min<std::size_t>(frames, 9600);
    std::vector<double> cumulative(frames + 1, 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
        double power = 0;
        for (std::size_t c = 0; c < channels; ++c) {
            power += double(s.samples[i * channels + c]) * s.samples[i * channels + c];
        }
        cumulative[i + 1] = cumulative[i] + power / double(channels);
    }
    double best = 0;
    for (std::size_t i = 0; i + window <= frames; i += 240) {
        best = std::max(best, (cumulative[i + window] - cumulative[i]) / double(window));
    }
    return decibels(best);
}

} // namespace

TEST(ShippedSounds, EveryNameIsAShortReadable48kHzWav) {
    for (const std::string& name : soundNames()) {
        SCOPED_TRACE(name);
        const std::string path = (kRunDir + "/sounds/").toStdString() + name + ".wav";
        Sound sound;
        ASSERT_TRUE(readSound(path, sound)) << sf_strerror(nullptr);
        EXPECT_EQ(sound.info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_WAV);
        EXPECT_EQ(sound.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
        EXPECT_EQ(sound.info.samplerate, 48000);
        EXPECT_GE(sound.info.channels, 1);
        EXPECT_LE(sound.info.channels, 2);
        EXPECT_GT(sound.info.frames, 48000 / 10) << "shorter than a tenth of a second";
        EXPECT_LE(sound.info.frames, 48000) << "longer than a second";

        float peak = 0;
        for (float v : sound.samples) {
            peak = std::max(peak, std::fabs(v));
        }
        EXPECT_GT(peak, 0.1f) << "nearly silent";
        EXPECT_LT(peak, 0.999f) << "clipped";
    }
}

// A child hears them one after the other: no sound may stand out as much louder or softer.
TEST(ShippedSounds, LoudnessIsMatched) {
    std::map<std::string, double> level;
    for (const std::string& name : soundNames()) {
        Sound sound;
        ASSERT_TRUE(readSound((kRunDir + "/sounds/").toStdString() + name + ".wav", sound)) << name;
        level[name] = loudestWindow(sound);
    }
    std::vector<double> sorted;
    for (const auto& [name, db] : level) {
        sorted.push_back(db);
    }
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    for (const auto& [name, db] : level) {
        EXPECT_NEAR(db, median, 3.0) << name;
    }
}

// The example own pictures: named as a key asks for them, each a BMP of a different variant.
TEST(ExampleOwnPictures, ThreeBmpVariantsNamedForTheirKeys) {
    struct Expected {
        const char* name;
        int width;
        int height;
        WORD bitCount;
        DWORD tableEntries;
    };
    const Expected expected[] = {
        {"A.bmp", 640, 480, 24, 0},
        {"B.bmp", 400, 300, 8, 256},
        {"1.bmp", 320, 240, 4, 16},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        QFile file(kRunDir + "/mypics/" + e.name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        BITMAPINFOHEADER h;
        std::memcpy(&h, bytes.constData() + 14, sizeof h);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, e.width);
        EXPECT_EQ(h.biHeight, e.height);
        EXPECT_EQ(h.biBitCount, e.bitCount);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        const DWORD entries =
            (h.biClrUsed == 0 && h.biBitCount <= 8) ? 1u << h.biBitCount : h.biClrUsed;
        EXPECT_EQ(entries, e.tableEntries);

        const QImage image = QImage::fromData(bytes, "BMP");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
    }
    // Every example is found by a key: a capital letter or a digit, then ".bmp" in lower case.
    for (const QString& name : QDir(kRunDir + "/mypics").entryList(QDir::Files)) {
        EXPECT_EQ(name.size(), 5) << name.toStdString();
        EXPECT_TRUE(name.endsWith(".bmp")) << name.toStdString();
        EXPECT_TRUE((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))
            << name.toStdString();
    }
}

// Icon 128 at every size the window, the About box and the desktop entry use: square, with a
// transparent background around an opaque pile; the small ones only in the sixteen colours.
TEST(ApplicationIcon, RenditionsAtEverySize) {
    const QList<QRgb> sixteen = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon =
            QImage(QString(g_piboModule.iconFolder) + QString::number(size) + ".png")
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "background not transparent";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size * 3 / 4)), 255) << "no block in the middle";
        if (size > 32) {
            continue;
        }
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = icon.pixel(x, y);
                if (qAlpha(p) == 0) {
                    continue;
                }
                ASSERT_EQ(qAlpha(p), 255) << x << "," << y;
                ASSERT_TRUE(sixteen.contains(qRgb(qRed(p), qGreen(p), qBlue(p)))) << x << "," << y;
            }
        }
    }
}
