#include "Sim.h"

#include "module/ModuleSettings.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>

namespace kavel {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string w; in >> w;)
        result.push_back(w);
    return result;
}

std::optional<int> number(const std::string& text, int base = 10) {
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// A key by its name, F1..F24, a letter or a digit, as Windows numbers it.
std::optional<int> keyCode(const std::string& name) {
    if (name.size() > 1 && std::toupper(static_cast<unsigned char>(name[0])) == 'F')
        if (auto n = number(name.substr(1)); n && *n >= 1 && *n <= 24) return 111 + *n;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    return std::nullopt;
}

// One character, written in UTF-8 or as a single byte; the console reads it in Latin-1.
std::optional<int> keyAscii(const std::string& text) {
    const auto b = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1) return b(0);
    if (text.size() == 2 && (b(0) & 0xE0) == 0xC0 && (b(1) & 0xC0) == 0x80) {
        const int c = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        if (c >= 0xA0 && c <= 0xFF) return c;
    }
    return std::nullopt;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ';'))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string joined(const std::vector<std::string>& w, std::size_t from) {
    std::string s;
    for (std::size_t i = from; i < w.size(); ++i)
        s += (i > from ? " " : "") + w[i];
    return s;
}

// A fresh copy of the data files of the program folder (no programs, no configuration).
std::string freshCopy(const std::string& from) {
    std::random_device rd;
    const fs::path dir = fs::temp_directory_path() / ("kavel-sim-" + std::to_string(rd()));
    fs::create_directories(dir);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (entry.is_directory()) { // the help
            fs::copy(entry.path(), dir / entry.path().filename(), fs::copy_options::recursive, ec);
            continue;
        }
        if (!entry.is_regular_file()) continue;
        const auto perms = entry.status().permissions();
        if ((perms & fs::perms::owner_exec) != fs::perms::none) continue;
        if (entry.path().filename() == "kavel.CFG") continue;
        fs::copy_file(entry.path(), dir / entry.path().filename(), ec);
    }
    return dir.string();
}

std::string showColour(const Colour& c) {
    char buf[32];
    switch (c.kind) {
    case Colour::Kind::Default:
        return "default";
    case Colour::Kind::System:
        return "system " + std::to_string(c.value);
    case Colour::Kind::Rgb:
        std::snprintf(buf, sizeof buf, "rgb %06X", c.value);
        return buf;
    }
    return "default";
}

std::optional<std::string> property(const ControlState& c, const std::string& name) {
    if (name == "caption") return c.caption;
    if (name == "backcolor") return showColour(c.backColour);
    if (name == "forecolor") return showColour(c.foreColour);
    if (name == "picture") return fs::path(c.picture).filename().string();
    if (name == "visible") return c.visible ? "-1" : "0";
    if (name == "enabled") return c.enabled ? "-1" : "0";
    if (name == "value") return std::to_string(c.value);
    if (name == "min") return std::to_string(c.min);
    if (name == "max") return std::to_string(c.max);
    if (name == "listindex") return std::to_string(c.listIndex);
    if (name == "listcount") return std::to_string(c.items.size());
    if (name == "items") {
        std::string s;
        for (std::size_t i = 0; i < c.items.size(); ++i)
            s += (i ? ";" : "") + c.items[i];
        return s;
    }
    if (name == "tooltip") return c.toolTip;
    if (name == "font") {
        char size[16];
        std::snprintf(size, sizeof size, "%g", c.font.size);
        return c.font.name + " " + size + (c.font.bold ? " bold" : "") +
               (c.font.italic ? " italic" : "");
    }
    if (name == "left") return std::to_string(c.left);
    if (name == "top") return std::to_string(c.top);
    if (name == "width") return std::to_string(c.width);
    if (name == "height") return std::to_string(c.height);
    return std::nullopt;
}

} // namespace

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        if (i) s += ' ';
        s += buf;
    }
    return s;
}

Sim::Sim(std::ostream& out, std::string dataFolder)
    : out_(out), dataFolder_(std::move(dataFolder)) {
    in1_.devices.names = {"Keyboard 1", "Keyboard 2"};
    in2_.devices.names = {"Keyboard 1", "Keyboard 2"};
    out1_.devices.names = {"Module", module::kBuiltInModuleName};
    out1_.clock = [this] { return loop_.now(); };
    out1_.onSend = [this](const std::vector<std::uint8_t>& bytes) {
        out_ << "out " << hexBytes(bytes) << '\n';
        heard(bytes);
    };
    loop_.onTimerStarted = [this](int msec) { out_ << "wait " << msec << '\n'; };
    user_.onMessageBox = [this](const MessageBox& box) {
        out_ << "msgbox " << (box.title.empty() ? kProgramTitle : box.title) << " | " << box.text
             << '\n';
    };
    user_.onNotice = [this](const std::string& text) { out_ << "notice " << text << '\n'; };
}

