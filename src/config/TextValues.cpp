#include "config/TextValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kavel {

void TextValueWriter::number(long value) {
    out_ += (value >= 0 ? " " : "") + std::to_string(value) + " \r\n";
}

void TextValueWriter::number(double value) {
    if (value == std::floor(value) && std::abs(value) < 1e9)
        return number(static_cast<long>(value));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%.6g \r\n", value >= 0 ? " " : "", value);
    out_ += buf;
}

namespace {
// A comma, a quote at the start or blanks at either end would not read back as written.
bool needsQuotes(std::string_view value) {
    return value.find(',') != std::string_view::npos ||
           (!value.empty() &&
            (value.front() == '"' || value.front() == ' ' || value.back() == ' '));
}
bool hasControlCharacter(std::string_view value) {
    for (char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}
} // namespace

bool storableText(std::string_view value) {
    return !hasControlCharacter(value) &&
           !(needsQuotes(value) && value.find('"') != std::string_view::npos);
}

void TextValueWriter::text(std::string_view value) {
    if (needsQuotes(value)) {
        out_ += '"';
        out_ += value;
        out_ += "\"\r\n";
    } else {
        out_ += value;
        out_ += "\r\n";
    }
}

void TextValueWriter::raw(std::string_view value) {
    out_ += value;
    out_ += "\r\n";
}

bool TextValueReader::atEnd() const {
    for (std::size_t i = at_; i < in_.size(); ++i)
        if (in_[i] != ' ' && in_[i] != '\t' && in_[i] != '\r' && in_[i] != '\n') return false;
    return true;
}

std::optional<std::string> TextValueReader::field(bool trim) {
    ended_ = at_ >= in_.size();
    if (ended_) return std::nullopt;
    ++values_;
    while (at_ < in_.size() && (in_[at_] == ' ' || in_[at_] == '\t'))
        ++at_;
    std::string value;
    if (at_ < in_.size() && in_[at_] == '"') {
        const auto close = in_.find('"', at_ + 1);
        if (close == std::string_view::npos) return std::nullopt;
        value = std::string(in_.substr(at_ + 1, close - at_ - 1));
        at_ = close + 1;
        while (at_ < in_.size() && (in_[at_] == ' ' || in_[at_] == '\t'))
            ++at_;
    } else {
        const auto end = in_.find_first_of(",\r\n", at_);
        value = std::string(
            in_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_));
        at_ = end == std::string_view::npos ? in_.size() : end;
        if (trim)
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
    }
    // One separator: a comma, or a line end (CR LF, LF or CR).
    if (at_ < in_.size() && in_[at_] == ',') {
        ++at_;
    } else if (at_ < in_.size() && in_[at_] == '\r') {
        ++at_;
        if (at_ < in_.size() && in_[at_] == '\n') ++at_;
    } else if (at_ < in_.size() && in_[at_] == '\n') {
        ++at_;
    }
    return value;
}

std::optional<int> TextValueReader::integer() {
    auto v = number();
    if (!v || *v != std::floor(*v) || *v < -32768 || *v > 32767) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<double> TextValueReader::number() {
    auto f = field(true);
    if (!f || f->empty()) return std::nullopt;
    double v = 0;
    const char* begin = f->data();
    if (*begin == '+') ++begin;
    auto [end, ec] = std::from_chars(begin, f->data() + f->size(), v);
    if (ec != std::errc{} || end != f->data() + f->size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::string> TextValueReader::text() {
    return field(true);
}

} // namespace kavel
