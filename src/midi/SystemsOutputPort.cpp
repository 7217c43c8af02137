#include "midi/SystemsOutputPort.h"

namespace kavel {

SystemsOutputPort::SystemsOutputPort(std::vector<OutputSystem*> systems)
    : systems_(std::move(systems)) {}

SystemsOutputPort::~SystemsOutputPort() {
    closeIfOpen();
}

int SystemsOutputPort::backendDeviceCount(bool refresh) {
    if (refresh || !listed_) {
        devices_.clear();
        for (OutputSystem* system : systems_) {
            auto names = system->devices(refresh || !listed_);
            for (std::size_t i = 0; i < names.size(); ++i)
                devices_.push_back({system, i, std::move(names[i])});
        }
        listed_ = true;
    }
    return static_cast<int>(devices_.size());
}

std::string SystemsOutputPort::backendDeviceName(int id) {
    if (id < 0 || id >= static_cast<int>(devices_.size())) return {};
    return devices_[static_cast<std::size_t>(id)].name;
}

void SystemsOutputPort::backendOpen(int id) {
    const Device& device = devices_.at(static_cast<std::size_t>(id));
    device.system->open(device.index);
    opened_ = device.system;
}

void SystemsOutputPort::backendClose() {
    if (opened_) opened_->close();
    opened_ = nullptr;
}

bool SystemsOutputPort::backendSend(const std::uint8_t* bytes, std::size_t size) {
    if (!opened_ || size == 0) return true;
    if (bytes[0] != 0xF0) return opened_->send(bytes, size);
    // The stream was checked whole before it came here: F0 ... F7, F0 ... F7.
    std::size_t start = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0xF7) continue;
        if (!opened_->send(bytes + start, i + 1 - start)) return false;
        start = i + 1;
    }
    return true;
}

void SystemsOutputPort::checkDevice() {
    if (!opened_) return;
    auto health = opened_->check();
    // The faults of sends into a device that went away say nothing more than its loss.
    if (!health.lost.empty()) return lost(health.lost);
    for (auto& text : health.faults)
        raiseError(port_error::kDriver, std::move(text));
}

} // namespace kavel
