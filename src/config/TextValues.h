#pragma once

// The text conventions of the console's own files (kavel.CFG, memory files): values one per
// line ending in CR LF; a number in decimal with a blank before it when not negative and a
// blank after it; a text as it is, or in double quotes when it would not read back whole.
// A reader takes values separated by line ends or commas, blanks around numbers skipped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavel {

class TextValueWriter {
  public:
    void number(long value);
    void number(double value); // window positions may carry a fraction
    void text(std::string_view value);
    // Written as is, without the blanks of a number: the files' "1" and "0" flags.
    void raw(std::string_view value);
    const std::string& bytes() const { return out_; }

  private:
    std::string out_;
};

class TextValueReader {
  public:
    explicit TextValueReader(std::string_view bytes) : in_(bytes) {}

    // Nothing at the end of the data, or when the value is not a whole number in 16 bits.
    std::optional<int> integer();
    std::optional<double> number();
    std::optional<std::string> text();
    bool atEnd() const;
    // How many values have been taken so far: the number of the next one is this plus 1.
    int valuesRead() const { return values_; }
    // The last value asked for was not there: the data ended before it.
    bool ended() const { return ended_; }

  private:
    std::optional<std::string> field(bool trim);
    std::string_view in_;
    std::size_t at_ = 0;
    int values_ = 0;
    bool ended_ = false;
};

// Whether a text value reads back exactly as written: no control character (a line end would
// split it, a NUL or the like marks a damaged file), and no double quote where the text
// would have to be quoted (there is no escape for a quote inside quotes).
bool storableText(std::string_view value);

} // namespace kavel
