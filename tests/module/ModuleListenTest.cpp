// The built-in module heard: the shipped organ's console drives the GS front end over
// FluidSynth, rendered offline, and the sound is measured. What each test expects is what a
// GS module must do with the console's messages.

#include "../RegistrationFixture.h"
#include "Listening.h"
#include "module/GsFrontEnd.h"
#include "module/ModuleSettings.h"
#include "module/fluidsynth/FluidSynthesizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kavel::test {

namespace {

constexpr double kRate = 44100.0;
constexpr double kSilent = 1e-5; // -100 dBFS
constexpr double kHeard = 1e-3;  // -60 dBFS

module::FluidSynthesizer* sharedSynth() {
    // Loading the SoundFont takes a while: one synthesizer, a fresh front end per test. No
    // reverb, so a cut note leaves nothing behind.
    static std::unique_ptr<module::FluidSynthesizer> synth =
        []() -> std::unique_ptr<module::FluidSynthesizer> {
        if (!std::filesystem::exists(module::kDefaultSoundFont)) return nullptr;
        return std::make_unique<module::FluidSynthesizer>(
            module::FluidOptions{module::kDefaultSoundFont, kRate, 0.4, 256, false});
    }();
    return synth.get();
}

class ModuleListen : public RegistrationFixture {
  protected:
    void SetUp() override {
        if (!sharedSynth()) GTEST_SKIP() << "no SoundFont at " << module::kDefaultSoundFont;
        front = std::make_unique<module::GsFrontEnd>(*sharedSynth());
        for (const auto& m : out.sent) // the reset, as the module heard it
            front->receiveStream(m.bytes.data(), m.bytes.size());
        auto logged = out.onSend;
        out.onSend = [this, logged](const std::vector<std::uint8_t>& bytes) {
            logged(bytes);
            front->receiveStream(bytes.data(), bytes.size());
        };
    }

    void hear(std::vector<std::uint8_t> bytes) { front->receive(bytes.data(), bytes.size()); }

    // Whole audio blocks, so every render starts its notes at the same point of a block.
    std::vector<float> render(double seconds) {
        const auto frames = static_cast<std::size_t>(seconds * kRate) / 64 * 64;
        std::vector<float> l(frames), r(frames), mono(frames);
        sharedSynth()->render(l.data(), r.data(), frames);
        for (std::size_t i = 0; i < frames; ++i)
            mono[i] = 0.5f * (l[i] + r[i]);
        return mono;
    }

    // A key held on a division's channel: the steady sound after the attack, then silence.
    std::vector<float> play(int channel, int key, double seconds = 0.3) {
        const auto c = static_cast<std::uint8_t>(channel);
        hear({static_cast<std::uint8_t>(0x90 | c), static_cast<std::uint8_t>(key), 100});
        render(0.15);
        auto sound = render(seconds);
        hear({static_cast<std::uint8_t>(0x80 | c), static_cast<std::uint8_t>(key), 0});
        hear({static_cast<std::uint8_t>(0xB0 | c), 120, 0}); // all sound off: no tail
        render(0.01);
        return sound;
    }

    double pitch(int channel, int key, double below, double above) {
        const double f = 440.0 * std::pow(2.0, (key - 69) / 12.0);
        return fundamental(play(channel, key, 0.4), kRate, f * below, f * above);
    }

    void draw(SlotArray RegistrationTable::*field, int row) {
        (console().state.registration.*field)[SLOT_LIVE] = row;
        console().registration.AGGIORNAMENTO_KAVEL();
    }

    std::unique_ptr<module::GsFrontEnd> front;
};

struct Group {
    const char* name;
    SlotArray RegistrationTable::*field;
    int rows;
    int channel; // the division it belongs to
};
const Group kGroups[] = {
    {"Great Fondi", &RegistrationTable::FO_GO, 29, 0},
    {"Swell Fondi", &RegistrationTable::FO_SW, 29, 1},
    {"Great Mutazioni", &RegistrationTable::MU_GO, 19, 0},
    {"Swell Mutazioni", &RegistrationTable::MU_SW, 19, 1},
    {"Great Ancie", &RegistrationTable::AN_GO, 19, 0},
    {"Swell Ancie", &RegistrationTable::AN_SW, 19, 1},
    {"Pedale", &RegistrationTable::PED, 19, 2},
};

} // namespace

