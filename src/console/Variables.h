#pragma once

// Program-wide variables by their names, for kavel-sim's set and get. Each subsystem
// registers its own; booleans read as -1 / 0 like the console's 16-bit booleans.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kavel {

class Variables {
  public:
    void add(std::string name, int& v) { table_[std::move(name)] = Ref{&v}; }
    void add(std::string name, bool& v) { table_[std::move(name)] = Ref{&v}; }
    void add(std::string name, double& v) { table_[std::move(name)] = Ref{&v}; }
    void add(std::string name, std::string& v) { table_[std::move(name)] = Ref{&v}; }
    void add(std::string name, std::span<int> v) { table_[std::move(name)] = Ref{v}; }
    void add(std::string name, std::span<bool> v) { table_[std::move(name)] = Ref{v}; }
    void add(std::string name, std::span<std::string> v) { table_[std::move(name)] = Ref{v}; }

    bool contains(std::string_view name) const { return table_.find(name) != table_.end(); }
    bool isArray(std::string_view name) const;
    // Nothing when the name or index is unknown.
    std::optional<std::string> get(std::string_view name, int index = -1) const;
    // False when the name or index is unknown or the value does not fit.
    bool set(std::string_view name, int index, std::string_view value);

  private:
    using Ref = std::variant<int*, bool*, double*, std::string*, std::span<int>, std::span<bool>,
                             std::span<std::string>>;
    std::map<std::string, Ref, std::less<>> table_;
};

} // namespace kavel
