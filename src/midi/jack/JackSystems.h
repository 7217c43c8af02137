#pragma once

// Kavel's JACK inputs and output as MIDI systems of the input and output controls: the first
// device of each list is Kavel's own port alone ("JACK: Kavel In 1"), for others to connect to;
// the rest are the other clients' ports, a chosen one connected to Kavel's.

#include "midi/InputSystem.h"
#include "midi/OutputSystem.h"
#include "midi/jack/JackClient.h"

namespace kavel {

class JackDeviceList {
  public:
    JackDeviceList(JackClient& client, JackClient::Port port, std::string ownName);
    std::vector<std::string> shown(bool refresh);
    // The JACK name of device `index` of the last list (empty: Kavel's port alone).
    const std::string& jackName(std::size_t index) const;
    const std::string& shownName(std::size_t index) const;

  protected:
    JackClient& client_;
    JackClient::Port port_;
    std::string ownName_;
    std::vector<std::string> jackNames_;
    std::vector<std::string> shownNames_;
    std::string openedName_;
};

class JackInputSystem : public InputSystem, private JackDeviceList {
  public:
    JackInputSystem(JackClient& client, JackClient::Port port, std::string ownName);
    ~JackInputSystem() override;
    std::vector<std::string> devices(bool refresh) override { return shown(refresh); }
    void open(std::size_t index, InputSink& sink) override;
    void close() override;
    OutputSystem::Health check() override;
};

class JackOutputSystem : public OutputSystem, private JackDeviceList {
  public:
    JackOutputSystem(JackClient& client, std::string ownName);
    ~JackOutputSystem() override;
    std::vector<std::string> devices(bool refresh) override { return shown(refresh); }
    void open(std::size_t index) override;
    void close() override;
    bool send(const std::uint8_t* bytes, std::size_t size) override;
    Health check() override;
};

} // namespace kavel
