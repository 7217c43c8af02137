// The shipped organ and the console agree: every stop drawn on the console makes exactly its
// own parts sound, on its division's channel, and silences the rest of its group; the
// reinforcement sounds when the drawn stops call for it and keeps its level; each balance
// slider moves its own group's parts and nothing else. The module hears all the console sends.

#include "RegistrationFixture.h"

#include <algorithm>
#include <array>
#include <map>
#include <sstream>
#include <tuple>

namespace kavel::test {
namespace {

std::string bytesOf(const std::string& hex) {
    std::istringstream in(hex);
    std::string bytes;
    for (int b; in >> std::hex >> b;)
        bytes += static_cast<char>(b);
    return bytes;
}

// "B0 07 40" as it reads; "40 11 0C 00", an address and data, as a GS DT1 message.
std::string message(const std::string& hex) {
    const std::string bytes = bytesOf(hex);
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) >= 0x80) return bytes;
    return "\xF0\x41\x10\x42\x12" + bytes + static_cast<char>(rolandChecksum(bytes)) + "\xF7";
}

struct ModuleCase {
    const char* name;
    const char* messages; // " | " between them; to part 1, on channel 1 after the GS reset
    int level, expression;
    double loudness;
};

void PrintTo(const ModuleCase& c, std::ostream* os) {
    *os << c.name;
}

class ChannelMessages : public ::testing::TestWithParam<ModuleCase> {};

TEST_P(ChannelMessages, ReachThePartsTheirReceiveSettingsLetThrough) {
    const auto& c = GetParam();
    GsModule module;
    module.apply(message("40 00 7F 00"));
    std::istringstream in(c.messages);
    for (std::string m; std::getline(in, m, '|');)
        module.apply(message(m));
    const auto& part = module.parts[1];
    EXPECT_EQ(part.level, c.level);
    EXPECT_EQ(part.expression, c.expression);
    EXPECT_NEAR(part.loudness(), c.loudness, 1e-9);
    EXPECT_EQ(part.sounds(), c.loudness > 0);
}

// 40 11 xx is part 1's block, 40 21 xx its controller block.
constexpr double kFull = 100 / 127.0; // level 100, expression 127
const ModuleCase kModuleCases[] = {
    {"AfterReset", "", 100, 127, kFull},
    {"VolumeSetsTheLevel", "B0 07 40", 64, 127, 64 / 127.0},
    {"VolumeOnAnotherChannel", "B1 07 40", 100, 127, kFull},
    {"RxVolumeOff", "40 11 0C 00 | B0 07 00", 100, 127, kFull},
    {"ExpressionZeroSilences", "B0 0B 00", 100, 0, 0},
    {"ExpressionHalves", "B0 07 7F | B0 0B 40", 127, 64, 64 / 127.0},
    {"RxExpressionOff", "40 11 0E 00 | B0 0B 00", 100, 127, kFull},
    {"RxControlChangeOff",
     "40 11 06 00 | B0 07 00 | B0 0B 00 | 40 11 1F 07 | 40 21 42 00 | B0 07 7F", 100, 127, kFull},
    {"ResetTurnsTheSwitchesBackOn", "40 11 0C 00 | 40 00 7F 00 | B0 07 40", 64, 127, 64 / 127.0},
    {"Cc1FullyUpAtMinus100Silences", "40 11 0C 00 | 40 11 1F 07 | 40 21 42 00 | B0 07 7F", 100, 127,
     0},
    {"Cc1BackAtZero", "40 11 0C 00 | 40 11 1F 07 | 40 21 42 00 | B0 07 7F | B0 07 00", 100, 127,
     kFull},
    {"Cc1WithoutAmplitudeControl", "40 11 0C 00 | 40 11 1F 07 | B0 07 7F", 100, 127, kFull},
    {"Cc1TakesOnlyItsController", "40 11 1F 07 | 40 21 42 00 | B0 08 7F | B1 07 7F", 100, 127,
     kFull},
    {"Cc2FullyUpAtMinus100Silences", "40 11 20 09 | 40 21 52 00 | B0 09 7F", 100, 127, 0},
    {"NotesAndProgramChangeLeaveTheLoudness", "90 3C 40 | 80 3C 00 | C0 05 | B0 7B 00", 100, 127,
     kFull},
};

