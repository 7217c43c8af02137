#include "console/Kavel.h"

namespace kavel {

void Kavel::Waiting_Timer(int msec) {
    // A timer of 0 would never fire; no wait is what a caller asking for 0 means.
    if (msec <= 0) return;
    ++waits_;
    struct Done {
        int& depth;
        ~Done() { --depth; }
    } done{waits_};
    state.midi.TEMPO_SCADUTO = false;
    loop_.startTimer(msec, [this] { Timer1_Timer(); });
    while (!state.midi.TEMPO_SCADUTO)
        loop_.processEventsOrWait();
    loop_.stopTimer();
}

void Kavel::Timer1_Timer() {
    state.midi.TEMPO_SCADUTO = true;
}

} // namespace kavel