TEST_F(ModuleListen, EveryStopSoundsOnItsOwnDivisionOnly) {
    for (const auto& g : kGroups) {
        for (int row = 1; row <= g.rows; ++row) {
            draw(g.field, row);
            for (int channel = 0; channel < 3; ++channel) {
                const double level = rms(play(channel, 48));
                if (channel == g.channel)
                    EXPECT_GT(level, kHeard) << g.name << " row " << row << " is not heard";
                else
                    EXPECT_LT(level, kSilent)
                        << g.name << " row " << row << " sounds on channel " << channel + 1;
            }
            draw(g.field, 0);
        }
    }
}

// Each note class moves by the template's cents (GS scale tuning: 40 is none, one step a
// cent), measured against the same note in equal temperament, on the Flauto 8' of both blocks.
TEST_F(ModuleListen, TemperamentsMoveEachNoteByTheirCents) {
    draw(&RegistrationTable::FO_GO, 4);
    draw(&RegistrationTable::FO_SW, 4);
    std::array<std::array<double, 12>, 2> equal{};
    for (int channel = 0; channel < 2; ++channel)
        for (int n = 0; n < 12; ++n)
            equal[channel][n] = pitch(channel, 60 + n, 0.8, 1.25);
    for (int t = 1; t <= 6; ++t) {
        console().lists.selectListItem("Temperamenti", t);
        const std::string& templ = console().state.stops.STOPS_TABLE[10 + t];
        for (int channel = 0; channel < 2; ++channel)
            for (int n = 0; n < 12; ++n) {
                const double expected = static_cast<unsigned char>(templ[8 + n]) - 0x40;
                EXPECT_NEAR(cents(pitch(channel, 60 + n, 0.8, 1.25), equal[channel][n]), expected,
                            1.0)
                    << "temperament " << t << ", note class " << n << ", channel " << channel + 1;
            }
    }
}

// A shifted stop's C4 sounds as its unshifted fellow (same tone) played the footage's interval
// higher: to the cent, and far from any other octave.
TEST_F(ModuleListen, KeyShiftGivesTheFootage) {
    using R = RegistrationTable;
    struct Case {
        const char* name;
        SlotArray R::*field;
        int row, fellowRow, semitones;
    };
    const Case cases[] = {{"Flauto 4'", &R::FO_GO, 5, 4, 12},
                          {"Bordone 16'", &R::FO_GO, 7, 6, -12},
                          {"Nazardo 2 2/3'", &R::MU_GO, 3, 4, 19},
                          {"Flauto in XV 2'", &R::MU_GO, 4, 4, 24},
                          {"Choralbass 4' (Pedal)", &R::PED, 10, 3, 12}};
    for (const Case& c : cases) {
        const bool pedal = c.field == &R::PED;
        const int channel = pedal ? 2 : 0;
        SlotArray R::*fellowField = pedal ? &R::PED : &R::FO_GO;
        draw(fellowField, c.fellowRow);
        const double fellowHere = pitch(channel, 60, 0.3, 8.0);
        const double fellowThere = pitch(channel, 60 + c.semitones, 0.3, 8.0);
        draw(fellowField, 0);
        draw(c.field, c.row);
        const double shifted = pitch(channel, 60, 0.3, 8.0);
        draw(c.field, 0);
        EXPECT_NEAR(cents(shifted, fellowThere), 0.0, 1.0) << c.name;
        EXPECT_NEAR(cents(shifted, fellowHere), c.semitones * 100.0, 30.0) << c.name;
    }
}

// Expression and the Fondi balance turn the Great down step by step; the reinforcement part,
// heard as the difference with and without it, keeps its level whatever the balance.
TEST_F(ModuleListen, ExpressionAndBalanceChangeTheLevelMonotonically) {
    auto& k = console();
    auto& r = k.state.registration;
    draw(&RegistrationTable::FO_GO, 4);
    double last = 1e9;
    for (int e : {127, 115, 100, 85, 70, 60}) {
        r.EXPR_GO[SLOT_LIVE] = e;
        k.senders.EXPRESSION_GO();
        const double level = rms(play(0, 60));
        EXPECT_LT(level, last) << "expression " << e;
        last = level;
    }
    r.EXPR_GO[SLOT_LIVE] = 127;
    k.senders.EXPRESSION_GO();
    last = 1e9;
    for (int b : {127, 100, 75, 50, 25, 0}) {
        r.BIL_FONDI_GO[SLOT_LIVE] = b;
        k.senders.BILANCIA_FONDI_GO();
        const double level = rms(play(0, 60));
        EXPECT_LT(level, last) << "balance " << b;
        last = level;
    }
    EXPECT_LT(last, kSilent) << "balance 0 silences the Fondi";

    draw(&RegistrationTable::FO_GO, 1); // Principale 8', reinforced
    std::vector<double> reinforcement;
    for (int b : {127, 64, 0}) {
        r.BIL_FONDI_GO[SLOT_LIVE] = b;
        k.senders.BILANCIA_FONDI_GO();
        const auto with = play(0, 60);
        const std::string off = k.state.stops.STOPS_TABLE[31], on = k.state.stops.STOPS_TABLE[30];
        front->receiveStream(reinterpret_cast<const std::uint8_t*>(off.data()), off.size());
        const auto without = play(0, 60);
        front->receiveStream(reinterpret_cast<const std::uint8_t*>(on.data()), on.size());
        std::vector<float> part10(with.size());
        for (std::size_t i = 0; i < with.size(); ++i)
            part10[i] = with[i] - without[i];
        reinforcement.push_back(rms(part10));
    }
    EXPECT_GT(reinforcement[0], kHeard);
    for (double level : reinforcement)
        EXPECT_NEAR(decibels(level / reinforcement[0]), 0.0, 0.1);
}

