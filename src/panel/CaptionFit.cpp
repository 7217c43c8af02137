#include "panel/CaptionFit.h"

#include <cmath>

namespace kavel {

std::vector<std::string> wordsOf(std::string_view caption) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < caption.size()) {
        const auto start = caption.find_first_not_of(" \t\r\n", at);
        if (start == std::string_view::npos) break;
        auto end = caption.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos) end = caption.size();
        words.emplace_back(caption.substr(start, end - start));
        at = end;
    }
    return words;
}

std::optional<std::vector<std::string>> wrapAtWords(const std::vector<std::string>& words,
                                                    double width, double points,
                                                    const TextMetrics& metrics) {
    std::vector<std::string> lines;
    for (const std::string& word : words) {
        if (metrics.width(word, points) > width) return std::nullopt;
        if (!lines.empty()) {
            std::string longer = lines.back() + " " + word;
            if (metrics.width(longer, points) <= width) {
                lines.back() = std::move(longer);
                continue;
            }
        }
        lines.push_back(word);
    }
    return lines;
}

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const auto& w : words)
        line += (line.empty() ? "" : " ") + w;
    return line;
}

std::optional<std::vector<std::string>> linesAt(const std::vector<std::string>& words, double width,
                                                double height, double points, bool wrap,
                                                const TextMetrics& metrics) {
    std::optional<std::vector<std::string>> lines;
    if (wrap) {
        lines = wrapAtWords(words, width, points, metrics);
    } else if (std::string one = joined(words); metrics.width(one, points) <= width) {
        lines = std::vector<std::string>{std::move(one)};
    }
    if (!lines) return std::nullopt;
    const int count = std::max<int>(1, static_cast<int>(lines->size()));
    if (metrics.height(count, points) > height) return std::nullopt;
    return lines;
}

} // namespace

FittedCaption fitCaption(std::string_view caption, double width, double height, double largest,
                         double smallest, bool wrap, const TextMetrics& metrics) {
    const std::vector<std::string> words = wordsOf(caption);
    // Half points: finer than a person sees, coarse enough to try few.
    const double top = std::floor(largest * 2) / 2;
    for (double points = top; points >= smallest; points -= 0.5)
        if (auto lines = linesAt(words, width, height, points, wrap, metrics))
            return {points, std::move(*lines), true};
    FittedCaption last{smallest, {}, false};
    if (wrap) {
        // Each word on its own line at worst; never a word broken.
        std::vector<std::string> lines;
        for (const auto& w : words) {
            if (!lines.empty() && metrics.width(lines.back() + " " + w, smallest) <= width)
                lines.back() += " " + w;
            else
                lines.push_back(w);
        }
        last.lines = std::move(lines);
    } else if (!words.empty()) {
        last.lines = {joined(words)};
    }
    return last;
}

} // namespace kavel
