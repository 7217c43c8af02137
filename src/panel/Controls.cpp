#include "panel/Controls.h"

namespace kavel {

namespace {
const ControlState kDefaults{};
}

const ControlState& Controls::get(std::string_view name, int index) const {
    auto it = states_.find(ControlKeyView{name, index});
    return it == states_.end() ? kDefaults : it->second.state;
}

bool Controls::exists(std::string_view name, int index) const {
    return states_.find(ControlKeyView{name, index}) != states_.end();
}

ControlState& Controls::edit(std::string_view name, int index) {
    auto it = states_.find(ControlKeyView{name, index});
    if (it == states_.end())
        it = states_.emplace(ControlKey{std::string(name), index}, Entry{}).first;
    if (!it->second.changed) {
        it->second.changed = true;
        changed_.push_back(&it->first);
        if (changed_.size() == 1 && changedHook_) changedHook_();
    }
    return it->second.state;
}

ControlState& Controls::place(std::string_view name, int index, ControlKind kind,
                              std::string_view window, int left, int top, int width, int height) {
    auto& c = edit(name, index);
    c.kind = kind;
    c.window = std::string(window);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    return c;
}

std::vector<ControlKey> Controls::drainChanged() {
    std::vector<ControlKey> keys;
    keys.reserve(changed_.size());
    for (const ControlKey* key : changed_) {
        states_.find(*key)->second.changed = false;
        keys.push_back(*key);
    }
    changed_.clear(); // keeps its room for the next round
    return keys;
}

} // namespace kavel
