// The Help menu: the Total Recall display and the about box open beside the console with their
// texts and pictures from the program folder, OK closes them; the help opens at its contents,
// or says what is missing; every link of the shipped help leads to a page that is there.

#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "midi/fake/FakeMidi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

struct ModalUser : ScriptedUser {
    std::vector<std::pair<std::string, bool>> opened; // window, modal
    void showWindow(const std::string& name, bool modal) override {
        opened.emplace_back(name, modal);
        ScriptedUser::showWindow(name, modal);
    }
};

fs::path testFolder() {
    const auto* test = ::testing::UnitTest::GetInstance();
    return fs::temp_directory_path() / ("kavel-help-" + std::to_string(test->random_seed()) + "-" +
                                        test->current_test_info()->name());
}

class HelpMenu : public ::testing::Test {
  protected:
    HelpMenu() {
        fs::create_directories(folder);
        user.screenSize = {1600 * 15, 1000 * 15};
    }
    ~HelpMenu() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string at(const std::string& name) const { return (folder / name).string(); }

    fs::path folder = testFolder();
    ManualEventLoop loop;
    ModalUser user;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    Kavel console{Ports{in1, in2, out}, loop, user, folder.string()};
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(HelpMenu, WindowsOpenBesideTheConsoleWithTheirTextsAndCloseOnOk) {
    struct Case {
        const char* procedure;
        const char* window;
        const char* caption;
        const char* icon;
        const char* pictureControl;
        const char* picture;
        std::vector<std::pair<const char*, const char*>> texts;
        const char* ok;
    };
    const Case cases[] = {
        {"totRec_Click",
         "Totalrec",
         "Total Recall Display",
         "pingu1.ico",
         "Totalrec.Image1",
         "tastiera.bmp",
         {{"Totalrec.Label1",
           "Total Recall: How you can handle Kavel without touch your mouse or Pc keyboard"},
          {"Totalrec.Label2",
           "To use the keys as levers you only need to apply a \"switch event\" before pressing "
           "them: this event is the pressing of the sustain pedal. An example : to recall a free "
           "memory you only need to do the following: 1)PRESS SUSTAIN PEDAL 2) PRESS A  KEY and "
           "see related effect : that's all!"},
          {"Totalrec.Command1", "OK"}},
         "Totalrec.Command1_Click"},
        {"About_Click",
         "frmABout",
         "About KAVEL Graphic Version",
         "flgitaly.ico",
         "frmABout.Image1",
         "about.jpg",
         {{"LabelNomeprog", "Kavel"},
          {"frmABout.Label1", "This program is designed for Roland Sound Canvas SC88 or Highers"},
          {"frmABout.Command1", "OK"}},
         "frmABout.Command1_Click"},
    };
    const auto& controls = console.controls;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        user.opened.clear();
        console.procedures.call(c.procedure, {});
        ASSERT_EQ(user.opened, (std::vector<std::pair<std::string, bool>>{{c.window, false}}));
        const ControlState& w = controls.get(c.window);
        EXPECT_EQ(w.caption, c.caption);
        EXPECT_EQ(w.picture, at(c.icon));
        EXPECT_EQ(w.left, (1600 * 15 - w.width) / 2);
        EXPECT_EQ(w.top, (1000 * 15 - w.height) / 2);
        EXPECT_EQ(controls.get(c.pictureControl).kind, ControlKind::Picture);
        EXPECT_EQ(controls.get(c.pictureControl).picture, at(c.picture));
        for (const auto& [name, text] : c.texts)
            EXPECT_EQ(controls.get(name).caption, text) << name;
        // Everything the window draws stands inside it.
        int drawn = 0;
        for (const auto& [key, entry] : controls.all()) {
            const ControlState& s = entry.state;
            if (s.window != c.window) continue;
            ++drawn;
            EXPECT_TRUE(s.left >= 0 && s.top >= 0 && s.left + s.width <= w.width &&
                        s.top + s.height <= w.height)
                << key.name;
        }
        EXPECT_GE(drawn, 4);
        // Moved by the organist, then asked for again: brought forward where it is.
        console.controls.edit(c.window).left = 30;
        console.procedures.call(c.procedure, {});
        EXPECT_EQ(controls.get(c.window).left, 30);
        console.procedures.call(c.ok, {});
        EXPECT_TRUE(user.windowsShown.empty());
        // Opened afresh: centred again.
        console.procedures.call(c.procedure, {});
        EXPECT_EQ(controls.get(c.window).left, (1600 * 15 - w.width) / 2);
        console.procedures.call(c.ok, {});
    }
    EXPECT_TRUE(user.shown.empty());
}

