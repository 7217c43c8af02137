#pragma once

// Real message boxes and file dialogs for the core, and the windows it shows by name.

#include "console/User.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

namespace kavel {

class HelpWindow;

class QtUser : public User {
  public:
    QtUser();
    ~QtUser() override;

    // Windows the core can show and close, by their console names.
    void addWindow(const std::string& name, QWidget* window) { windows_[name] = window; }

    ScreenSize screen() const override;
    bool minimised() const override;
    Answer messageBox(const MessageBox& box) override;
    // On the main window's status line, with the time it came.
    void notice(const std::string& text) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;
    void showWindow(const std::string& name, bool modal) override;
    void closeWindow(const std::string& name) override;
    void showHelp(const std::string& path) override;
    std::vector<std::string> fontFamilies() const override;
    void endProgram() override;

  private:
    QWidget* parent() const;
    std::map<std::string, QPointer<QWidget>> windows_;
    std::unique_ptr<HelpWindow> help_; // made when first asked for
};

// "(*.sqs)|*.sqs|" as a Qt file-dialog filter: "(*.sqs) (*.sqs)".
QString qtFilter(const std::string& filter);

} // namespace kavel
