#pragma once

// Ports that go nowhere, for timing the core alone: the output counts what it would send.

#include "midi/MidiPorts.h"

#include <string>

namespace kavel::bench {

class NullOutput : public MidiOutput {
  public:
    long sent = 0;
    long bytes = 0;

  protected:
    int backendDeviceCount(bool) override { return 1; }
    std::string backendDeviceName(int) override { return "null"; }
    void backendOpen(int) override {}
    void backendClose() override {}
    bool backendSend(const std::uint8_t*, std::size_t size) override {
        ++sent;
        bytes += static_cast<long>(size);
        return true;
    }
};

class BenchInput : public MidiInput {
  public:
    void feed(const std::uint8_t* b, std::size_t n) { receive(b, n); }

  protected:
    int backendDeviceCount(bool) override { return 1; }
    std::string backendDeviceName(int) override { return "keys"; }
    void backendOpen(int) override {}
    void backendClose() override {}
};

} // namespace kavel::bench