// What the program folder holds of the help decides between the help window and a message.
TEST_F(HelpMenu, HelpOpensAtItsContentsOrSaysWhatIsMissing) {
    struct Case {
        const char* name;
        std::vector<const char*> files;   // made in the program folder
        std::vector<const char*> folders; // likewise
        bool opens;
    };
    const Case cases[] = {
        {"pages", {"help/index.html", "help/playing.html"}, {}, true},
        {"no help folder", {}, {}, false},
        {"empty help folder", {}, {"help"}, false},
        {"contents missing", {"help/playing.html"}, {}, false},
        {"contents a folder", {}, {"help/index.html"}, false},
        {"contents beside the folder", {"index.html"}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder / "help");
        fs::remove(folder / "index.html");
        for (const char* dir : c.folders)
            fs::create_directories(folder / dir);
        for (const char* file : c.files) {
            fs::create_directories((folder / file).parent_path());
            std::ofstream(folder / file) << "<html><title>t</title></html>";
        }
        user.shown.clear();
        user.helpShown.clear();
        console.procedures.call("Help1_Click", {});
        if (c.opens) {
            EXPECT_EQ(user.helpShown, std::vector<std::string>{at("help/index.html")});
            EXPECT_TRUE(user.shown.empty());
        } else {
            EXPECT_TRUE(user.helpShown.empty());
            ASSERT_EQ(user.shown.size(), 1u);
            EXPECT_NE(user.shown[0].text.find(at("help/index.html") + " is missing"),
                      std::string::npos)
                << user.shown[0].text;
            EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
            EXPECT_EQ(user.shown[0].buttons, Buttons::Ok);
        }
    }
}

// The help as the build ships it: every page reached from the contents, every link and anchor
// leading somewhere, and the Total Recall table with a row for every command key.
TEST(ShippedHelp, EveryLinkLeadsToAPageThatIsThere) {
    const fs::path help = fs::path(KAVEL_PROGRAM_DIR) / "help";
    ASSERT_TRUE(fs::is_regular_file(help / "index.html"));
    std::set<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(help))
        if (entry.path().extension() == ".html") pages.insert(entry.path().filename());

    const std::regex link(R"re((href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    std::set<fs::path> reached{"index.html"};
    std::vector<fs::path> toRead{"index.html"};
    std::set<fs::path> linkedFromContents;
    while (!toRead.empty()) {
        const fs::path page = toRead.back();
        toRead.pop_back();
        const std::string html = readAll(help / page);
        EXPECT_NE(html.find("<title>"), std::string::npos) << page;
        for (std::sregex_iterator m(html.begin(), html.end(), link), end; m != end; ++m) {
            const std::string target = (*m)[2];
            if (target.find(':') != std::string::npos) continue; // a web address
            const auto hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const fs::path resolved = file.empty() ? page : fs::path(file).lexically_normal();
            ASSERT_TRUE(fs::is_regular_file(help / resolved))
                << page << " links to " << target << ", which is not there";
            if (hash != std::string::npos) {
                const std::string id = "id=\"" + target.substr(hash + 1) + "\"";
                EXPECT_NE(readAll(help / resolved).find(id), std::string::npos)
                    << page << " links to " << target << ", whose anchor is not there";
            }
            if (page == "index.html") linkedFromContents.insert(resolved);
            if (resolved.extension() == ".html" && reached.insert(resolved).second)
                toRead.push_back(resolved);
        }
    }
    EXPECT_EQ(reached, pages) << "a page nothing links to, or a link out of the help";
    for (const char* topic : {"playing.html", "stops.html", "memories.html", "totalrecall.html",
                              "thru.html", "devices.html", "editor.html", "files.html"})
        EXPECT_TRUE(linkedFromContents.count(topic)) << topic;

    const std::string keys = readAll(help / "totalrecall.html");
    for (int key = 36; key <= 94; ++key)
        EXPECT_NE(keys.find("<tr><td>" + std::to_string(key) + "</td>"), std::string::npos)
            << "no row for key " << key;
}

} // namespace
} // namespace kavel::test
