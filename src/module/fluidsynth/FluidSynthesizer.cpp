#include "module/fluidsynth/FluidSynthesizer.h"

#include <fluidsynth.h>

#include <array>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace kavel::module {

namespace {

// FluidSynth logs from any thread; its errors are kept for the message a person sees.
std::mutex logMutex;
std::string logged;

void keepError(int, const char* message, void*) {
    std::lock_guard lock(logMutex);
    if (!logged.empty()) logged += "; ";
    logged += message;
}
void dropMessage(int, const char*, void*) {}

void routeLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, keepError, nullptr);
        fluid_set_log_function(FLUID_ERR, keepError, nullptr);
        for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, dropMessage, nullptr);
    });
}

// The GS reverb macros as FluidSynth's reverb: room size, damping, width.
struct Room {
    double size, damping, width;
};
constexpr std::array<Room, 8> kRooms{{
    {0.30, 0.50, 0.6}, // Room 1
    {0.45, 0.45, 0.7}, // Room 2
    {0.55, 0.40, 0.8}, // Room 3
    {0.75, 0.30, 0.9}, // Hall 1
    {0.85, 0.25, 1.0}, // Hall 2
    {0.65, 0.10, 1.0}, // Plate
    {0.40, 0.60, 0.5}, // Delay
    {0.40, 0.60, 1.0}, // Panning Delay
}};

// A tremulant beats at about 5.5 Hz: SoundFont LFOs start at 8.176 Hz.
constexpr float kTremulantRateCents = -700.0f;

} // namespace

std::string takeFluidErrors() {
    std::lock_guard lock(logMutex);
    return std::exchange(logged, {});
}

struct FluidSynthesizer::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int font = -1;
    double rate = 44100.0;

    ~Impl() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
    bool hasPreset(int bank, int program) const {
        fluid_sfont_t* sf = fluid_synth_get_sfont_by_id(synth, font);
        return sf && fluid_sfont_get_preset(sf, bank, program);
    }
};

FluidSynthesizer::FluidSynthesizer(const FluidOptions& options) : impl_(std::make_unique<Impl>()) {
    routeLogs();
    if (!std::ifstream(options.soundFont, std::ios::binary).good())
        throw std::runtime_error("The SoundFont \"" + options.soundFont + "\" cannot be read.");
    auto& s = *impl_;
    s.rate = options.sampleRate;
    s.settings = new_fluid_settings();
    fluid_settings_setnum(s.settings, "synth.sample-rate", options.sampleRate);
    fluid_settings_setint(s.settings, "synth.midi-channels", kParts);
    fluid_settings_setint(s.settings, "synth.polyphony", options.polyphony);
    fluid_settings_setnum(s.settings, "synth.gain", options.gain);
    fluid_settings_setint(s.settings, "synth.chorus.active", 0); // the organ sends no chorus
    fluid_settings_setint(s.settings, "synth.reverb.active", options.reverb ? 1 : 0);
    s.synth = new_fluid_synth(s.settings);
    if (!s.synth) throw std::runtime_error("FluidSynth did not start. " + takeFluidErrors());
    takeFluidErrors();
    s.font = fluid_synth_sfload(s.synth, options.soundFont.c_str(), 1);
    if (s.font == FLUID_FAILED)
        throw std::runtime_error("The SoundFont \"" + options.soundFont +
                                 "\" cannot be read: it is not an SF2 or SF3 file.");
    resetChannels();
}

FluidSynthesizer::~FluidSynthesizer() = default;

_fluid_synth_t* FluidSynthesizer::handle() const {
    return impl_->synth;
}

double FluidSynthesizer::sampleRate() const {
    return impl_->rate;
}

void FluidSynthesizer::setGain(double gain) {
    fluid_synth_set_gain(impl_->synth, static_cast<float>(gain));
}

void FluidSynthesizer::render(float* left, float* right, std::size_t frames) {
    fluid_synth_write_float(impl_->synth, static_cast<int>(frames), left, 0, 1, right, 0, 1);
}

int FluidSynthesizer::activeVoices() const {
    return fluid_synth_get_active_voice_count(impl_->synth);
}