INSTANTIATE_TEST_SUITE_P(OrganModule, ChannelMessages, ::testing::ValuesIn(kModuleCases),
                         [](const auto& info) { return info.param.name; });

TEST(OrganModule, RefusesMalformedMessages) {
    // Cut short, a data byte above 7F, no status, a stray F7, a wrong checksum, no F7, a
    // receive switch set to 2, CC1 on controller 96.
    for (const char* bad :
         {"B0 07", "B0 87 00", "C0", "07 40", "F7", "F0 41 10 42 12 40 11 0C 00 00 F7",
          "F0 41 10 42 12 40 11 0C 00 23", "F0 41 10 42 12 40 11 0C 02 21 F7",
          "F0 41 10 42 12 40 11 1F 60 30 F7"}) {
        GsModule module;
        EXPECT_ANY_THROW(module.apply(bytesOf(bad))) << bad;
    }
}

struct GroupOnConsole {
    const char* name;
    void (Registration::*draw)(int);
    int rows;
    int firstEntry;
    std::vector<int> parts;
    int channel;
};

void PrintTo(const GroupOnConsole& g, std::ostream* os) {
    *os << g.name;
}

class OrganOnConsole : public RegistrationFixture,
                       public ::testing::WithParamInterface<GroupOnConsole> {};

TEST_P(OrganOnConsole, EachStopSoundsItsPartsOnItsChannel) {
    const auto& g = GetParam();
    auto& k = console();
    for (int row = 1; row < g.rows; ++row) {
        SCOPED_TRACE(row);
        (k.registration.*g.draw)(row);
        // What the stop's string asks for, on a module that heard only that string.
        GsModule alone;
        alone.apply(k.state.stops.STOPS_TABLE[static_cast<std::size_t>(g.firstEntry + row)]);
        int sounding = 0;
        for (int p : g.parts) {
            const auto& part = module.parts[static_cast<std::size_t>(p)];
            const bool wanted = alone.parts[static_cast<std::size_t>(p)].sounds();
            EXPECT_EQ(part.sounds(), wanted) << "part " << p;
            EXPECT_EQ(part.channel, g.channel) << "part " << p;
            if (wanted) {
                EXPECT_EQ(part.program, alone.parts[static_cast<std::size_t>(p)].program);
                EXPECT_EQ(part.keyShift, alone.parts[static_cast<std::size_t>(p)].keyShift);
                ++sounding;
            }
        }
        EXPECT_GE(sounding, 1);
    }
    (k.registration.*g.draw)(0);
    for (int p : g.parts)
        EXPECT_FALSE(module.parts[static_cast<std::size_t>(p)].sounds());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, OrganOnConsole,
    ::testing::Values(
        GroupOnConsole{"GreatFondi", &Registration::Tir_FO_GO_Click, 30, 40, {1, 2, 3, 4, 5}, 0},
        GroupOnConsole{
            "SwellFondi", &Registration::Tir_FO_SW_graph_Click, 30, 70, {17, 18, 19, 20, 21}, 1},
        GroupOnConsole{"GreatMutazioni", &Registration::Tir_MU_GO_Click, 20, 100, {11, 12, 13}, 0},
        GroupOnConsole{"SwellMutazioni", &Registration::Tir_MU_SW_Click, 20, 120, {27, 28, 29}, 1},
        GroupOnConsole{
            "GreatAncie", &Registration::Tir_AN_GO_graph_Click, 20, 140, {6, 7, 8, 9}, 0},
        GroupOnConsole{"SwellAncie", &Registration::Tir_AN_SW_Click, 20, 160, {22, 23, 24, 25}, 1},
        GroupOnConsole{
            "Pedale", &Registration::NomePedale_Click, 20, 180, {14, 15, 16, 30, 31, 32}, 2}),
    [](const auto& info) { return info.param.name; });

enum Group { kFondi, kMutazioni, kAncie };
constexpr const char* kGroupNames[] = {"Fondi", "Mutazioni", "Ancie"};

struct ManualOnConsole {
    const char* name;
    std::array<void (Registration::*)(int), 3> draw; // by Group
    std::array<std::vector<int>, 3> parts;
    int reinforcement;
    int balanceIndex; // the balance sliders' element
    const char* expressionSlider;
    void (AdvancedWindow::*expressionScroll)();
};

