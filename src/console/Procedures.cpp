#include "console/Procedures.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kavel {

void Procedures::add(std::string name, int arity, std::function<void(const Args&)> run) {
    table_[std::move(name)] = Entry{arity, std::move(run), std::nullopt};
}

void Procedures::add(std::string name, std::function<void()> run) {
    add(std::move(name), 0, [run = std::move(run)](const Args&) { run(); });
}

void Procedures::add(std::string name, int first, int last, std::function<void(int)> run) {
    table_[std::move(name)] =
        Entry{1, [run = std::move(run)](const Args& a) { run(a[0]); }, std::pair{first, last}};
}

std::optional<std::string> Procedures::named(std::string_view name) const {
    if (contains(name)) return std::string(name);
    auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    for (const auto& [registered, entry] : table_)
        if (registered.size() == name.size() &&
            std::equal(registered.begin(), registered.end(), name.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); }))
            return registered;
    return std::nullopt;
}

std::optional<std::string> Procedures::call(std::string_view name,
                                            const std::vector<std::string>& args) {
    auto it = table_.find(name);
    // Names are matched as the console matches them, without regard to case: the menu item
    // LoadFile runs Loadfile_Click.
    if (it == table_.end())
        if (const auto registered = named(name)) it = table_.find(*registered);
    if (it == table_.end()) return "unknown procedure " + std::string(name);
    const Entry& entry = it->second;
    if (static_cast<int>(args.size()) != entry.arity)
        return std::string(name) + " takes " + std::to_string(entry.arity) + " argument(s)";
    Args values;
    values.reserve(args.size());
    for (const auto& a : args) {
        int v = 0;
        auto [end, ec] = std::from_chars(a.data(), a.data() + a.size(), v);
        if (ec != std::errc{} || end != a.data() + a.size()) return "not a number: " + a;
        values.push_back(v);
    }
    if (const auto& range = entry.indexRange;
        range && (values[0] < range->first || values[0] > range->second))
        return std::string(name) + ": index " + std::to_string(values[0]) + " is outside " +
               std::to_string(range->first) + ".." + std::to_string(range->second);
    entry.run(values);
    return std::nullopt;
}

} // namespace kavel