Sim::~Sim() {
    core_.reset();
    finishRecording(); // input ended without quit: what was played is kept all the same
    if (!tempFolder_.empty()) {
        std::error_code ec;
        fs::remove_all(tempFolder_, ec);
    }
}

Kavel& Sim::core() {
    if (!core_) {
        if (folder_.empty()) folder_ = tempFolder_ = freshCopy(dataFolder_);
        core_ = std::make_unique<Kavel>(Ports{in1_, in2_, out1_}, loop_, user_, folder_);
    }
    return *core_;
}

void Sim::error(const std::string& text) {
    out_ << "error " << text << '\n';
}

void Sim::run(const std::string& line) {
    try {
        runLine(line);
    } catch (const std::exception& e) {
        error(e.what());
    }
}

void Sim::runLine(const std::string& line) {
    const auto w = words(line);
    if (w.empty() || w[0][0] == '#') return;
    const std::string& verb = w[0];
    if (verb == "folder") {
        if (core_) return error("folder must come before start");
        if (w.size() < 2) return error("folder needs a path");
        folder_ = joined(w, 1);
    } else if (verb == "devices") {
        devices(w);
    } else if (verb == "device") {
        device(w);
    } else if (verb == "check") {
        core().devices.checkDevices();
    } else if (verb == "start") {
        core().Form_Load();
    } else if (verb == "call") {
        if (w.size() < 2) return error("call needs a procedure");
        if (auto e = core().procedures.call(w[1], {w.begin() + 2, w.end()})) error(*e);
    } else if (verb == "midi") {
        midi(w);
    } else if (verb == "set") {
        set(w);
    } else if (verb == "type") {
        typeText(w);
    } else if (verb == "select") {
        auto index = w.size() == 3 ? number(w[2]) : std::nullopt;
        if (!index) return error("select LIST INDEX");
        if (!core().controls.exists(w[1])) return error("unknown list " + w[1]);
        if (*index < -1 || *index >= static_cast<int>(core().controls.get(w[1]).items.size()))
            return error(w[1] + " has no item " + w[2]);
        core().lists.selectListItem(w[1], *index);
    } else if (verb == "get") {
        get(w);
    } else if (verb == "key") {
        const auto code = w.size() == 2 ? keyCode(w[1]) : std::nullopt;
        if (!code) return error("key F1..F24|LETTER|DIGIT");
        core().hotkeys.Form_KeyDown(*code, 0);
    } else if (verb == "char") {
        const auto ascii = w.size() == 2 ? keyAscii(w[1]) : std::nullopt;
        if (!ascii) return error("char takes one character");
        core().hotkeys.Form_KeyPress(*ascii);
    } else if (verb == "answer") {
        static const std::pair<const char*, Answer> kAnswers[] = {{"yes", Answer::Yes},
                                                                  {"no", Answer::No},
                                                                  {"ok", Answer::Ok},
                                                                  {"cancel", Answer::Cancel},
                                                                  {"retry", Answer::Retry}};
        for (const auto& [word, answer] : kAnswers)
            if (w.size() == 2 && w[1] == word) return user_.answers.push_back(answer);
        error("answer takes yes, no, ok, cancel or retry");
    } else if (verb == "file") {
        if (w.size() < 2) return error("file needs a path or cancel");
        if (w.size() == 2 && w[1] == "cancel")
            user_.files.emplace_back(std::nullopt);
        else
            user_.files.emplace_back(joined(w, 1));
    } else if (verb == "advance") {
        auto ms = w.size() == 2 ? number(w[1]) : std::nullopt;
        if (!ms || *ms < 0) return error("advance needs milliseconds");
        loop_.advance(*ms);
    } else if (verb == "quit") {
        core().exit_Click();
        if (finished()) finishRecording();
    } else if (verb == "record") {
        record(w);
    } else if (verb == "module") {
        const auto& c = counting_.counts();
        out_ << "module unknown " << c.unknown << " damaged " << c.damaged << " not-for-us "
             << c.notForUs << " unsupported " << c.unsupported << '\n';
    } else {
        error("unknown command " + verb);
    }
}

void Sim::devices(const std::vector<std::string>& w) {
    if (core_) return error("devices must come before start");
    if (w.size() < 2 || (w[1] != "in" && w[1] != "out"))
        return error("devices in|out NAME;NAME...");
    const auto names = splitList(joined(w, 2));
    if (w[1] == "in") {
        in1_.devices.names = names;
        in2_.devices.names = names;
    } else {
        out1_.devices.names = names;
        out1_.devices.names.emplace_back(module::kBuiltInModuleName); // after its own devices
    }
}

void Sim::heard(const std::vector<std::uint8_t>& bytes) {
    counting_.receiveStream(bytes.data(), bytes.size());
    if (recorder_) recorder_->feed(bytes, loop_.now());
}

