#pragma once

// A console in a program folder of its own, on fake ports, with its main window (offscreen).

#include "console/Kavel.h"
#include "console/ScriptedUser.h"
#include "console/ui/MainWindow.h"
#include "console/ui/QtEventLoop.h"
#include "console/ui/QtUser.h"
#include "midi/fake/FakeMidi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kavel {

// The shipped organ and, unless left out, the pictures, as a program folder holds them.
inline bool copyProgramData(const QTemporaryDir& folder, bool pictures = true) {
    const QDir program(KAVEL_PROGRAM_DIR);
    QStringList patterns{"*.DAT"};
    if (pictures)
        patterns << "*.gif"
                 << "*.jpg"
                 << "*.ico";
    bool all = true;
    for (const QString& name : program.entryList(patterns, QDir::Files))
        all = QFile::copy(program.filePath(name), folder.filePath(name)) && all;
    return all && QFile::exists(folder.filePath("kavel.DAT"));
}

// Boxes and files answered from the script; windows and the help shown and closed as the
// program's own user does.
struct WindowedUser : ScriptedUser {
    QtUser windows;
    void showWindow(const std::string& name, bool modal) override {
        ScriptedUser::showWindow(name, modal);
        windows.showWindow(name, modal);
    }
    void closeWindow(const std::string& name) override {
        ScriptedUser::closeWindow(name);
        windows.closeWindow(name);
    }
    void showHelp(const std::string& path) override {
        ScriptedUser::showHelp(path);
        windows.showHelp(path);
    }
};

struct UiConsole {
    explicit UiConsole(bool pictures = true) : copied(copyProgramData(folder, pictures)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
    }
    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    ScriptedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
};

} // namespace kavel
