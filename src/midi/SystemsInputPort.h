#pragma once

// The input control over several input systems listed one after another (ALSA, JACK).

#include "midi/InputSystem.h"
#include "midi/MidiPorts.h"
#include "midi/SystemDevices.h"

#include <functional>
#include <vector>

namespace kavel {

class SystemsInputPort : public MidiInput, private InputSink {
  public:
    // The systems in list order; they outlive the port. `wake` is called on a MIDI system's
    // thread after messages were queued, and must be cheap and thread-safe.
    SystemsInputPort(std::vector<InputSystem*> systems, std::function<void()> wake);
    ~SystemsInputPort() override;

    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;

  private:
    void deliver(const std::uint8_t* bytes, std::size_t size) noexcept override;
    void wake() noexcept override;

    std::function<void()> wake_;
    SystemDevices<InputSystem> devices_;
    InputSystem* opened_ = nullptr;
};

} // namespace kavel
