#include "stops_table/TableText.h"
#include "stops_table/SysExCheck.h"

#include <gtest/gtest.h>

namespace kavel {
namespace {

TEST(TableText, OneLinePerEntryWithItsMeaning) {
    StopsTableEntries t{};
    t[0] = std::string("\xF0\x41\xF7\xF0\x42\xF7", 6);
    t[290] = "Reset 0";
    t[360] = "1";
    t[410] = std::string("\xF0\x01\xF7", 3);
    const std::string text = tableToText(t);
    EXPECT_NE(text.find("000 global[0] = F0 41 F7 | F0 42 F7  # Reset 0\n"), std::string::npos);
    EXPECT_NE(text.find("290 global[0].name = \"Reset 0\"\n"), std::string::npos);
    EXPECT_NE(text.find("360 fondi[0].rinforzabile = \"1\"\n"), std::string::npos);
    EXPECT_NE(text.find("410 canceller[0] = F0 01 F7  # GO MUTE Ance-Archi\n"), std::string::npos);
    EXPECT_NE(text.find("330 reserved =\n"), std::string::npos);
    EXPECT_NE(text.find("070 fondi[0].swell =\n"), std::string::npos);
}

TEST(TableText, QuotesAndEscapesRoundTrip) {
    StopsTableEntries t{};
    t[200] = "Say \"8'\" \\ tab\there";
    const auto back = tableFromText(tableToText(t));
    ASSERT_TRUE(back.table) << back.error;
    EXPECT_EQ(*back.table, t);
}

TEST(TableText, LeftOutLinesAreEmptyAndCommentsIgnored) {
    const auto r = tableFromText("# a comment\n\n040 fondi[0].great = f0 01 F7 # lowercase ok\r\n"
                                 "350 group[0].name = \"Principali\"  # note\n");
    ASSERT_TRUE(r.table) << r.error;
    EXPECT_EQ((*r.table)[40], std::string("\xF0\x01\xF7", 3));
    EXPECT_EQ((*r.table)[350], "Principali");
    EXPECT_EQ((*r.table)[41], "");
}

struct BadText {
    const char* name;
    const char* text;
    const char* error;
};

void PrintTo(const BadText& c, std::ostream* os) {
    *os << c.name;
}

class TableTextErrors : public ::testing::TestWithParam<BadText> {};

TEST_P(TableTextErrors, NameTheLineAndTheFault) {
    const auto r = tableFromText(GetParam().text);
    ASSERT_FALSE(r.table);
    EXPECT_EQ(r.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableTextErrors,
    ::testing::Values(
        BadText{"BadHex", "\n040 fondi[0].great = F0 4G F7\n", "line 2: not a hex byte: 4G"},
        BadText{"WrongMeaning", "040 fondi[0].swell = F0\n",
                "line 1: entry 40 is fondi[0].great, not fondi[0].swell"},
        BadText{"IndexOutOfRange", "431 reserved = \"x\"\n", "line 1: not an entry index: 431"},
        BadText{"NotANumber", "4x reserved = \"x\"\n", "line 1: not an entry index: 4x"},
        BadText{"Twice", "330 reserved = \"a\"\n330 reserved = \"b\"\n",
                "line 2: entry 330 given twice"},
        BadText{"NoEquals", "330 reserved \"a\"\n", "line 1: expected \"INDEX WHAT = VALUE\""},
        BadText{"Unclosed", "200 fondi[0].name = \"abc\n",
                "line 1: quoted text without its closing quote"},
        BadText{"BadEscape", "200 fondi[0].name = \"a\\qb\"\n",
                "line 1: unknown escape in quoted text"},
        BadText{"TextAfterQuote", "200 fondi[0].name = \"a\" b\n",
                "line 1: text after the closing quote"}),
    [](const auto& info) { return info.param.name; });

struct CheckCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> problems;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class SysExChecking : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SysExChecking, FindsEachFault) {
    EXPECT_EQ(checkSysExEntry(GetParam().bytes), GetParam().problems);
}

const std::string kGsReset("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11);

INSTANTIATE_TEST_SUITE_P(
    Cases, SysExChecking,
    ::testing::Values(
        CheckCase{"GsResetIsFine", kGsReset + kGsReset, {}},
        CheckCase{"DoubleModeChecksumZero",
                  std::string("\xF0\x41\x10\x42\x12\x00\x00\x7F\x01\x00\xF7", 11),
                  {}},
        CheckCase{"NonRolandIsOnlyFramed", std::string("\xF0\x7E\x7F\x09\x01\xF7", 6), {}},
        CheckCase{"WrongChecksum",
                  std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x40\xF7", 11),
                  {"message 1: Roland checksum is 40, should be 41"}},
        CheckCase{"NoF7", kGsReset + "\xF0\x41", {"message 2 has no F7"}},
        CheckCase{"NotF0", std::string("\x90\x3C\x40", 3), {"message 1 starts with 90, not F0"}},
        CheckCase{"HighDataByte",
                  std::string("\xF0\x41\x80\xF7", 4),
                  {"message 1: byte 3 is 80, above 7F"}}),
    [](const auto& info) { return info.param.name; });

TEST(SysExCheck, NamesTheEntry) {
    StopsTableEntries t{};
    t[200] = "\x90 names are not SysEx";
    t[181] = "\x90";
    const auto problems = checkSysEx(t);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "entry 181 (pedale[1]), message 1 starts with 90, not F0");
    EXPECT_EQ(rolandChecksum(std::string("\x40\x00\x7F\x00", 4)), 0x41);
}

} // namespace
} // namespace kavel