void FluidSynthesizer::resetChannels() {
    fluid_synth_t* fs = impl_->synth;
    fluid_synth_system_reset(fs);
    // The front end works out level, expression, tremolo and send itself: FluidSynth's own
    // controllers for them stay where they take nothing away.
    for (int c = 0; c < kParts; ++c) {
        fluid_synth_cc(fs, c, 7, 127);
        fluid_synth_cc(fs, c, 11, 127);
        fluid_synth_cc(fs, c, 91, 0);
        fluid_synth_cc(fs, c, 93, 0);
        fluid_synth_set_gen(fs, c, GEN_VIBLFOFREQ, kTremulantRateCents);
        fluid_synth_set_gen(fs, c, GEN_MODLFOFREQ, kTremulantRateCents);
        fluid_synth_set_channel_type(fs, c, CHANNEL_TYPE_MELODIC);
    }
}

void FluidSynthesizer::selectTone(int part, int bank, int program, bool rhythm) {
    auto& s = *impl_;
    fluid_synth_set_channel_type(s.synth, part, rhythm ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    int b = rhythm ? 128 : bank, p = program;
    if (!s.hasPreset(b, p)) b = rhythm ? 128 : 0; // the capital tone
    if (!s.hasPreset(b, p)) p = 0;                // a drum set the font lacks: the standard one
    if (s.hasPreset(b, p))
        fluid_synth_program_select(s.synth, part, s.font, b, p);
    else
        fluid_synth_unset_program(s.synth, part);
}

void FluidSynthesizer::noteOn(int part, int key, int velocity) {
    fluid_synth_noteon(impl_->synth, part, key, velocity);
}

void FluidSynthesizer::noteOff(int part, int key) {
    fluid_synth_noteoff(impl_->synth, part, key);
}

void FluidSynthesizer::releaseAll(int part) {
    fluid_synth_all_notes_off(impl_->synth, part);
}

void FluidSynthesizer::silenceAll(int part) {
    fluid_synth_all_sounds_off(impl_->synth, part);
}

void FluidSynthesizer::setHold(int part, bool on) {
    fluid_synth_cc(impl_->synth, part, 64, on ? 127 : 0);
}

void FluidSynthesizer::setPitchBend(int part, int value) {
    fluid_synth_pitch_bend(impl_->synth, part, value);
}

void FluidSynthesizer::setAttenuation(int part, double centibels) {
    fluid_synth_set_gen(impl_->synth, part, GEN_ATTENUATION, static_cast<float>(centibels));
}

void FluidSynthesizer::setTremolo(int part, double pitchCents, double volumeCentibels) {
    fluid_synth_set_gen(impl_->synth, part, GEN_VIBLFOTOPITCH, static_cast<float>(pitchCents));
    fluid_synth_set_gen(impl_->synth, part, GEN_MODLFOTOVOL, static_cast<float>(volumeCentibels));
}

void FluidSynthesizer::setReverbSend(int part, double fraction) {
    // Tenths of a percent.
    fluid_synth_set_gen(impl_->synth, part, GEN_REVERBSEND, static_cast<float>(fraction * 1000.0));
}

void FluidSynthesizer::setScaleTuning(int part, const std::array<double, 12>& cents) {
    fluid_synth_t* fs = impl_->synth;
    bool equal = true;
    for (double c : cents)
        equal = equal && c == 0.0;
    if (equal) {
        fluid_synth_deactivate_tuning(fs, part, 1);
        return;
    }
    // One tuning program per part (bank 0, program = part); replacing it retunes the notes
    // that are sounding.
    fluid_synth_activate_octave_tuning(fs, 0, part, "Kavel part", cents.data(), 1);
    fluid_synth_activate_tuning(fs, part, 0, part, 1);
}

void FluidSynthesizer::setReverb(int macro, int level) {
    fluid_synth_t* fs = impl_->synth;
    const Room& r = kRooms[static_cast<std::size_t>(macro) % kRooms.size()];
    fluid_synth_set_reverb_group_roomsize(fs, -1, r.size);
    fluid_synth_set_reverb_group_damp(fs, -1, r.damping);
    fluid_synth_set_reverb_group_width(fs, -1, r.width);
    fluid_synth_set_reverb_group_level(fs, -1, level / 127.0);
}

} // namespace kavel::module
