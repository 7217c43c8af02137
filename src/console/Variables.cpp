#include "console/Variables.h"

#include <charconv>
#include <cstdio>
#include <type_traits>

namespace kavel {

namespace {

std::optional<long> parseInt(std::string_view text) {
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<double> parseDouble(std::string_view text) {
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::string show(int v) {
    return std::to_string(v);
}
std::string show(bool v) {
    return v ? "-1" : "0";
}
std::string show(const std::string& v) {
    return v;
}
std::string show(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

bool assign(int& target, std::string_view text) {
    auto v = parseInt(text);
    if (!v || *v < -32768 || *v > 32767) return false;
    target = static_cast<int>(*v);
    return true;
}
bool assign(bool& target, std::string_view text) {
    auto v = parseInt(text);
    if (!v) return false;
    target = *v != 0;
    return true;
}
bool assign(double& target, std::string_view text) {
    auto v = parseDouble(text);
    if (!v) return false;
    target = *v;
    return true;
}
bool assign(std::string& target, std::string_view text) {
    target = std::string(text);
    return true;
}

template <typename T> constexpr bool isSpan = false;
template <typename T> constexpr bool isSpan<std::span<T>> = true;

} // namespace

bool Variables::isArray(std::string_view name) const {
    auto it = table_.find(name);
    return it != table_.end() &&
           std::visit([](const auto& r) { return isSpan<std::decay_t<decltype(r)>>; }, it->second);
}

std::optional<std::string> Variables::get(std::string_view name, int index) const {
    auto it = table_.find(name);
    if (it == table_.end()) return std::nullopt;
    return std::visit(
        [index](const auto& r) -> std::optional<std::string> {
            if constexpr (isSpan<std::decay_t<decltype(r)>>) {
                if (index < 0 || static_cast<std::size_t>(index) >= r.size()) return std::nullopt;
                return show(r[static_cast<std::size_t>(index)]);
            } else {
                if (index >= 0) return std::nullopt;
                return show(*r);
            }
        },
        it->second);
}

bool Variables::set(std::string_view name, int index, std::string_view value) {
    auto it = table_.find(name);
    if (it == table_.end()) return false;
    return std::visit(
        [index, value](auto& r) -> bool {
            if constexpr (isSpan<std::decay_t<decltype(r)>>) {
                if (index < 0 || static_cast<std::size_t>(index) >= r.size()) return false;
                return assign(r[static_cast<std::size_t>(index)], value);
            } else {
                if (index >= 0) return false;
                return assign(*r, value);
            }
        },
        it->second);
}

} // namespace kavel
