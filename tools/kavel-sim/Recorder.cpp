#include "Recorder.h"

#include "module/ModuleSettings.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kavel {

namespace {

constexpr double kRate = 44100.0;

module::FluidOptions optionsFrom(const std::string& settingsFile) {
    const auto s = module::loadModuleSettings(settingsFile);
    return {s.soundFont, kRate, s.gain};
}

} // namespace

Recorder::Recorder(const std::string& wavPath, const std::string& settingsFile, double startMs)
    : synth_(optionsFrom(settingsFile)), front_(synth_), wav_(wavPath, static_cast<int>(kRate)),
      startMs_(startMs) {}

void Recorder::renderTo(double atMs) {
    const auto target =
        static_cast<std::uint64_t>(std::llround(std::max(0.0, atMs - startMs_) * kRate / 1000.0));
    std::array<float, 1024> left{}, right{};
    while (rendered_ < target) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(left.size(), target - rendered_));
        synth_.render(left.data(), right.data(), n);
        wav_.append(left.data(), right.data(), n);
        rendered_ += n;
    }
}

void Recorder::feed(const std::vector<std::uint8_t>& bytes, double atMs) {
    renderTo(atMs);
    front_.receiveStream(bytes.data(), bytes.size());
}

std::optional<std::string> Recorder::finish(double atMs) {
    renderTo(atMs);
    return wav_.finish();
}

double Recorder::seconds() const {
    return static_cast<double>(rendered_) / kRate;
}

} // namespace kavel
