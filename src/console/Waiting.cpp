#include "console/Waiting.h"

namespace kavel {

void Waiting::registerProcedures(Procedures& p) {
    p.add("Waiting_Timer", 1, [this](const Procedures::Args& a) { Waiting_Timer(a[0]); });
}

void Waiting::Waiting_Timer(int msec) {
    // A timer of 0 would never fire; no wait is what a caller asking for 0 means.
    if (msec <= 0) return;
    ++waits_;
    struct Done {
        int& depth;
        ~Done() { --depth; }
    } done{waits_};
    midi_.TEMPO_SCADUTO = false;
    loop_.startTimer(msec, [this] { Timer1_Timer(); });
    while (!midi_.TEMPO_SCADUTO)
        loop_.processEventsOrWait();
    loop_.stopTimer();
}

void Waiting::Timer1_Timer() {
    midi_.TEMPO_SCADUTO = true;
}

} // namespace kavel
