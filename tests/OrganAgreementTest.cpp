// The shipped organ and the console agree: every stop drawn on the console makes exactly its
// own parts sound, on its division's channel, and silences the rest of its group.

#include "RegistrationFixture.h"

namespace kavel::test {
namespace {

struct GroupOnConsole {
    const char* name;
    void (Kavel::*draw)(int);
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
        (k.*g.draw)(row);
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
    (k.*g.draw)(0);
    for (int p : g.parts)
        EXPECT_FALSE(module.parts[static_cast<std::size_t>(p)].sounds());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, OrganOnConsole,
    ::testing::Values(
        GroupOnConsole{"GreatFondi", &Kavel::Tir_FO_GO_Click, 30, 40, {1, 2, 3, 4, 5}, 0},
        GroupOnConsole{
            "SwellFondi", &Kavel::Tir_FO_SW_graph_Click, 30, 70, {17, 18, 19, 20, 21}, 1},
        GroupOnConsole{"GreatMutazioni", &Kavel::Tir_MU_GO_Click, 20, 100, {11, 12, 13}, 0},
        GroupOnConsole{"SwellMutazioni", &Kavel::Tir_MU_SW_Click, 20, 120, {27, 28, 29}, 1},
        GroupOnConsole{"GreatAncie", &Kavel::Tir_AN_GO_graph_Click, 20, 140, {6, 7, 8, 9}, 0},
        GroupOnConsole{"SwellAncie", &Kavel::Tir_AN_SW_Click, 20, 160, {22, 23, 24, 25}, 1},
        GroupOnConsole{"Pedale", &Kavel::NomePedale_Click, 20, 180, {14, 15, 16, 30, 31, 32}, 2}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace kavel::test