// Keys let go, PANIC, RESET: with every division sounding, nothing is left once the release
// time (two seconds here) has passed, nor any voice.
TEST_F(ModuleListen, NothingSoundsAfterReleasePanicOrReset) {
    auto& k = console();
    const char* ways[] = {"keys released", "panic", "reset"};
    for (const char* way : ways) {
        draw(&RegistrationTable::FO_GO, 28);
        draw(&RegistrationTable::AN_SW, 16);
        draw(&RegistrationTable::PED, 19);
        for (int c = 0; c < 3; ++c)
            for (int key : {36, 48, 55, 60, 64})
                hear({static_cast<std::uint8_t>(0x90 | c), static_cast<std::uint8_t>(key), 90});
        // A stop changed under held keys, and a key played after it, are heard.
        draw(&RegistrationTable::MU_GO, 7);
        hear({0x90, 72, 90});
        EXPECT_GT(rms(render(0.3)), kHeard) << way;
        if (way == ways[0]) {
            for (int c = 0; c < 3; ++c)
                for (int key : {36, 48, 55, 60, 64, 72})
                    hear({static_cast<std::uint8_t>(0x80 | c), static_cast<std::uint8_t>(key), 0});
        } else if (way == ways[1]) {
            k.sender.Panic_Click();
        } else {
            k.registration.RESET_Click();
        }
        render(2.0);
        EXPECT_LT(rms(render(0.2)), kSilent) << way;
        EXPECT_EQ(sharedSynth()->activeVoices(), 0) << way;
        k.registration.RESET_Click();
    }
}

// The front end's parts after the shipped organ's reset and a few registrations are those of
// the project's own GS model.
TEST_F(ModuleListen, PartStateAgreesWithTheGsModel) {
    auto& k = console();
    auto compare = [this](const char* when) {
        for (int p = 1; p <= 32; ++p) {
            const auto& mine = front->part(p);
            const auto& model = module.parts[static_cast<std::size_t>(p)];
            const auto at = std::string(when) + ", part " + std::to_string(p);
            EXPECT_EQ(mine.bank, model.bank) << at;
            EXPECT_EQ(mine.program, model.program) << at;
            EXPECT_EQ(mine.channel, model.channel) << at;
            EXPECT_EQ(mine.level, model.level) << at;
            EXPECT_EQ(mine.expression, model.expression) << at;
            EXPECT_EQ(mine.keyShift, model.keyShift) << at;
            EXPECT_EQ(mine.keyLow, model.keyLow) << at;
            EXPECT_EQ(mine.keyHigh, model.keyHigh) << at;
            EXPECT_EQ(mine.scaleTuning, model.scaleTuning) << at;
            EXPECT_EQ(mine.ccNumber, model.ccNumber) << at;
            EXPECT_EQ(mine.ccValue, model.ccValue) << at;
            EXPECT_EQ(mine.ccAmplitude, model.ccAmplitude) << at;
            for (int s = kRxPitchBend; s <= kRxSoft; ++s)
                EXPECT_EQ(mine.receives(static_cast<module::Rx>(s)),
                          model.receives(static_cast<RxSwitch>(s)))
                    << at << ", switch " << s;
        }
    };
    compare("after the reset");
    draw(&RegistrationTable::FO_GO, 28);
    draw(&RegistrationTable::MU_SW, 19);
    draw(&RegistrationTable::PED, 19);
    k.state.registration.BIL_ANCIE_SW[SLOT_LIVE] = 40;
    k.senders.BILANCIA_ANCIE_SW();
    k.lists.selectListItem("Temperamenti", 3);
    compare("after a registration");
    EXPECT_TRUE(front->bothBlocksListen());
    EXPECT_EQ(front->counts().unknown + front->counts().damaged + front->counts().notForUs, 0u);
}

} // namespace kavel::test
