#pragma once

// The two Temporary Buffers: S1, S2 take a snapshot of the live registration, L1, L2 bring it
// back. They live as long as the program; a stored buffer shows by its S button's colour.

#include "registration/RegistrationTable.h"

namespace kavel {

class Controls;
class User;
class Procedures;
class Registration;

class TempBuffers {
  public:
    TempBuffers(RegistrationTable& registration, Controls& controls, User& user,
                Registration& stopControls);
    TempBuffers(const TempBuffers&) = delete;
    TempBuffers& operator=(const TempBuffers&) = delete;

    void registerProcedures(Procedures& p);

    // S1, S2 store the live registration, L1, L2 load it back.
    void TempMemButton_Click(int Index);
    void LoadBuffer_Click(int Index);

  private:
    RegistrationTable& registration_;
    Controls& controls_;
    User& user_;
    Registration& stopControls_;
};

} // namespace kavel