const ManualOnConsole kManuals[] = {
    {"Great",
     {&Registration::Tir_FO_GO_Click, &Registration::Tir_MU_GO_Click,
      &Registration::Tir_AN_GO_graph_Click},
     {{{1, 2, 3, 4, 5}, {11, 12, 13}, {6, 7, 8, 9}}},
     10,
     1,
     "SliderGO",
     &AdvancedWindow::SliderGO_Scroll},
    {"Swell",
     {&Registration::Tir_FO_SW_graph_Click, &Registration::Tir_MU_SW_Click,
      &Registration::Tir_AN_SW_Click},
     {{{17, 18, 19, 20, 21}, {27, 28, 29}, {22, 23, 24, 25}}},
     26,
     2,
     "SliderSW",
     &AdvancedWindow::SliderSW_Scroll},
};

void PrintTo(const ManualOnConsole& m, std::ostream* os) {
    *os << m.name;
}

struct Draw {
    Group group;
    const char* stop; // its name; "--" pushes the group in
};

class ManualFixture : public RegistrationFixture {
  protected:
    void draw(const ManualOnConsole& m, const Draw& d) {
        auto& k = console();
        int row = -1;
        for (int r = 0; r < kRows[d.group] && row < 0; ++r)
            if (k.state.stops.STOPS_TABLE[static_cast<std::size_t>(kNames[d.group] + r)] == d.stop)
                row = r;
        ASSERT_GE(row, 0) << "no stop named " << d.stop;
        (k.registration.*m.draw[d.group])(row);
    }

    void moveBalance(const ManualOnConsole& m, Group g, int value) {
        static const char* const kSliders[] = {"SliderFondi", "SliderMutazioni", "SliderAncie"};
        auto& k = console();
        k.controls.edit(kSliders[g], m.balanceIndex).value = value;
        // A switch, not a table of handlers: GCC's sanitized build misreads the table's index.
        switch (g) {
        case kFondi:
            return k.advanced.SliderFondi_Scroll(m.balanceIndex);
        case kMutazioni:
            return k.advanced.SliderMutazioni_Scroll(m.balanceIndex);
        default:
            return k.advanced.SliderAncie_Scroll(m.balanceIndex);
        }
    }

    void moveExpression(const ManualOnConsole& m, int value) {
        auto& k = console();
        k.controls.edit(m.expressionSlider).value = value;
        (k.advanced.*m.expressionScroll)();
    }

    double loudness(int part) const {
        return module.parts[static_cast<std::size_t>(part)].loudness();
    }

    static constexpr int kNames[] = {stops::kFondiNames, stops::kMutazNames, stops::kAncieNames};
    static constexpr int kRows[] = {stops::kFondiRows, stops::kOtherRows, stops::kOtherRows};
};

// Principals and chorus reeds take the reinforcement, flutes, mutations and soft reeds do not;
// it sounds while any stop drawn on the manual takes it, whatever was drawn after.
struct ReinforcementCase {
    const char* name;
    std::vector<Draw> draws;
    bool reinforced;
};

void PrintTo(const ReinforcementCase& c, std::ostream* os) {
    *os << c.name;
}

const ReinforcementCase kReinforcementCases[] = {
    {"ReedThenFlute", {{kAncie, "Tromba 8'"}, {kFondi, "Flauto 8'"}}, true},
    {"ReedThenPrincipal", {{kAncie, "Tromba 8'"}, {kFondi, "Principale 8'"}}, true},
    {"ReedThenMutation", {{kAncie, "Tromba 8'"}, {kMutazioni, "Quinta 2 2/3'"}}, true},
    {"ReedMutationFlute",
     {{kAncie, "Bombarda 16'"}, {kMutazioni, "Cornetto III"}, {kFondi, "Bordone 8'"}},
     true},
    {"PrincipalThenSoftReed", {{kFondi, "Principale 8'"}, {kAncie, "Oboe 8'"}}, true},
    {"PrincipalThenMutation", {{kFondi, "Ottava 4'"}, {kMutazioni, "Ripieno III file"}}, true},
    {"FluteThenReed", {{kFondi, "Flauto 8'"}, {kAncie, "Tromba 8'"}}, true},
    {"FluteThenSoftReed", {{kFondi, "Flauto 8'"}, {kAncie, "Oboe 8'"}}, false},
    {"MutationAlone", {{kMutazioni, "Quinta 2 2/3'"}}, false},
    {"PrincipalPushedIn", {{kFondi, "Principale 8'"}, {kFondi, "--"}}, false},
    {"ReedPushedInUnderAFlute",
     {{kAncie, "Tromba 8'"}, {kFondi, "Flauto 8'"}, {kAncie, "--"}},
     false},
    {"PrincipalGivesWayToAFlute",
     {{kFondi, "Principale 8'"}, {kMutazioni, "Nazardo 2 2/3'"}, {kFondi, "Flauto 4'"}},
     false},
};

