#include "config/FileDialogs.h"
#include "console/ScriptedUser.h"

#include <gtest/gtest.h>

namespace kavel {
namespace {

struct DialogCase {
    const char* name;
    std::optional<std::string> chosen;
    int result;
    std::string path;
    bool refused;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class FileDialogs : public ::testing::TestWithParam<DialogCase> {};

TEST_P(FileDialogs, OneExtensionIgnoringCase) {
    const auto& c = GetParam();
    for (bool save : {false, true}) {
        ScriptedUser user;
        user.files.push_back(c.chosen);
        std::string path = "before";
        const int result = save ? DIALOGO_SALVA(user, "Title", ".sqs", path)
                                : DIALOGO_APRI(user, "Title", ".sqs", path);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(path, c.path);
        ASSERT_EQ(user.shown.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(user.shown[0].text, "Unauthorized file");
            EXPECT_EQ(user.shown[0].buttons, Buttons::OkCancel);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileDialogs,
    ::testing::Values(DialogCase{"Lower", "/m/a.sqs", 0, "/m/a.sqs", false},
                      DialogCase{"Upper", "C:\\m\\A.SQS", 0, "C:\\m\\A.SQS", false},
                      DialogCase{"Short", "/m/a.sq", 1, "/m/a.sq", true},
                      DialogCase{"Other", "/m/a.bak", 1, "/m/a.bak", true},
                      DialogCase{"Cancelled", std::nullopt, 1, "before", false}),
    [](const auto& info) { return info.param.name; });

TEST(FileDialogs, FilterHasTheOneExtension) {
    struct Recorder : ScriptedUser {
        FileDialog seen;
        std::optional<std::string> openFile(const FileDialog& d) override {
            seen = d;
            return std::nullopt;
        }
    } user;
    std::string path;
    DIALOGO_APRI(user, "Load", ".dat", path);
    EXPECT_EQ(user.seen.filter, "(*.dat)|*.dat|");
    EXPECT_EQ(user.seen.title, "Load");
}

TEST(EstraeNome, CutsAtTheLastSeparatorOfEitherKind) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\organ\\tables\\base.dat", "base.dat"},
        {"/home/o/tables/base.dat", "base.dat"},
        {"base.dat", "base.dat"},
        {"C:\\organ\\", ""},
        {"/a\\b/c.dat", "c.dat"},
        {"", ""}};
    for (auto [in, want] : cases) {
        std::string out = "x";
        Estrae_nome(in, out);
        EXPECT_EQ(out, want) << in;
    }
}

} // namespace
} // namespace kavel
