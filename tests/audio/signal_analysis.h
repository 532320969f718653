// Measurements on recorded or decoded sound, enough to tell which test tone was heard, when it
// started and when it stopped. Header-only, so that the unit tests, the audio tests and the
// benchmark share it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace signal_analysis {

// One channel of interleaved samples.
inline std::vector<double> Channel(const std::vector<std::int16_t>& interleaved, int channels,
                                   int channel) {
    std::vector<double> out;
    out.reserve(interleaved.size() / static_cast<std::size_t>(channels));
    for (std::size_t i = static_cast<std::size_t>(channel); i < interleaved.size();
         i += static_cast<std::size_t>(channels))
        out.push_back(interleaved[i] / 32768.0);
    return out;
}

inline double Rms(const std::vector<double>& x, std::size_t begin, std::size_t end) {
    if (end > x.size())
        end = x.size();
    if (begin >= end)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += x[i] * x[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

// Amplitude of the component at `frequency` in x[begin, end) (Goertzel, Hann-windowed): a sine of
// amplitude A there reads about A.
inline double ToneAmplitude(const std::vector<double>& x, std::size_t begin, std::size_t end,
                            double frequency, double rate) {
    constexpr double kPi = 3.14159265358979323846;
    if (end > x.size())
        end = x.size();
    if (begin >= end)
        return 0.0;
    const std::size_t n = end - begin;
    const double w = 2.0 * kPi * frequency / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0, windowSum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann =
            0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / static_cast<double>(n));
        windowSum += hann;
        const double s = x[begin + i] * hann + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / windowSum;
}

// The pitch of a clean tone from its upward zero crossings in x[begin, end).
inline double ZeroCrossingFrequency(const std::vector<double>& x, std::size_t begin,
                                    std::size_t end, double rate) {
    if (end > x.size())
        end = x.size();
    std::size_t first = 0, last = 0, count = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        if (x[i - 1] < 0.0 && x[i] >= 0.0) {
            if (count == 0)
                first = i;
            last = i;
            ++count;
        }
    if (count < 2)
        return 0.0;
    return static_cast<double>(count - 1) * rate / static_cast<double>(last - first);
}

// The frequency of the strongest component between `low` and `high` in x[begin, end), found to
// within about 1 Hz. Unlike zero crossings it is not thrown off by a short gap in the sound.
inline double PeakFrequency(const std::vector<double>& x, std::size_t begin, std::size_t end,
                            double rate, double low = 100.0, double high = 6000.0) {
    auto best = [&](double from, double to, double step) {
        double bestFrequency = from, bestAmplitude = -1.0;
        for (double f = from; f <= to; f += step) {
            const double a = ToneAmplitude(x, begin, end, f, rate);
            if (a > bestAmplitude)
                bestAmplitude = a, bestFrequency = f;
        }
        return bestFrequency;
    };
    const double coarse = best(low, high, 10.0);
    return best(coarse - 10.0, coarse + 10.0, 0.5);
}

// The first sample from which a window of `window` samples has an RMS above `threshold`, or
// x.size() when there is none.
inline std::size_t Onset(const std::vector<double>& x, std::size_t from, double threshold,
                         std::size_t window = 48) {
    for (std::size_t i = from; i + window <= x.size(); ++i) {
        if (std::abs(x[i]) < threshold)
            continue;
        if (Rms(x, i, i + window) > threshold * 0.7)
            return i;
    }
    return x.size();
}

} // namespace signal_analysis
