#pragma once

// Scripted MIDI devices for tests and kavel-sim: a device list, devices that refuse to open,
// an output that records every message with the time on a caller-supplied clock, and input
// injected by the test.

#include "midi/MidiPorts.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kavel {

// As a driver's list, read afresh only when asked: a number means the device it meant when the
// list was last read.
struct FakeDeviceList {
    std::vector<std::string> names;
    std::set<std::string> failing; // these refuse to open
    std::set<std::string> absent;  // unplugged: left out of the list, as a driver would

    // The devices listed now, in their order.
    std::vector<std::string> listed() const;
};

struct SentMessage {
    double timeMs = 0;
    std::vector<std::uint8_t> bytes;
};

class FakeMidiOutput : public MidiOutput {
  public:
    FakeDeviceList devices;
    std::vector<SentMessage> sent;
    std::function<double()> clock;                                // optional
    std::function<void(const std::vector<std::uint8_t>&)> onSend; // optional
    int openedDevice = -1;
    int openCount = 0;
    int closeCount = 0;

    // The device disappears while open.
    void vanish();
    // An open device found among the absent ones is lost.
    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;
    bool backendSend(const std::uint8_t* bytes, std::size_t size) override;

  private:
    std::vector<std::string> read_;
    bool wasRead_ = false;
};

class FakeMidiInput : public MidiInput {
  public:
    FakeDeviceList devices;
    int openedDevice = -1;
    int openCount = 0;
    int closeCount = 0;

    // A message arriving from the device (as a driver thread would deliver it).
    void inject(std::vector<std::uint8_t> bytes) { receive(bytes.data(), bytes.size()); }
    void vanish();
    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;

  private:
    std::vector<std::string> read_;
    bool wasRead_ = false;
};

} // namespace kavel
