#pragma once

#include "ConsoleFixture.h"
#include "Sim.h"

namespace kavel::test {

// Records the console functions keyboard input calls, as "name args".
class RecordingFunctions : public ConsoleFunctions {
  public:
    std::vector<std::string> calls;
    void c_memory_Click(int n) override { calls.push_back("c_memory_Click " + std::to_string(n)); }
    void Graduatore_Click(int n) override {
        calls.push_back("Graduatore_Click " + std::to_string(n));
    }
    void Total_Recall(int& Nota, int Canale) override {
        calls.push_back("Total_Recall " + std::to_string(Nota) + " " + std::to_string(Canale));
    }
    void Tir_TREMOLOGO_Click() override { calls.push_back("Tir_TREMOLOGO_Click"); }
    void TIR_TREMOLOSW_Click() override { calls.push_back("TIR_TREMOLOSW_Click"); }
    void UNPI_Click() override { calls.push_back("UNPI_Click"); }
    void UNPII_Click() override { calls.push_back("UNPII_Click"); }
    void SliderGO_Scroll() override { calls.push_back("SliderGO_Scroll"); }
    void SliderSW_Scroll() override { calls.push_back("SliderSW_Scroll"); }
    void SliderPE_Scroll() override { calls.push_back("SliderPE_Scroll"); }
};

// What `out` sent from message `taken` on, one "XX XX XX" string a message; `taken` moves past.
inline std::vector<std::string> sentSince(const FakeMidiOutput& out, std::size_t& taken) {
    std::vector<std::string> sent;
    for (; taken < out.sent.size(); ++taken)
        sent.push_back(hexBytes(out.sent[taken].bytes));
    return sent;
}

class RoutingFixture : public ConsoleFixture {
  protected:
    RoutingFixture() {
        auto& k = console();
        for (auto& f : k.state.midi.FILTRI_INGRESSO)
            f = false;
        openPorts(0, 1, 0);
        k.routing.setConsoleFunctions(&functions);
        k.state.registration.CORPO_ORGANO[SLOT_LIVE] = 1;
    }

    // One message arriving at input 1 or 2.
    void play(int input, std::vector<std::uint8_t> message) {
        FakeMidiInput& in = input == 1 ? in1 : in2;
        in.inject(std::move(message));
        in.dispatch();
    }

    // What was sent since the last call.
    std::vector<std::string> takeSent() { return sentSince(out, taken_); }

    RecordingFunctions functions;

  private:
    std::size_t taken_ = 0;
};

} // namespace kavel::test
