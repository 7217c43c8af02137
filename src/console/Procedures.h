#pragma once

// Event procedures and work procedures by their names, so that kavel-sim (and the organ
// builder at its prompt) can run any of them. Each subsystem registers its own.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavel {

class Procedures {
  public:
    using Args = std::vector<int>;
    // `arity` is the number of integer arguments the procedure takes.
    void add(std::string name, int arity, std::function<void(const Args&)> run);
    void add(std::string name, std::function<void()> run);
    // A one-argument procedure whose argument is an index into a control array of
    // `first`..`last`: a call outside it is refused, never run.
    void add(std::string name, int first, int last, std::function<void(int)> run);

    bool contains(std::string_view name) const { return table_.find(name) != table_.end(); }
    // The procedure's registered name, matched without regard to case; nothing if none.
    std::optional<std::string> named(std::string_view name) const;
    // An error text, or nothing when the procedure ran; the name is matched as `named` does.
    std::optional<std::string> call(std::string_view name, const std::vector<std::string>& args);

  private:
    struct Entry {
        int arity = 0;
        std::function<void(const Args&)> run;
        std::optional<std::pair<int, int>> indexRange;
    };
    std::map<std::string, Entry, std::less<>> table_;
};

} // namespace kavel
