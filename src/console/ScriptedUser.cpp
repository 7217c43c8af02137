#include "console/ScriptedUser.h"

#include <algorithm>

namespace kavel {

Answer ScriptedUser::messageBox(const MessageBox& box) {
    shown.push_back(box);
    if (onMessageBox) onMessageBox(box);
    if (answers.empty()) return defaultAnswer(box);
    const Answer queued = answers.front();
    answers.pop_front();
    const auto possible = answersOf(box.buttons);
    return std::find(possible.begin(), possible.end(), queued) != possible.end()
               ? queued
               : defaultAnswer(box);
}

std::optional<std::string> ScriptedUser::nextFile() {
    if (files.empty()) return std::nullopt;
    auto file = std::move(files.front());
    files.pop_front();
    return file;
}

std::optional<std::string> ScriptedUser::openFile(const FileDialog&) {
    return nextFile();
}
std::optional<std::string> ScriptedUser::saveFile(const FileDialog&) {
    return nextFile();
}

void ScriptedUser::showWindow(const std::string& name, bool) {
    windowsShown.push_back(name);
}

void ScriptedUser::closeWindow(const std::string& name) {
    std::erase(windowsShown, name);
}

} // namespace kavel
