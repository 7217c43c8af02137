// The built-in GS module's cost: 40 organ voices rendered through the GS front end against
// bare FluidSynth playing the same notes (same run, interleaved), audio rendered per second
// of CPU, and the time from a note handed to the module to its first rendered sample.

#include "module/GsFrontEnd.h"
#include "module/ModuleSettings.h"
#include "module/fluidsynth/FluidSynthesizer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace {

using namespace kavel::module;

constexpr double kRate = 48000.0;
constexpr int kParts = 8, kKeys = 5; // 40 voices
constexpr int kFirstKey = 48;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void send(GsFrontEnd& front, std::vector<std::uint8_t> m) {
    if (m[0] == 0xF0) { // fill in the Roland checksum
        int sum = 0;
        for (std::size_t i = 5; i + 2 < m.size(); ++i)
            sum += m[i];
        m[m.size() - 2] = static_cast<std::uint8_t>((128 - sum % 128) % 128);
    }
    front.receive(m.data(), m.size());
}

// Parts 1..8 on channel 1, the Church Organ tone, a temperament and the balance controller,
// as the shipped organ sets its Great; then five keys.
void organThroughFrontEnd(GsFrontEnd& front) {
    for (int p = 1; p <= kParts; ++p) {
        const auto block = static_cast<std::uint8_t>(0x10 + p);
        send(front, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, block, 0x00, 0x00, 19, 0, 0xF7});
        send(front, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, block, 0x02, 0x00, 0, 0xF7});
        send(front, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, block, 0x1F, 0x07, 0, 0xF7});
        send(front, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, static_cast<std::uint8_t>(0x20 + p), 0x42,
                     0x00, 0, 0xF7});
        send(front, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, block, 0x40, 0x40, 0x40, 0x36, 0x38,
                     0x3A, 0x36, 0x3E, 0x34, 0x3C, 0x38, 0x34,  0x3C, 0x38, 0,    0xF7});
    }
    send(front, {0xB0, 7, 20});
    send(front, {0xB0, 11, 110});
    for (int k = 0; k < kKeys; ++k)
        send(front, {0x90, static_cast<std::uint8_t>(kFirstKey + 3 * k), 100});
}

void organBare(fluid_synth_t* fs, int font) {
    for (int c = 0; c < kParts; ++c) {
        fluid_synth_program_select(fs, c, font, 0, 19);
        fluid_synth_cc(fs, c, 7, 110);
        for (int k = 0; k < kKeys; ++k)
            fluid_synth_noteon(fs, c, kFirstKey + 3 * k, 100);
    }
}

// CPU seconds to render `seconds` of audio in periods of 256 frames.
double renderCost(FluidSynthesizer& synth, double seconds) {
    std::vector<float> l(256), r(256);
    const auto periods = static_cast<int>(seconds * kRate / 256);
    const double start = cpuSeconds();
    for (int i = 0; i < periods; ++i)
        synth.render(l.data(), r.data(), l.size());
    return cpuSeconds() - start;
}

} // namespace

int main(int argc, char** argv) {
    const std::string font = argc > 1 ? argv[1] : kDefaultSoundFont;
    if (!std::filesystem::exists(font)) {
        std::printf("skipped: no SoundFont at %s\n", font.c_str());
        return 0;
    }
    FluidSynthesizer viaFront({font, kRate, 0.4}), bare({font, kRate, 0.4});
    GsFrontEnd front(viaFront);
    organThroughFrontEnd(front);
    organBare(bare.handle(), 1);
    const double seconds = 10.0;
    std::vector<double> ratios, frontCost, bareCost;
    for (int round = 0; round < 5; ++round) {
        const double a = renderCost(viaFront, seconds), b = renderCost(bare, seconds);
        frontCost.push_back(a);
        bareCost.push_back(b);
        ratios.push_back(a / b);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("voices: front end %d, bare %d\n", viaFront.activeVoices(), bare.activeVoices());
    std::printf("front end / bare FluidSynth CPU: %.3f (median of 5 rounds of %.0f s)\n",
                median(ratios), seconds);
    std::printf("audio rendered per CPU second: front end %.1f x real time, bare %.1f x\n",
                seconds / median(frontCost), seconds / median(bareCost));

    // A note handed to the module, then the next period rendered: where its sound starts.
    GsFrontEnd quiet(bare);
    send(quiet, {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x00, 0x00, 19, 0, 0xF7});
    std::vector<float> l(4096), r(4096);
    bare.render(l.data(), r.data(), l.size());
    std::vector<double> firsts;
    for (int i = 0; i < 20; ++i) {
        send(quiet, {0x90, 60, 100});
        bare.render(l.data(), r.data(), l.size());
        const auto at = std::find_if(l.begin(), l.end(), [](float v) { return v != 0.0f; });
        firsts.push_back(static_cast<double>(at - l.begin()));
        send(quiet, {0xB0, 120, 0});
        bare.render(l.data(), r.data(), l.size());
    }
    std::printf("note to first rendered sample: %.0f frames (%.2f ms at %.0f Hz), worst %.0f; "
                "live, one audio period more\n",
                median(firsts), median(firsts) * 1000.0 / kRate, kRate,
                *std::max_element(firsts.begin(), firsts.end()));
    return 0;
}