class Reinforcement
    : public ManualFixture,
      public ::testing::WithParamInterface<std::tuple<ManualOnConsole, ReinforcementCase>> {};

TEST_P(Reinforcement, SoundsWhenCalledForAndOnlyExpressionMovesIt) {
    const auto& [m, c] = GetParam();
    for (const Draw& d : c.draws)
        draw(m, d);
    EXPECT_EQ(module.parts[static_cast<std::size_t>(m.reinforcement)].sounds(), c.reinforced);
    if (!c.reinforced) return;
    const double full = loudness(m.reinforcement);
    for (Group g : {kFondi, kMutazioni, kAncie}) {
        for (int value : {0, 60, 127}) {
            SCOPED_TRACE(testing::Message() << kGroupNames[g] << " balance at " << value);
            moveBalance(m, g, value);
            EXPECT_DOUBLE_EQ(loudness(m.reinforcement), full);
        }
    }
    moveExpression(m, 60);
    EXPECT_LT(loudness(m.reinforcement), full);
    EXPECT_GT(loudness(m.reinforcement), 0);
    moveExpression(m, 0);
    EXPECT_FALSE(module.parts[static_cast<std::size_t>(m.reinforcement)].sounds());
    moveExpression(m, 127);
    EXPECT_DOUBLE_EQ(loudness(m.reinforcement), full);
}

INSTANTIATE_TEST_SUITE_P(OrganManuals, Reinforcement,
                         ::testing::Combine(::testing::ValuesIn(kManuals),
                                            ::testing::ValuesIn(kReinforcementCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    std::get<1>(info.param).name;
                         });

// Each balance slider turns its own group down and leaves the manual's other groups, and its
// reinforcement, as they were; brought back up, its group sounds as before.
class Balance : public ManualFixture,
                public ::testing::WithParamInterface<std::tuple<ManualOnConsole, Group>> {};

TEST_P(Balance, MovesItsOwnGroupOnly) {
    const auto& [m, moved] = GetParam();
    draw(m, {kFondi, "Principale 8'"});
    draw(m, {kMutazioni, "Quinta 2 2/3'"});
    draw(m, {kAncie, "Tromba 8'"});
    std::map<int, double> before;
    for (const auto& parts : m.parts)
        for (int p : parts)
            before[p] = loudness(p);
    before[m.reinforcement] = loudness(m.reinforcement);
    int sounding = 0;
    for (int p : m.parts[moved])
        sounding += before[p] > 0;
    ASSERT_GE(sounding, 1);
    ASSERT_GT(before[m.reinforcement], 0);

    std::map<int, double> last = before;
    for (int value : {100, 60, 20, 127}) {
        SCOPED_TRACE(value);
        moveBalance(m, moved, value);
        for (const auto& [p, was] : before) {
            const bool own = std::count(m.parts[moved].begin(), m.parts[moved].end(), p) > 0;
            if (!own || was == 0 || value == 127)
                EXPECT_DOUBLE_EQ(loudness(p), was) << "part " << p;
            else
                EXPECT_LT(loudness(p), last[p]) << "part " << p;
            last[p] = loudness(p);
        }
    }
}

std::string
balanceCaseName(const ::testing::TestParamInfo<std::tuple<ManualOnConsole, Group>>& info) {
    return std::string(std::get<0>(info.param).name) + kGroupNames[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(OrganManuals, Balance,
                         ::testing::Combine(::testing::ValuesIn(kManuals),
                                            ::testing::Values(kFondi, kMutazioni, kAncie)),
                         balanceCaseName);

} // namespace
} // namespace kavel::test
