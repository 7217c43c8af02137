#pragma once

// The output control over several output systems listed one after another (ALSA, JACK, the
// built-in module). A Stops Table entry may hold several SysEx messages back to back; each
// system is handed them one message at a time, in order, since many receivers take a single
// message per event.

#include "midi/MidiPorts.h"
#include "midi/OutputSystem.h"
#include "midi/SystemDevices.h"

#include <vector>

namespace kavel {

class SystemsOutputPort : public MidiOutput {
  public:
    // The systems in list order; they outlive the port.
    explicit SystemsOutputPort(std::vector<OutputSystem*> systems);
    ~SystemsOutputPort() override;

    void checkDevice() override;

  protected:
    int backendDeviceCount(bool refresh) override;
    std::string backendDeviceName(int id) override;
    void backendOpen(int id) override;
    void backendClose() override;
    bool backendSend(const std::uint8_t* bytes, std::size_t size) override;

  private:
    SystemDevices<OutputSystem> devices_;
    OutputSystem* opened_ = nullptr;
};

} // namespace kavel
