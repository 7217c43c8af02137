#include "panel/Controls.h"

#include <utility>

namespace kavel {

namespace {
const ControlState kDefaults{};
}

const ControlState& Controls::get(std::string_view name, int index) const {
    auto it = states_.find(ControlKey{std::string(name), index});
    return it == states_.end() ? kDefaults : it->second;
}

bool Controls::exists(std::string_view name, int index) const {
    return states_.contains(ControlKey{std::string(name), index});
}

ControlState& Controls::edit(std::string_view name, int index) {
    ControlKey key{std::string(name), index};
    auto& state = states_[key];
    if (pending_.insert(key).second) {
        changed_.push_back(std::move(key));
        if (changed_.size() == 1 && changedHook_) changedHook_();
    }
    return state;
}

std::vector<ControlKey> Controls::drainChanged() {
    pending_.clear();
    return std::exchange(changed_, {});
}

} // namespace kavel
