#include "config/FileDialogs.h"

#include "config/FileNames.h"

#include <algorithm>
#include <cctype>

namespace kavel {

namespace {

bool endsWithIgnoringCase(const std::string& path, const std::string& ext) {
    if (path.size() < ext.size()) return false;
    return std::equal(ext.begin(), ext.end(), path.end() - static_cast<std::ptrdiff_t>(ext.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

int accept(User& user, const std::optional<std::string>& chosen, const std::string& Ext,
           std::string& Path) {
    if (!chosen) return 1;
    Path = *chosen;
    if (endsWithIgnoringCase(Path, Ext)) return 0;
    user.messageBox({"Unauthorized file", kProgramTitle, Buttons::OkCancel, Icon::None, 0});
    return 1;
}

FileDialog dialogFor(const std::string& Title, const std::string& Ext) {
    return {Title, "(*" + Ext + ")|*" + Ext + "|", Ext};
}

} // namespace

int DIALOGO_APRI(User& user, const std::string& Title, const std::string& Ext, std::string& Path) {
    return accept(user, user.openFile(dialogFor(Title, Ext)), Ext, Path);
}

int DIALOGO_SALVA(User& user, const std::string& Title, const std::string& Ext, std::string& Path) {
    return accept(user, user.saveFile(dialogFor(Title, Ext)), Ext, Path);
}

void Estrae_nome(const std::string& S_in, std::string& S_out) {
    S_out = fileNameOf(S_in);
}

} // namespace kavel
