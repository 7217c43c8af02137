#pragma once

// What every control of every window shows, held by the core and drawn by the window layer.
// Controls are addressed by their name and, for control arrays, their index.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

// A colour as the windows know it: a system colour by index (9 lit, 15 unlit, 10 dark,
// 18 button text) or an explicit RGB value.
struct Colour {
    enum class Kind { Default, System, Rgb };
    Kind kind = Kind::Default;
    std::uint32_t value = 0; // system index, or 0xRRGGBB

    static Colour system(int index) { return {Kind::System, static_cast<std::uint32_t>(index)}; }
    static Colour rgb(int r, int g, int b) {
        return {Kind::Rgb, static_cast<std::uint32_t>((r << 16) | (g << 8) | b)};
    }
    bool operator==(const Colour&) const = default;
};

struct FontSpec {
    std::string name;
    double size = 0; // points; 0 = the window's default
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

// What a window draws for a control; None: state only (menus, program-wide controls).
// Text: an editable text box; its caption is the text, and it answers _Click, _DblClick and
// _Change. Tabs: a tab strip; items are the tabs' captions, value the tab shown, _Click on a
// change (the core shows and hides each page's controls itself).
enum class ControlKind {
    None,
    Label,
    Button,
    Picture,
    Frame,
    Slider,
    List,
    Option,
    Check,
    Text,
    Tabs
};
enum class Align { Left, Centre, Right };

// Check boxes: 0 unchecked, 1 checked, 2 greyed. Menu items and option buttons use 0 and 1.
struct ControlState {
    ControlKind kind = ControlKind::None;
    std::string window; // the window that draws it
    Align align = Align::Left;
    std::string caption;
    Colour backColour;
    Colour foreColour;
    std::string picture; // file path, empty = none
    bool visible = true;
    bool enabled = true;
    int value = 0; // slider value, check state, option value
    int min = 0;
    int max = 0;
    // A slider's step for a page key or a click beside the knob; 0: the toolkit's own.
    int largeChange = 0;
    std::vector<std::string> items;
    int listIndex = -1;
    // The list entry at the top of a list's view; -1: wherever the window has it.
    int topIndex = -1;
    std::string toolTip;
    FontSpec font;
    // Twips; negative = left to the window layer.
    int left = -1;
    int top = -1;
    int width = -1;
    int height = -1;
};

struct ControlKey {
    std::string name;
    int index = -1; // -1: not an array element

    auto operator<=>(const ControlKey&) const = default;
};

// Looks controls up without building a key: editing a known control allocates nothing.
struct ControlKeyLess {
    using is_transparent = void;
    template <typename A, typename B> bool operator()(const A& a, const B& b) const {
        const int byName = std::string_view(a.name).compare(std::string_view(b.name));
        return byName != 0 ? byName < 0 : a.index < b.index;
    }
};

struct ControlKeyView {
    std::string_view name;
    int index;
};

class Controls {
  public:
    // Read access; a control never touched reads as its defaults.
    const ControlState& get(std::string_view name, int index = -1) const;
    bool exists(std::string_view name, int index = -1) const;

    // Write access: marks the control changed so the window layer redraws it.
    ControlState& edit(std::string_view name, int index = -1);
    // Gives a control its window, its kind and its place in twips; what it shows stays.
    ControlState& place(std::string_view name, int index, ControlKind kind, std::string_view window,
                        int left, int top, int width, int height);

    // Called once each time the first control becomes changed after a drain.
    void setChangedHook(std::function<void()> hook) { changedHook_ = std::move(hook); }
    // The controls changed since the last drain, each once.
    std::vector<ControlKey> drainChanged();

    struct Entry {
        ControlState state;
        bool changed = false;
    };
    const std::map<ControlKey, Entry, ControlKeyLess>& all() const { return states_; }

  private:
    std::map<ControlKey, Entry, ControlKeyLess> states_;
    std::vector<const ControlKey*> changed_; // map keys stay put: no copies while editing
    std::function<void()> changedHook_;
};

} // namespace kavel
