#pragma once

// kavel-sim: the console with fake MIDI ports, a fake clock and a scripted user, driven one
// line at a time. Every MIDI message sent, every wait and every message box is written as a
// line of its own.

#include "Recorder.h"
#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "midi/fake/FakeMidi.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kavel {

class Sim {
  public:
    // `dataFolder`: the shipped program folder, copied fresh when no `folder` line names one.
    Sim(std::ostream& out, std::string dataFolder);
    ~Sim();

    void run(const std::string& line);
    bool finished() const { return core_ && !core_->running(); }

  private:
    Kavel& core();
    void runLine(const std::string& line);
    void error(const std::string& text);
    void devices(const std::vector<std::string>& words);
    void device(const std::vector<std::string>& words);
    void midi(const std::vector<std::string>& words);
    void set(const std::vector<std::string>& words);
    void typeText(const std::vector<std::string>& words);
    void get(const std::vector<std::string>& words);
    void record(const std::vector<std::string>& words);
    void finishRecording();
    void heard(const std::vector<std::uint8_t>& bytes);

    std::ostream& out_;
    std::string dataFolder_;
    std::string folder_;
    std::string tempFolder_; // removed at the end
    ManualEventLoop loop_;
    ScriptedUser user_;
    FakeMidiInput in1_;
    FakeMidiInput in2_;
    FakeMidiOutput out1_;
    std::unique_ptr<Kavel> core_;
    // Every message sent is heard by a module that plays nothing, for its counts, and by the
    // recording module once `record` has started one.
    SilentSynthesizer silent_;
    module::GsFrontEnd counting_{silent_};
    std::unique_ptr<Recorder> recorder_;
    std::string recordPath_;
};

// Upper-case hex bytes separated by blanks.
std::string hexBytes(const std::vector<std::uint8_t>& bytes);

} // namespace kavel
