#include "console/Procedures.h"
#include "console/Variables.h"
#include "panel/Controls.h"

#include <gtest/gtest.h>

namespace kavel {
namespace {

TEST(Controls, ChangedHookFiresOncePerBatchAndDrainListsEachControlOnce) {
    Controls controls;
    int hooks = 0;
    controls.setChangedHook([&] { ++hooks; });
    controls.edit("LedFree", 3).caption = "F3";
    controls.edit("LedFree", 3).backColour = Colour::system(9);
    controls.edit("LedFree", 4).caption = "F4";
    EXPECT_EQ(hooks, 1);
    const auto changed = controls.drainChanged();
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0], (ControlKey{"LedFree", 3}));
    EXPECT_TRUE(controls.drainChanged().empty());
    controls.edit("LedFree", 3);
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(controls.get("LedFree", 3).backColour, Colour::system(9));
    EXPECT_FALSE(controls.exists("LedFree", 5));
    EXPECT_EQ(controls.get("LedFree", 5).caption, ""); // untouched: defaults
}

TEST(Variables, ReadAndWriteByNameWithConsoleBooleans) {
    int delay = 0;
    bool armed = true;
    std::array<int, 4> channels{};
    std::array<bool, 8> filters{};
    std::string path;
    Variables v;
    v.add("RITARDO_SYSEX", delay);
    v.add("EVENTO_SWITCH", armed);
    v.add("CANALE_APPRESO", std::span<int>(channels));
    v.add("FILTRI_INGRESSO", std::span<bool>(filters));
    v.add("PATH_DAT", path);

    EXPECT_EQ(v.get("EVENTO_SWITCH"), "-1");
    EXPECT_TRUE(v.set("RITARDO_SYSEX", -1, "20"));
    EXPECT_EQ(delay, 20);
    EXPECT_TRUE(v.set("CANALE_APPRESO", 2, "9"));
    EXPECT_EQ(channels[2], 9);
    EXPECT_TRUE(v.set("FILTRI_INGRESSO", 3, "-1"));
    EXPECT_EQ(v.get("FILTRI_INGRESSO", 3), "-1");
    EXPECT_TRUE(v.set("PATH_DAT", -1, "/x/y.dat"));
    EXPECT_EQ(path, "/x/y.dat");

    // What must be refused rather than half-done.
    EXPECT_FALSE(v.set("RITARDO_SYSEX", -1, "40000")); // beyond 16 bits
    EXPECT_FALSE(v.set("RITARDO_SYSEX", -1, "2x"));
    EXPECT_FALSE(v.set("CANALE_APPRESO", 4, "1"));
    EXPECT_FALSE(v.set("CANALE_APPRESO", -1, "1"));
    EXPECT_FALSE(v.set("RITARDO_SYSEX", 0, "1"));
    EXPECT_FALSE(v.set("NO_SUCH", -1, "1"));
    EXPECT_EQ(delay, 20);
    EXPECT_EQ(v.get("CANALE_APPRESO", 9), std::nullopt);
    EXPECT_EQ(v.get("NO_SUCH"), std::nullopt);
}

TEST(Procedures, RunByNameCheckingArguments) {
    Procedures p;
    int got = -1;
    p.add("Tir_FO_GO_Click", 1, [&](const Procedures::Args& a) { got = a[0]; });
    EXPECT_EQ(p.call("Tir_FO_GO_Click", {"3"}), std::nullopt);
    EXPECT_EQ(got, 3);
    EXPECT_TRUE(p.call("Tir_FO_GO_Click", {}).has_value());
    EXPECT_TRUE(p.call("Tir_FO_GO_Click", {"x"}).has_value());
    EXPECT_TRUE(p.call("Nothing_Click", {}).has_value());
    EXPECT_EQ(got, 3);
}

} // namespace
} // namespace kavel
