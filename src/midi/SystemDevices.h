#pragma once

// The device list of a port control over several MIDI systems: each system's devices one after
// another, so a device's number is its place in that concatenation.

#include <cstddef>
#include <string>
#include <vector>

namespace kavel {

template <typename System> class SystemDevices {
  public:
    struct Device {
        System* system;
        std::size_t index; // in its system's own list
        std::string name;
    };

    // The systems in list order; they outlive the list.
    explicit SystemDevices(std::vector<System*> systems) : systems_(std::move(systems)) {}

    // `refresh`: ask every system again; otherwise the list last read (read once at least).
    int count(bool refresh) {
        if (refresh || !listed_) {
            devices_.clear();
            for (System* system : systems_) {
                auto names = system->devices(refresh || !listed_);
                for (std::size_t i = 0; i < names.size(); ++i)
                    devices_.push_back({system, i, std::move(names[i])});
            }
            listed_ = true;
        }
        return static_cast<int>(devices_.size());
    }

    std::string name(int id) const {
        if (id < 0 || id >= static_cast<int>(devices_.size())) return {};
        return devices_[static_cast<std::size_t>(id)].name;
    }

    const Device& at(int id) const { return devices_.at(static_cast<std::size_t>(id)); }

  private:
    std::vector<System*> systems_;
    std::vector<Device> devices_;
    bool listed_ = false;
};

} // namespace kavel
