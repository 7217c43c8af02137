#include "midi/jack/JackSystems.h"

#include "midi/MidiPorts.h"

namespace kavel {

namespace {
const std::string kPrefix = "JACK: ";
} // namespace

JackDeviceList::JackDeviceList(JackClient& client, JackClient::Port port, std::string ownName)
    : client_(client), port_(port), ownName_(std::move(ownName)) {}

std::vector<std::string> JackDeviceList::shown(bool refresh) {
    const bool input = port_ != JackClient::Port::Out;
    auto names = client_.ports(input, refresh || jackNames_.empty());
    jackNames_.clear();
    shownNames_.clear();
    if (!client_.poll()) return {}; // no server: the system is left out
    jackNames_.emplace_back();
    shownNames_.push_back(kPrefix + ownName_);
    for (auto& name : names) {
        shownNames_.push_back(kPrefix + name);
        jackNames_.push_back(std::move(name));
    }
    return shownNames_;
}

const std::string& JackDeviceList::jackName(std::size_t index) const {
    return jackNames_.at(index);
}

const std::string& JackDeviceList::shownName(std::size_t index) const {
    return shownNames_.at(index);
}

// ---- input

JackInputSystem::JackInputSystem(JackClient& client, JackClient::Port port, std::string ownName)
    : JackDeviceList(client, port, std::move(ownName)) {}

JackInputSystem::~JackInputSystem() {
    close();
}

void JackInputSystem::open(std::size_t index, InputSink& sink) {
    client_.open(port_, jackName(index), shownName(index), &sink);
    openedName_ = shownName(index);
}

void JackInputSystem::close() {
    client_.close(port_);
}

OutputSystem::Health JackInputSystem::check() {
    return client_.check(port_, openedName_);
}

// ---- output

JackOutputSystem::JackOutputSystem(JackClient& client, std::string ownName)
    : JackDeviceList(client, JackClient::Port::Out, std::move(ownName)) {}

JackOutputSystem::~JackOutputSystem() {
    close();
}

void JackOutputSystem::open(std::size_t index) {
    client_.open(port_, jackName(index), shownName(index), nullptr);
    openedName_ = shownName(index);
}

void JackOutputSystem::close() {
    client_.close(port_);
}

bool JackOutputSystem::send(const std::uint8_t* bytes, std::size_t size) {
    return client_.send(bytes, size);
}

OutputSystem::Health JackOutputSystem::check() {
    return client_.check(port_, openedName_);
}

} // namespace kavel