// From now on what the console sends is also rendered, along the fake clock, into a WAV file
// written at quit.
void Sim::record(const std::vector<std::string>& w) {
    if (w.size() < 2) return error("record FILE.wav");
    if (recorder_) return error("already recording to " + recordPath_);
    const std::string path = joined(w, 1);
    if (folder_.empty()) folder_ = tempFolder_ = freshCopy(dataFolder_);
    const std::string settings = (fs::path(folder_) / module::kModuleSettingsFile).string();
    recorder_ = std::make_unique<Recorder>(path, settings, loop_.now());
    recordPath_ = path;
}

void Sim::finishRecording() {
    if (!recorder_) return;
    auto recorder = std::move(recorder_);
    if (auto e = recorder->finish(loop_.now())) return error(*e);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", recorder->seconds());
    out_ << "recorded " << recordPath_ << " " << seconds << " s\n";
}

// A device unplugged or plugged back in, then the console's next device check.
void Sim::device(const std::vector<std::string>& w) {
    if (w.size() < 3 || (w[1] != "lose" && w[1] != "return"))
        return error("device lose|return NAME");
    const std::string name = joined(w, 2);
    for (FakeDeviceList* list : {&in1_.devices, &in2_.devices, &out1_.devices}) {
        if (w[1] == "lose")
            list->absent.insert(name);
        else
            list->absent.erase(name);
    }
    core().devices.checkDevices();
}

void Sim::midi(const std::vector<std::string>& w) {
    const auto n = w.size() >= 3 ? number(w[1]) : std::nullopt;
    if (!n || (*n != 1 && *n != 2)) return error("midi 1|2 HEX HEX HEX");
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 2; i < w.size(); ++i) {
        auto b = number(w[i], 16);
        if (!b || *b < 0 || *b > 255) return error("not a hex byte: " + w[i]);
        bytes.push_back(static_cast<std::uint8_t>(*b));
    }
    FakeMidiInput& input = *n == 1 ? in1_ : in2_;
    core();
    if (!input.isOpen()) return error("input " + std::to_string(*n) + " is not open");
    input.inject(bytes);
    input.dispatch();
}

// Text typed into a text box: its caption replaced, then its _Change handler, as a key does.
void Sim::typeText(const std::vector<std::string>& w) {
    // A text box of an array takes an index; a lone one (the font search) takes none.
    auto& k = core();
    const auto index = w.size() >= 4 ? number(w[2]) : std::nullopt;
    const bool indexed = index && k.controls.exists(w[1], *index);
    const int at = indexed ? *index : -1;
    if (w.size() < 3 || !k.controls.exists(w[1], at) ||
        k.controls.get(w[1], at).kind != ControlKind::Text)
        return error("type FIELD [INDEX] TEXT: " + w[1] + " is not a text box");
    k.controls.edit(w[1], at).caption = joined(w, indexed ? 3 : 2);
    const std::vector<std::string> args =
        indexed ? std::vector<std::string>{w[2]} : std::vector<std::string>{};
    if (auto handler = k.procedures.named(w[1] + "_Change"))
        if (auto e = k.procedures.call(*handler, args)) error(*e);
}

void Sim::set(const std::vector<std::string>& w) {
    auto& k = core();
    auto& vars = k.variables;
    if (w.size() == 3 && vars.set(w[1], -1, w[2])) return;
    if (w.size() == 4) {
        auto index = number(w[2]);
        if (index && vars.set(w[1], *index, w[3])) return;
    }
    // A control's value or list index, as a person would move it (its handler is not run).
    if (!vars.contains(w[1]) && (w.size() == 4 || w.size() == 5)) {
        const bool indexed = w.size() == 5;
        const auto index = indexed ? number(w[2]) : std::optional<int>(-1);
        const auto value = number(w.back());
        const std::string& prop = w[w.size() - 2];
        if (index && value && k.controls.exists(w[1], *index)) {
            auto& c = k.controls.edit(w[1], *index);
            if (prop == "value") return void(c.value = *value);
            if (prop == "listindex") return void(c.listIndex = *value);
        }
    }
    error("cannot set " + joined(w, 1));
}

void Sim::get(const std::vector<std::string>& w) {
    if (w.size() < 2 || w.size() > 4) return error("get NAME [INDEX] [PROPERTY]");
    auto& k = core();
    std::optional<int> index;
    std::size_t next = 2;
    if (w.size() > 2) {
        index = number(w[2]);
        if (index) next = 3;
    }
    if (k.variables.contains(w[1]) && next == w.size()) {
        if (auto v = k.variables.get(w[1], index.value_or(-1))) {
            out_ << "value " << *v << '\n';
            return;
        }
        return error("no " + joined(w, 1));
    }
    if (k.controls.exists(w[1], index.value_or(-1))) {
        const std::string prop = next < w.size() ? w[next] : "caption";
        if (auto v = property(k.controls.get(w[1], index.value_or(-1)), prop)) {
            out_ << "value " << *v << '\n';
            return;
        }
        return error("unknown property " + prop);
    }
    error("unknown name " + joined(w, 1));
}

} // namespace kavel
