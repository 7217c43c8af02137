#pragma once

// A console on fake ports, a fake clock and a scripted user.

#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "midi/fake/FakeMidi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace kavel::test {

class ConsoleFixture : public ::testing::Test {
  protected:
    ConsoleFixture() {
        setDevices({"Keyboard 1", "Keyboard 2"}, {"Module"});
        out.clock = [this] { return loop.now(); };
        // A parameterised test's name holds a "/": one folder level, so it is removed whole.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder = std::filesystem::temp_directory_path() /
                 ("kavel-test-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + name);
        std::filesystem::create_directories(folder);
        // The shipped default organ, as a program folder holds it.
        std::filesystem::copy_file(std::filesystem::path(KAVEL_PROGRAM_DIR) / "kavel.DAT",
                                   folder / "kavel.DAT",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~ConsoleFixture() override {
        core.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    void setDevices(std::vector<std::string> inputs, std::vector<std::string> outputs) {
        in1.devices.names = inputs;
        in2.devices.names = inputs;
        out.devices.names = std::move(outputs);
    }

    Kavel& console() {
        if (!core) {
            core = std::make_unique<Kavel>(Ports{in1, in2, out}, loop, user, folder.string());
            // As start-up names it, before anything may write the configuration.
            core->state.config.PATH_CFG = (folder / "kavel.CFG").string();
        }
        return *core;
    }

    // Opens the ports at these device numbers as a saved configuration would.
    void openPorts(int dev1, int dev2, int devOut) {
        auto& k = console();
        k.devices.MIDI_DEVICES_ACK();
        k.state.midi.DISPOSITIVO_IN1 = dev1;
        k.state.midi.DISPOSITIVO_IN2 = dev2;
        k.state.midi.DISPOSITIVO_OUT = devOut;
        k.devices.MIDI_OPENING();
    }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : user.shown)
            texts.push_back(box.text);
        return texts;
    }

    ManualEventLoop loop;
    ScriptedUser user;
    FakeMidiInput in1;
    FakeMidiInput in2;
    FakeMidiOutput out;
    std::filesystem::path folder;
    std::unique_ptr<Kavel> core;
};

inline std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
    std::vector<std::uint8_t> b;
    for (int v : list)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

} // namespace kavel::test
