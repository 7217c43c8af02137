// kavel-sim scenarios against their recorded output: tests/golden/NAME.in gives NAME.out.

#include "Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace kavel {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each scenario runs in a folder of its own, removed after it: a file it saves under a
// relative name is its own, and nothing lands where the tests were started.
class ScenarioFolder {
  public:
    ScenarioFolder()
        : before_(std::filesystem::current_path()),
          path_(std::filesystem::temp_directory_path() /
                ("kavel-golden-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScenarioFolder() {
        std::error_code ec;
        std::filesystem::current_path(before_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScenarioFolder(const ScenarioFolder&) = delete;
    ScenarioFolder& operator=(const ScenarioFolder&) = delete;

  private:
    std::filesystem::path before_;
    std::filesystem::path path_;
};

// A scenario's own files, in "<name>.files/" beside it, are copied into its folder.
std::string runScenario(const std::filesystem::path& input) {
    std::ostringstream out;
    {
        const ScenarioFolder folder;
        auto files = input;
        files.replace_extension(".files");
        if (std::filesystem::is_directory(files))
            std::filesystem::copy(files, std::filesystem::current_path(),
                                  std::filesystem::copy_options::recursive);
        Sim sim(out, KAVEL_PROGRAM_DIR);
        std::ifstream in(input);
        for (std::string line; !sim.finished() && std::getline(in, line);)
            sim.run(line);
    }
    return out.str();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, OutputMatches) {
    const std::filesystem::path dir = KAVEL_GOLDEN_DIR;
    const auto expected = readFile(dir / (GetParam() + ".out"));
    ASSERT_FALSE(expected.empty()) << "no recorded output for " << GetParam();
    EXPECT_EQ(runScenario(dir / (GetParam() + ".in")), expected);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Golden,
                         ::testing::Values("startup_quit", "protocol_errors", "reset_full_update",
                                           "memories_total_recall", "held_keys_and_organ_body",
                                           "device_lost_and_found", "memory_file",
                                           "stops_table_editor", "hotkeys", "undefined_status"));

TEST(Sim, EndsAtQuitAndCleansItsTemporaryFolder) {
    std::ostringstream out;
    std::string folder;
    {
        Sim sim(out, KAVEL_PROGRAM_DIR);
        sim.run("start");
        sim.run("get PATH_CFG");
        sim.run("quit");
        EXPECT_TRUE(sim.finished());
        const auto text = out.str();
        const auto at = text.find("value ");
        ASSERT_NE(at, std::string::npos);
        folder = std::filesystem::path(text.substr(at + 6, text.find('\n', at) - at - 6))
                     .parent_path()
                     .string();
        EXPECT_TRUE(std::filesystem::exists(folder));
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "README.txt"));
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
} // namespace kavel
