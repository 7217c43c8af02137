#pragma once

// Measuring rendered sound: level and the pitch of the lowest strong partial.

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace kavel::test {

inline double rms(const std::vector<float>& x) {
    double sum = 0;
    for (float v : x)
        sum += double(v) * v;
    return x.empty() ? 0.0 : std::sqrt(sum / x.size());
}

inline double decibels(double ratio) {
    return 20.0 * std::log10(std::max(ratio, 1e-12));
}

// |DFT| of the Hann-windowed signal at frequency f.
inline double magnitudeAt(const std::vector<float>& x, double rate, double f) {
    const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi * f / rate);
    std::complex<double> w = 1.0, sum = 0.0;
    const double n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / n);
        sum += w * (hann * x[i]);
        w *= step;
    }
    return std::abs(sum);
}

// The fundamental: the lowest partial at least a tenth as strong as the strongest, found on a
// coarse grid of 1/8 semitone, then refined by golden-section search on the spectrum.
inline double fundamental(const std::vector<float>& x, double rate, double lowHz = 25.0,
                          double highHz = 4000.0) {
    std::vector<std::pair<double, double>> grid;
    double strongest = 0;
    for (double f = lowHz; f < highHz; f *= std::pow(2.0, 1.0 / 96.0)) {
        grid.emplace_back(f, magnitudeAt(x, rate, f));
        strongest = std::max(strongest, grid.back().second);
    }
    std::size_t at = 1;
    for (; at + 1 < grid.size(); ++at)
        if (grid[at].second >= 0.1 * strongest && grid[at].second >= grid[at - 1].second &&
            grid[at].second >= grid[at + 1].second)
            break;
    double a = grid[at - 1].first, b = grid[std::min(at + 1, grid.size() - 1)].first;
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int i = 0; i < 40; ++i) {
        const double c = b - g * (b - a), d = a + g * (b - a);
        if (magnitudeAt(x, rate, c) > magnitudeAt(x, rate, d))
            b = d;
        else
            a = c;
    }
    return (a + b) / 2.0;
}

inline double cents(double f, double reference) {
    return 1200.0 * std::log2(f / reference);
}

} // namespace kavel::test
