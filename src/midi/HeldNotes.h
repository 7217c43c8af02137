#pragma once

// Where each held key's press was sent, per input and incoming key, so that its release goes
// to exactly those channels and notes even if couplers, the sub-octave, the organ body or the
// thru mode changed meanwhile. Fixed size; nothing allocated while playing.

#include <array>
#include <cstdint>

namespace kavel {

class HeldNotes {
  public:
    static constexpr int kMaxSends = 8;

    struct Sends {
        std::uint8_t count = 0;
        std::array<std::uint8_t, kMaxSends> channel{};
        std::array<std::uint8_t, kMaxSends> note{};
    };

    // Adds a destination of the key's press (a retriggered key keeps its earlier ones too).
    void add(int input, int channel, int note, int sentChannel, int sentNote) {
        Sends& s = at(input, channel, note);
        for (int i = 0; i < s.count; ++i)
            if (s.channel[i] == sentChannel && s.note[i] == sentNote) return;
        if (s.count == kMaxSends) return;
        s.channel[s.count] = static_cast<std::uint8_t>(sentChannel);
        s.note[s.count] = static_cast<std::uint8_t>(sentNote);
        ++s.count;
    }
    // The press's destinations, now forgotten; count 0 when nothing was recorded.
    Sends take(int input, int channel, int note) {
        Sends& s = at(input, channel, note);
        Sends taken = s;
        s.count = 0;
        return taken;
    }
    // True when a press of this key was sent and its release is still owed.
    bool holds(int input, int channel, int note) { return at(input, channel, note).count > 0; }
    // Forgets the destinations on the module channels below `channels` (an All Notes Off
    // there silenced them); destinations on other channels still owe their releases.
    void forgetChannelsBelow(int channels) {
        for (auto& byChannel : table_)
            for (auto& byNote : byChannel)
                for (Sends& s : byNote) {
                    std::uint8_t kept = 0;
                    for (std::uint8_t i = 0; i < s.count; ++i) {
                        if (s.channel[i] < channels) continue;
                        s.channel[kept] = s.channel[i];
                        s.note[kept] = s.note[i];
                        ++kept;
                    }
                    s.count = kept;
                }
    }
    // Every destination still owed a release by keys of `input`, handed to `release(channel,
    // note)` and forgotten: the keyboard went away, and its releases will never come.
    template <typename Release> void takeAll(int input, Release&& release) {
        for (auto& byNote : table_[static_cast<std::size_t>(input & 1)])
            for (Sends& s : byNote) {
                for (std::uint8_t i = 0; i < s.count; ++i)
                    release(s.channel[i], s.note[i]);
                s.count = 0;
            }
    }
    void clear() { table_ = {}; }

  private:
    Sends& at(int input, int channel, int note) {
        return table_[static_cast<std::size_t>(input & 1)][static_cast<std::size_t>(channel & 0x0F)]
                     [static_cast<std::size_t>(note & 0x7F)];
    }
    std::array<std::array<std::array<Sends, 128>, 16>, 2> table_{};
};

} // namespace kavel
