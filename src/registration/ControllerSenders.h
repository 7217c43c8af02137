#pragma once

// The expression, balance and tremolo senders: each sends its live value to the module as a
// controller, shows it on the Advanced window and takes it as applied.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class Procedures;
class Sender;
struct LevelSender; // an expression or balance sender

class ControllerSenders {
  public:
    ControllerSenders(RegistrationTable& registration, const AdvancedState& advanced,
                      Controls& controls, Sender& sender);
    ControllerSenders(const ControllerSenders&) = delete;
    ControllerSenders& operator=(const ControllerSenders&) = delete;

    // Its procedures by name ("EXPRESSION_GO", "Send_Tremolo_GO" ...).
    void registerProcedures(Procedures& p);

    void EXPRESSION_GO();
    void EXPRESSION_SW();
    void EXPRESSION_PE();
    void BILANCIA_FONDI_GO();
    void BILANCIA_FONDI_SW();
    void BILANCIA_MUTAZ_GO();
    void BILANCIA_MUTAZ_SW();
    void BILANCIA_ANCIE_GO();
    void BILANCIA_ANCIE_SW();
    void Send_Tremolo_GO(int ON_OFF);
    void Send_Tremolo_SW(int ON_OFF);

  private:
    void sendController(int status, int controller, int value);
    void sendLevel(const LevelSender& sender);

    RegistrationTable& registration_;
    const AdvancedState& advanced_;
    Controls& controls_;
    Sender& sender_;
};

} // namespace kavel
