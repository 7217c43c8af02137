#pragma once

// A caption set in its control: broken into lines between words only, in the largest size
// that keeps every word whole inside the control. The window layer measures; the rule is here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavel {

// How the window layer draws a line of text at a size in points, in pixels.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    virtual double width(std::string_view line, double points) const = 0;
    // The height of `lines` lines set one under the other.
    virtual double height(int lines, double points) const = 0;
};

struct FittedCaption {
    double points = 0;
    std::vector<std::string> lines;
    bool whole = true; // false: not even the smallest size holds it
};

// The caption's words, without the spaces that pad it.
std::vector<std::string> wordsOf(std::string_view caption);

// The words in lines no wider than `width`, each line as full as it can be; nullopt when a
// word alone is wider.
std::optional<std::vector<std::string>> wrapAtWords(const std::vector<std::string>& words,
                                                    double width, double points,
                                                    const TextMetrics& metrics);

// The largest size, from `largest` down in half points to `smallest`, at which the caption
// stands whole in a box of width x height pixels: on one line, or on as many as it needs when
// `wrap`. Nothing fits: the smallest size, as few lines as it can, marked not whole.
FittedCaption fitCaption(std::string_view caption, double width, double height, double largest,
                         double smallest, bool wrap, const TextMetrics& metrics);

} // namespace kavel
