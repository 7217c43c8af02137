#pragma once

// What the fuzz targets share: a check that stops the run with a line saying what failed, the
// test of a MIDI message on the wire, and a console on fake ports and a fake clock.

#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "midi/fake/FakeMidi.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace kavel::fuzz {

[[noreturn]] inline void failed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    __builtin_trap();
}
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : ::kavel::fuzz::failed(#condition, __FILE__, __LINE__))

// With KAVEL_FUZZ_TRACE set, each message in and out is printed: to see what a crash did.
inline void trace(const char* what, const std::vector<std::uint8_t>& m) {
    static const bool on = std::getenv("KAVEL_FUZZ_TRACE") != nullptr;
    if (!on) return;
    std::fprintf(stderr, "%s", what);
    for (std::uint8_t b : m)
        std::fprintf(stderr, " %02X", b);
    std::fprintf(stderr, "\n");
}

// One message as an output sends it: a channel message with its data bytes, a system common
// or real-time message with its own, or SysEx messages whole, F0 to F7 with only data between.
inline bool isMidiMessage(const std::vector<std::uint8_t>& m) {
    if (m.empty() || m[0] < 0x80) return false;
    if (m[0] == 0xF0) {
        bool inside = false;
        for (std::uint8_t b : m) {
            if (b == 0xF0 && !inside)
                inside = true;
            else if (b == 0xF7 && inside)
                inside = false;
            else if (b > 0x7F || !inside)
                return false;
        }
        return !inside;
    }
    std::size_t size = 3;
    if (m[0] >= 0xF0) // F4, F5, F9 and FD are undefined, but carry no data either
        size = (m[0] == 0xF1 || m[0] == 0xF3) ? 2 : m[0] == 0xF2 ? 3 : m[0] == 0xF7 ? 0 : 1;
    else if ((m[0] & 0xF0) == 0xC0 || (m[0] & 0xF0) == 0xD0)
        size = 2;
    if (m.size() != size) return false;
    for (std::size_t i = 1; i < size; ++i)
        if (m[i] > 0x7F) return false;
    return true;
}

// A folder of this process for the files a target must write, in memory where /dev/shm is;
// removed when the run ends.
inline std::filesystem::path scratchFolder(const char* name) {
    namespace fs = std::filesystem;
    struct Folder {
        fs::path path;
        ~Folder() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    static const Folder folder{base / ("kavel-fuzz-" + std::string(name) + "-" +
                                       std::to_string(static_cast<long>(::getpid())))};
    fs::create_directories(folder.path);
    return folder.path;
}

// The shipped organ, as the build makes it.
inline std::string shippedTable() {
    return std::string(KAVEL_PROGRAM_DIR) + "/kavel.DAT";
}

// A console on two fake keyboards and a fake module, every message it sends checked.
struct Console {
    ManualEventLoop loop;
    ScriptedUser user;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    std::unique_ptr<Kavel> kavel;

    explicit Console(const std::string& folder) {
        for (FakeMidiInput* in : {&in1, &in2})
            in->devices.names = {"Keyboard 1", "Keyboard 2"};
        out.devices.names = {"Module"};
        out.onSend = [](const std::vector<std::uint8_t>& m) {
            trace("out", m);
            FUZZ_CHECK(isMidiMessage(m));
        };
        kavel = std::make_unique<Kavel>(Ports{in1, in2, out}, loop, user, folder);
        kavel->state.config.PATH_CFG = folder + "/kavel.CFG";
    }
    Kavel& operator*() { return *kavel; }
    Kavel* operator->() { return kavel.get(); }

    // Ports open on both keyboards and the module, a Stops Table loaded and the console reset,
    // as start-up leaves it with a saved configuration.
    void startPlaying(const std::string& table = shippedTable()) {
        Kavel& k = *kavel;
        for (auto& filter : k.state.midi.FILTRI_INGRESSO)
            filter = false; // let system messages through: they are forwarded too
        k.devices.MIDI_DEVICES_ACK();
        k.state.midi.DISPOSITIVO_IN1 = 0;
        k.state.midi.DISPOSITIVO_IN2 = 1;
        k.state.midi.DISPOSITIVO_OUT = 0;
        k.devices.MIDI_OPENING();
        k.state.config.PATH_DAT = table;
        k.tableFile.CARICAMENTO_DAT();
        k.state.panel.INTERFACCIA_GRAFICA = true;
        k.panel.LOAD_GRAPHIC_INTERFACE();
        k.stopNames.CARICAMENTO_LIST_BOXES();
        k.state.memories.BERSAGLIO_RECALL = 11;
        k.registration.RESET_Click();
    }
};

// The bytes of a fuzz input, taken from the front; zeros once they run out.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace kavel::fuzz
