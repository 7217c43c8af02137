// The Help menu: the Total Recall display and the about box open modeless and centred with their
// texts and pictures; the help opens at its contents or says it is missing; the shipped help.

#include "ConsoleFixture.h"

#include <array>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

struct HelpMenu : ConsoleFixture {
    std::string at(const std::string& name) const { return (folder / name).string(); }
};

TEST_F(HelpMenu, WindowsOpenBesideTheConsoleWithTheirTextsAndCloseOnOk) {
    auto& controls = console().controls;
    auto call = [this](const std::string& procedure) { console().procedures.call(procedure, {}); };
    for (const auto& [open, window, caption, icon, picture] :
         {std::array{"totRec_Click", "Totalrec", "Total Recall Display", "pingu1.ico",
                     "tastiera.bmp"},
          std::array{"About_Click", "frmABout", "About KAVEL Graphic Version", "flgitaly.ico",
                     "about.jpg"}}) {
        SCOPED_TRACE(window);
        const std::string ok = std::string(window) + ".Command1_Click";
        call(open);
        ASSERT_EQ(user.windowsShown, std::vector<std::string>{window});
        const ControlState& w = controls.get(window);
        const int centred = (user.screenSize.width - w.width) / 2;
        EXPECT_EQ(w.caption, caption);
        EXPECT_EQ(w.picture, at(icon));
        EXPECT_EQ(std::pair(w.left, w.top),
                  std::pair(centred, (user.screenSize.height - w.height) / 2));
        EXPECT_EQ(controls.get(std::string(window) + ".Image1").picture, at(picture));
        EXPECT_EQ(controls.get(std::string(window) + ".Command1").caption, "OK");
        for (const auto& [key, e] : controls.all()) // all drawn inside the window
            EXPECT_TRUE(e.state.window != window || (e.state.left >= 0 && e.state.top >= 0 &&
                                                     e.state.left + e.state.width <= w.width &&
                                                     e.state.top + e.state.height <= w.height))
                << key.name;
        controls.edit(window).left = 30; // moved, asked for again: brought forward where it is
        call(open);
        EXPECT_EQ(controls.get(window).left, 30);
        call(ok), call(open); // closed and opened afresh: centred
        EXPECT_EQ(controls.get(window).left, centred);
        call(ok);
        EXPECT_TRUE(user.windowsShown.empty());
    }
    const std::pair<const char*, const char*> texts[] = {
        {"Totalrec.Label1",
         "Total Recall: How you can handle Kavel without touch your mouse or Pc keyboard"},
        {"Totalrec.Label2",
         "To use the keys as levers you only need to apply a \"switch event\" before pressing "
         "them: this event is the pressing of the sustain pedal. An example : to recall a free "
         "memory you only need to do the following: 1)PRESS SUSTAIN PEDAL 2) PRESS A  KEY and "
         "see related effect : that's all!"},
        {"LabelNomeprog", "Kavel"},
        {"frmABout.Label1", "This program is designed for Roland Sound Canvas SC88 or Highers"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(controls.get(name).caption, text) << name;
}

TEST_F(HelpMenu, HelpOpensAtItsContentsOrSaysWhatIsMissing) {
    struct Case {
        const char* name;
        std::vector<std::string> made; // in the program folder; "/" at the end: a folder
        bool opens;
    };
    const Case cases[] = {
        {"pages", {"help/index.html", "help/playing.html"}, true},
        {"no help folder", {}, false},
        {"contents missing", {"help/playing.html"}, false},
        {"contents a folder", {"help/index.html/"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder / "help");
        for (const std::string& name : c.made) {
            fs::create_directories((folder / name).parent_path());
            if (name.back() != '/') std::ofstream(folder / name) << "<html><title>t</title></html>";
        }
        user.shown.clear(), user.helpShown.clear();
        console().procedures.call("Help1_Click", {});
        EXPECT_EQ(user.helpShown, std::vector<std::string>(c.opens, at("help/index.html")));
        ASSERT_EQ(user.shown.size(), c.opens ? 0u : 1u);
        for (const MessageBox& box : user.shown)
            EXPECT_TRUE(box.text.find(at("help/index.html") + " is missing") != std::string::npos &&
                        box.icon == Icon::Exclamation && box.buttons == Buttons::Ok)
                << box.text;
    }
}

// The shipped help: every page reached from the contents, every link and anchor leading
// somewhere, and the Total Recall table with a row for every command key.
TEST(ShippedHelp, EveryLinkLeadsToAPageThatIsThere) {
    const fs::path help = fs::path(KAVEL_PROGRAM_DIR) / "help";
    auto read = [&](const fs::path& page) {
        std::ifstream in(help / page);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::set<fs::path> pages, reached{"index.html"};
    for (const auto& entry : fs::directory_iterator(help))
        if (entry.path().extension() == ".html") pages.insert(entry.path().filename());
    // A link within the help (a web address has a ':') and its anchor, if any.
    const std::regex link(R"re((href|src)\s*=\s*"([^"#:]*)(#([^"]*))?")re", std::regex::icase);
    for (std::vector<fs::path> toRead{"index.html"}; !toRead.empty();) {
        const fs::path page = toRead.back();
        toRead.pop_back();
        const std::string html = read(page);
        EXPECT_NE(html.find("<title>"), std::string::npos) << page;
        for (std::sregex_iterator m(html.begin(), html.end(), link), end; m != end; ++m) {
            const fs::path to =
                (*m)[2].length() ? fs::path((*m)[2].str()).lexically_normal() : page;
            ASSERT_TRUE(fs::is_regular_file(help / to)) << page << ": " << m->str();
            EXPECT_TRUE(!(*m)[3].matched ||
                        read(to).find("id=\"" + (*m)[4].str() + "\"") != std::string::npos)
                << page << ": " << m->str() << ", whose anchor is not there";
            if (to.extension() == ".html" && reached.insert(to).second) toRead.push_back(to);
        }
    }
    EXPECT_EQ(reached, pages) << "a page nothing links to, or a link out of the help";
    const std::string keys = read("totalrecall.html");
    for (int key = 36; key <= 94; ++key)
        EXPECT_NE(keys.find("<tr><td>" + std::to_string(key) + "</td>"), std::string::npos)
            << "no row for key " << key;
}

} // namespace
} // namespace kavel::test
