#pragma once

// A user who answers from a script, for tests and kavel-sim: queued answers for message boxes
// and file dialogs, a fixed screen, and a record of everything shown.

#include "console/User.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kavel {

class ScriptedUser : public User {
  public:
    // A box with no queued answer (or one its buttons cannot give) takes its default button.
    std::deque<Answer> answers;
    // A dialog with no queued answer is cancelled; nothing queued as a path means cancel too.
    std::deque<std::optional<std::string>> files;
    ScreenSize screenSize{1920 * 15, 1080 * 15};
    // The font families the screen has.
    std::vector<std::string> fonts{"Arial", "Arimo", "DejaVu Sans", "Small Fonts"};

    std::vector<MessageBox> shown;
    std::vector<std::string> windowsShown;
    std::vector<std::string> helpShown;
    bool ended = false;
    std::function<void(const MessageBox&)> onMessageBox;
    std::vector<std::string> notices;
    std::function<void(const std::string&)> onNotice;

    ScreenSize screen() const override { return screenSize; }
    Answer messageBox(const MessageBox& box) override;
    void notice(const std::string& text) override {
        notices.push_back(text);
        if (onNotice) onNotice(text);
    }
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;
    void showWindow(const std::string& name, bool modal) override;
    void closeWindow(const std::string& name) override;
    void showHelp(const std::string& path) override { helpShown.push_back(path); }
    std::vector<std::string> fontFamilies() const override { return fonts; }
    void endProgram() override { ended = true; }

  private:
    std::optional<std::string> nextFile();
};

} // namespace kavel
