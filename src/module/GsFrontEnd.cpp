#include "module/GsFrontEnd.h"

#include <algorithm>
#include <cmath>

namespace kavel::module {

namespace {

constexpr double kSilentCb = 1440.0;
constexpr int kRhythmPartInBlock = 9; // part 10 of each block plays drums after a reset

// A GS address as one number, seven bits a byte, so a write running past xx 7F carries on.
constexpr int address(int hi, int mid, int lo) {
    return (hi << 14) | (mid << 7) | lo;
}
constexpr int hiOf(int a) {
    return a >> 14;
}
constexpr int midOf(int a) {
    return (a >> 7) & 0x7F;
}
constexpr int loOf(int a) {
    return a & 0x7F;
}

// The part a block's address nibble stands for: 0 is part 10, 1..9 parts 1..9, A..F 11..16.
int partIndex(int hi, int nibble) {
    const int q = nibble == 0 ? 10 : (nibble <= 9 ? nibble : nibble + 1);
    return q - 1 + (hi == 0x50 ? 16 : 0);
}

// An assignable controller's amplitude control at the controller's value: 1 untouched, 0 silent.
double amplitudeFactor(int control, int value) {
    const int depth = control - 0x40;
    const double full = depth / (depth < 0 ? 64.0 : 63.0);
    // Nothing above the part's own level: the synthesizer only turns parts down.
    return std::clamp(1.0 + full * value / 127.0, 0.0, 1.0);
}

} // namespace

GsFrontEnd::GsFrontEnd(Synthesizer& synth) : synth_(synth) {
    reset();
}

void GsFrontEnd::reset() {
    synth_.resetChannels();
    for (int i = 0; i < kParts; ++i) {
        auto& p = parts_[static_cast<std::size_t>(i)];
        p = GsPart{};
        p.channel = i % 16;
        p.rhythm = i % 16 == kRhythmPartInBlock;
        sounding_[static_cast<std::size_t>(i)].fill(0);
        attenuation_[static_cast<std::size_t>(i)] = -1.0;
        applyTone(i);
        applyLevel(i);
        applyTremolo(i);
        synth_.setReverbSend(i, p.reverbSend / 127.0);
    }
    reverbMacro_ = 4;
    reverbLevel_ = 64;
    synth_.setReverb(reverbMacro_, reverbLevel_);
}

void GsFrontEnd::receiveStream(const std::uint8_t* bytes, std::size_t size) {
    std::size_t at = 0;
    while (at < size) {
        std::size_t end = at + 1;
        if (bytes[at] == 0xF0) {
            while (end < size && bytes[end] != 0xF7)
                ++end;
            end = std::min(end + 1, size);
        } else {
            while (end < size && bytes[end] < 0x80)
                ++end;
        }
        receive(bytes + at, end - at);
        at = end;
    }
}

void GsFrontEnd::receive(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return;
    const int status = bytes[0];
    if (status == 0xF0) return sysEx(bytes, size);
    if (status < 0x80 || status >= 0xF0) {
        ++counts_.unsupported; // system messages, or data with no status
        return;
    }
    const int type = status & 0xF0;
    const std::size_t need = type == 0xC0 || type == 0xD0 ? 2 : 3;
    if (size != need || bytes[1] > 0x7F || (need == 3 && bytes[2] > 0x7F)) {
        ++counts_.damaged;
        return;
    }
    channelMessage(status, bytes[1], need == 3 ? bytes[2] : 0);
}

void GsFrontEnd::sysEx(const std::uint8_t* m, std::size_t size) {
    if (size < 2 || m[size - 1] != 0xF7 ||
        std::any_of(m + 1, m + size - 1, [](std::uint8_t b) { return b > 0x7F; })) {
        ++counts_.damaged;
        return;
    }
    if (size < 5 || m[1] != 0x41 || (m[2] != 0x10 && m[2] != 0x7F) || m[3] != 0x42 ||
        m[4] != 0x12) {
        ++counts_.notForUs;
        return;
    }
    // F0 41 dev 42 12, three address bytes, at least one data byte, checksum, F7.
    if (size < 11) {
        ++counts_.damaged;
        return;
    }
    int sum = 0;
    for (std::size_t i = 5; i < size - 1; ++i)
        sum += m[i];
    if (sum % 128 != 0) {
        ++counts_.damaged;
        return;
    }
    const int start = address(m[5], m[6], m[7]);
    std::uint32_t retune = 0;
    bool unknown = false;
    for (std::size_t i = 8; i < size - 2; ++i) {
        const int a = start + static_cast<int>(i - 8), value = m[i];
        const int hi = hiOf(a), mid = midOf(a), lo = loOf(a);
        bool known = false;
        if ((hi == 0x40 || hi == 0x50) && (mid & 0xF0) == 0x10) {
            const int index = partIndex(hi, mid & 0x0F);
            known = partParameter(index, lo, value);
            if (lo >= 0x40 && lo <= 0x4B) retune |= 1u << index;
        } else if ((hi == 0x40 || hi == 0x50) && (mid & 0xF0) == 0x20) {
            known = controllerParameter(partIndex(hi, mid & 0x0F), lo, value);
        } else {
            known = systemParameter(a, value);
        }
        unknown = unknown || !known;
    }
    // Twelve notes arrive in one message: the part is retuned once, for all of them.
    for (int i = 0; i < kParts; ++i)
        if (retune & (1u << i)) applyTuning(i);
    if (unknown) ++counts_.unknown;
}

bool GsFrontEnd::systemParameter(int a, int value) {
    if (a == address(0x40, 0x00, 0x7F) && value == 0) {
        reset();
        return true;
    }
    // The mode set re-initialises the module: 01 lets both blocks hear the one input.
    if (a == address(0x00, 0x00, 0x7F) && value <= 1) {
        bothBlocks_ = value == 1;
        reset();
        return true;
    }
    // One reverb serves both blocks.
    for (int hi : {0x40, 0x50}) {
        if (a == address(hi, 0x01, 0x30) && value <= 7) {
            reverbMacro_ = value;
            reverbLevel_ = 64; // a macro brings its own level, set again after it
            synth_.setReverb(reverbMacro_, reverbLevel_);
            return true;
        }
        if (a == address(hi, 0x01, 0x33)) {
            reverbLevel_ = value;
            synth_.setReverb(reverbMacro_, reverbLevel_);
            return true;
        }
    }
    return false;
}

bool GsFrontEnd::partParameter(int index, int lo, int value) {
    auto& p = parts_[static_cast<std::size_t>(index)];
    if (lo >= static_cast<int>(Rx::PitchBend) && lo <= static_cast<int>(Rx::Soft)) {
        p.rx[static_cast<std::size_t>(lo - static_cast<int>(Rx::PitchBend))] = value != 0;
        return true;
    }
    if (lo >= 0x40 && lo <= 0x4B) {
        p.scaleTuning[static_cast<std::size_t>(lo - 0x40)] = value;
        return true;
    }
    switch (lo) {
    case 0x00:
        p.bank = value;
        applyTone(index);
        return true;
    case 0x01:
        p.program = value;
        applyTone(index);
        return true;
    case 0x02:
        // Its keys would be released on a channel it no longer hears.
        if (p.channel != std::min(value, kChannelOff)) releaseAll(index, false);
        p.channel = std::min(value, kChannelOff);
        return true;
    case 0x15:
        p.rhythm = value != 0;
        applyTone(index);
        return true;
    case 0x16:
        p.keyShift = std::clamp(value, 0x28, 0x58);
        return true;
    case 0x19:
        p.level = value;
        applyLevel(index);
        return true;
    case 0x1D:
        p.keyLow = value;
        return true;
    case 0x1E:
        p.keyHigh = value;
        return true;
    case 0x1F:
    case 0x20:
        if (value > 0x5F) return false;
        p.ccNumber[static_cast<std::size_t>(lo - 0x1F)] = value;
        return true;
    case 0x22:
        p.reverbSend = value;
        synth_.setReverbSend(index, value / 127.0);
        return true;
    default:
        return false;
    }
}

bool GsFrontEnd::controllerParameter(int index, int lo, int value) {
    auto& p = parts_[static_cast<std::size_t>(index)];
    switch (lo) {
    case 0x04:
        p.modPitchDepth = value;
        applyTremolo(index);
        return true;
    case 0x06:
        p.modAmplitudeDepth = value;
        applyTremolo(index);
        return true;
    case 0x42:
    case 0x52:
        p.ccAmplitude[lo == 0x42 ? 0 : 1] = value;
        applyLevel(index);
        return true;
    default:
        return false;
    }
}

bool GsFrontEnd::listens(int index, int channel) const {
    return parts_[static_cast<std::size_t>(index)].channel == channel &&
           (index < 16 || bothBlocks_);
}

void GsFrontEnd::channelMessage(int status, int data1, int data2) {
    const int type = status & 0xF0, channel = status & 0x0F;
    if (type == 0xA0 || type == 0xD0) {
        ++counts_.unsupported;
        return;
    }
    for (int i = 0; i < kParts; ++i) {
        if (!listens(i, channel)) continue;
        auto& p = parts_[static_cast<std::size_t>(i)];
        switch (type) {
        case 0x80:
            noteOff(i, data1);
            break;
        case 0x90:
            if (data2 == 0)
                noteOff(i, data1);
            else if (p.receives(Rx::NoteMessage))
                noteOn(i, data1, data2);
            break;
        case 0xB0:
            controlChange(i, data1, data2);
            break;
        case 0xC0:
            if (!p.receives(Rx::ProgramChange)) break;
            p.program = data1;
            p.bank = p.bankSelect;
            applyTone(i);
            break;
        case 0xE0:
            if (p.receives(Rx::PitchBend)) synth_.setPitchBend(i, data1 | (data2 << 7));
            break;
        default:
            break;
        }
    }
}

void GsFrontEnd::controlChange(int index, int controller, int value) {
    auto& p = parts_[static_cast<std::size_t>(index)];
    // Whatever the receive switches say, what silences a part always gets through.
    if (controller == 120) return releaseAll(index, true);
    if (controller >= 123) return releaseAll(index, false);
    if (!p.receives(Rx::ControlChange)) return;
    switch (controller) {
    case 0:
        p.bankSelect = value;
        break;
    case 1:
        if (!p.receives(Rx::Modulation)) break;
        p.modulation = value;
        applyTremolo(index);
        break;
    case 7:
        if (!p.receives(Rx::Volume)) break;
        p.level = value;
        applyLevel(index);
        break;
    case 11:
        if (!p.receives(Rx::Expression)) break;
        p.expression = value;
        applyLevel(index);
        break;
    case 64:
        if (!p.receives(Rx::Hold1)) break;
        p.hold = value >= 64;
        synth_.setHold(index, p.hold);
        break;
    case 91:
        p.reverbSend = value;
        synth_.setReverbSend(index, value / 127.0);
        break;
    case 121:
        p.expression = 127;
        p.modulation = 0;
        p.hold = false;
        synth_.setHold(index, false);
        synth_.setPitchBend(index, 8192);
        applyLevel(index);
        applyTremolo(index);
        break;
    default:
        break;
    }
    for (std::size_t c = 0; c < 2; ++c) {
        if (p.ccNumber[c] != controller) continue;
        p.ccValue[c] = value;
        applyLevel(index);
    }
}

void GsFrontEnd::noteOn(int index, int key, int velocity) {
    auto& p = parts_[static_cast<std::size_t>(index)];
    noteOff(index, key); // a key struck again speaks once
    if (key < p.keyLow || key > p.keyHigh) return;
    const int sounding = key + p.keyShift - 0x40;
    if (sounding < 0 || sounding > 127) return;
    synth_.noteOn(index, sounding, velocity);
    sounding_[static_cast<std::size_t>(index)][static_cast<std::size_t>(key)] =
        static_cast<std::uint8_t>(sounding + 1);
}

void GsFrontEnd::noteOff(int index, int key) {
    auto& slot = sounding_[static_cast<std::size_t>(index)][static_cast<std::size_t>(key)];
    if (slot == 0) return;
    synth_.noteOff(index, slot - 1);
    slot = 0;
}

void GsFrontEnd::releaseAll(int index, bool cut) {
    if (cut)
        synth_.silenceAll(index);
    else
        synth_.releaseAll(index);
    sounding_[static_cast<std::size_t>(index)].fill(0);
}

// GS levels follow the square of the value (40 log10 in decibels), as volume and expression do.
void GsFrontEnd::applyLevel(int index) {
    const auto& p = parts_[static_cast<std::size_t>(index)];
    double gain =
        (p.level / 127.0) * (p.level / 127.0) * (p.expression / 127.0) * (p.expression / 127.0);
    for (std::size_t c = 0; c < 2; ++c)
        gain *= amplitudeFactor(p.ccAmplitude[c], p.ccValue[c]);
    const double cb = gain <= 0.0 ? kSilentCb : std::min(kSilentCb, -200.0 * std::log10(gain));
    auto& last = attenuation_[static_cast<std::size_t>(index)];
    if (cb == last) return;
    last = cb;
    synth_.setAttenuation(index, cb);
}

void GsFrontEnd::applyTremolo(int index) {
    const auto& p = parts_[static_cast<std::size_t>(index)];
    const double wheel = p.modulation / 127.0;
    const double cents = p.modPitchDepth * 600.0 / 127.0 * wheel;
    const double depth = p.modAmplitudeDepth / 127.0 * wheel; // 1: down to silence
    const double swing = depth > 0.0 ? -100.0 * std::log10(std::max(1.0 - depth, 1e-3)) : 0.0;
    synth_.setTremolo(index, cents, swing);
}

void GsFrontEnd::applyTuning(int index) {
    std::array<double, 12> cents{};
    const auto& t = parts_[static_cast<std::size_t>(index)].scaleTuning;
    for (std::size_t n = 0; n < 12; ++n)
        cents[n] = t[n] - 0x40;
    synth_.setScaleTuning(index, cents);
}

void GsFrontEnd::applyTone(int index) {
    const auto& p = parts_[static_cast<std::size_t>(index)];
    synth_.selectTone(index, p.bank, p.program, p.rhythm);
}

} // namespace kavel::module
