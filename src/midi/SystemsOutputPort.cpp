#include "midi/SystemsOutputPort.h"

namespace kavel {

SystemsOutputPort::SystemsOutputPort(std::vector<OutputSystem*> systems)
    : devices_(std::move(systems)) {}

SystemsOutputPort::~SystemsOutputPort() {
    closeIfOpen();
}

int SystemsOutputPort::backendDeviceCount(bool refresh) {
    return devices_.count(refresh);
}

std::string SystemsOutputPort::backendDeviceName(int id) {
    return devices_.name(id);
}

void SystemsOutputPort::backendOpen(int id) {
    const auto& device = devices_.at(id);
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
