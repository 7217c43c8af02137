#pragma once

// The open and save dialogs every file command goes through: one extension, and a file whose
// name does not end in it is refused.

#include "console/User.h"

#include <string>

namespace kavel {

// 0 when a file with extension `Ext` (".sqs", ".dat", ".syx") was chosen and put into `Path`;
// 1 when cancelled (Path unchanged) or refused (Path holds the refused name).
int DIALOGO_APRI(User& user, const std::string& Title, const std::string& Ext, std::string& Path);
int DIALOGO_SALVA(User& user, const std::string& Title, const std::string& Ext, std::string& Path);

// S_out := the part of S_in after its last "\" or "/" (all of S_in when it has none).
void Estrae_nome(const std::string& S_in, std::string& S_out);

} // namespace kavel
