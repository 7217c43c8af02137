// The organ Kavel ships: every stop sets up exactly its own division's parts, and a GS module
// takes all of it.

#include "GsModule.h"
#include "stops_table/DatFile.h"

#include <gtest/gtest.h>

#include <set>

namespace kavel::test {
namespace {

const StopsTableEntries& organ() {
    static const StopsTableEntries table = [] {
        auto r = readDat(std::string(KAVEL_PROGRAM_DIR) + "/kavel.DAT");
        if (!r.table) throw std::runtime_error("no shipped organ: " + r.error);
        return *r.table;
    }();
    return table;
}

struct Group {
    const char* name;
    int first, rows, names;
    std::set<int> parts;
};

const Group kGroups[] = {
    {"GreatFondi", 40, 30, 200, {1, 2, 3, 4, 5}},
    {"SwellFondi", 70, 30, 200, {17, 18, 19, 20, 21}},
    {"GreatMutazioni", 100, 20, 230, {11, 12, 13}},
    {"SwellMutazioni", 120, 20, 230, {27, 28, 29}},
    {"GreatAncie", 140, 20, 250, {6, 7, 8, 9}},
    {"SwellAncie", 160, 20, 250, {22, 23, 24, 25}},
    {"Pedale", 180, 20, 270, {14, 15, 16, 30, 31, 32}},
};

void PrintTo(const Group& g, std::ostream* os) {
    *os << g.name;
}

// The parts whose state an entry changes.
std::set<int> touched(const std::string& entry) {
    GsModule before, after;
    for (auto& p : before.parts)
        p.level = -1;
    after = before;
    after.apply(entry);
    std::set<int> parts;
    for (int i = 1; i <= 32; ++i) {
        const auto& a = after.parts[static_cast<std::size_t>(i)];
        const auto& b = before.parts[static_cast<std::size_t>(i)];
        if (a.level != b.level || a.program != b.program || a.keyShift != b.keyShift ||
            a.keyLow != b.keyLow || a.channel != b.channel)
            parts.insert(i);
    }
    return parts;
}

class OrganGroup : public ::testing::TestWithParam<Group> {};

TEST_P(OrganGroup, EveryRowIsANamedStopOnItsOwnPartsAndRowZeroSilences) {
    const Group& g = GetParam();
    const auto& t = organ();
    GsModule silent;
    silent.apply(t[static_cast<std::size_t>(g.first)]);
    for (int p : g.parts)
        EXPECT_FALSE(silent.parts[static_cast<std::size_t>(p)].sounds()) << p;
    for (int row = 1; row < g.rows; ++row) {
        SCOPED_TRACE(row);
        const auto& entry = t[static_cast<std::size_t>(g.first + row)];
        EXPECT_FALSE(t[static_cast<std::size_t>(g.names + row)].empty());
        EXPECT_EQ(touched(entry), g.parts);
        GsModule module;
        module.apply(entry);
        int sounding = 0;
        for (int p : g.parts)
            sounding += module.parts[static_cast<std::size_t>(p)].sounds();
        EXPECT_GE(sounding, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, OrganGroup, ::testing::ValuesIn(kGroups),
                         [](const auto& info) { return info.param.name; });

TEST(DefaultOrgan, ResetsPutEveryPartOnItsDivisionChannel) {
    const auto& t = organ();
    GsModule module;
    for (int i = 0; i <= 3; ++i)
        module.apply(t[static_cast<std::size_t>(i)]);
    for (int p = 1; p <= 32; ++p) {
        const int want = (p >= 14 && p <= 16) || p >= 30 ? 2 : (p <= 16 ? 0 : 1);
        EXPECT_EQ(module.parts[static_cast<std::size_t>(p)].channel, want) << "part " << p;
        EXPECT_FALSE(module.parts[static_cast<std::size_t>(p)].sounds()) << "part " << p;
    }
}

TEST(DefaultOrgan, PrincipaleOnTheGreatPlaysOnePartAtPitch) {
    const auto& t = organ();
    GsModule module;
    module.apply(t[41]);
    EXPECT_EQ(t[201], "Principale 8'");
    const auto& p1 = module.parts[1];
    EXPECT_TRUE(p1.sounds());
    EXPECT_EQ(p1.program, 19); // Church Organ
    EXPECT_EQ(p1.keyShift, 0x40);
    for (int p = 2; p <= 5; ++p)
        EXPECT_FALSE(module.parts[static_cast<std::size_t>(p)].sounds());
    EXPECT_EQ(t[361], "1"); // a principal takes reinforcement
}

TEST(DefaultOrgan, CancellersMuteAndRestoreWithoutWakingUnusedParts) {
    const auto& t = organ();
    GsModule module;
    module.apply(t[100 + 1]); // one Mutazioni rank on the Great
    module.apply(t[412]);     // GO MUTE Mutazioni
    for (int p : {11, 12, 13})
        EXPECT_FALSE(module.parts[static_cast<std::size_t>(p)].sounds());
    module.apply(t[415]); // GO RESTORE Mutaz
    EXPECT_TRUE(module.parts[11].sounds());
    EXPECT_FALSE(module.parts[12].sounds());
    EXPECT_FALSE(module.parts[13].sounds());
}

TEST(DefaultOrgan, GlobalEntriesHaveTheirShapes) {
    const auto& t = organ();
    for (int i = 0; i < 7; ++i) {
        const auto& temperament = t[static_cast<std::size_t>(10 + i)];
        EXPECT_GE(temperament.find('\xF7'), 20u);
        EXPECT_FALSE(t[static_cast<std::size_t>(300 + i)].empty());
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(t[static_cast<std::size_t>(312 + i)].empty());
    GsModule module;
    module.apply(t[30]);
    EXPECT_TRUE(module.parts[10].sounds());
    EXPECT_EQ(module.parts[10].program, 80); // sine wave
    module.apply(t[31]);
    EXPECT_FALSE(module.parts[10].sounds());
    EXPECT_EQ(t[350], "Principali e Flauti");
    EXPECT_EQ(t[351], "Mutazioni");
    EXPECT_EQ(t[352], "Ance / Archi");
    EXPECT_EQ(t[353], "Pedale");
    EXPECT_TRUE(checkSysEx(t).empty());
}

} // namespace
} // namespace kavel::test
