// Kavel: wires the console core to Qt windows, the MIDI systems (ALSA through RtMidi, JACK
// through Kavel's own client) and the built-in GS module.

#include "console/Kavel.h"
#include "console/ui/InputWaker.h"
#include "console/ui/MainWindow.h"
#include "console/ui/QtEventLoop.h"
#include "console/ui/QtUser.h"
#include "memories/ui/TotalRecallView.h"
#include "midi/SystemsInputPort.h"
#include "midi/SystemsOutputPort.h"
#include "midi/jack/JackSystems.h"
#include "midi/rtmidi/RtMidiSystems.h"
#include "midi/ui/SetupView.h"
#include "midi/ui/ThruView.h"
#include "module/ModuleSettings.h"
#include "module/fluidsynth/BuiltInModule.h"
#include "panel/ui/AboutView.h"
#include "panel/ui/FontsView.h"
#include "registration/ui/AdvancedView.h"
#include "stops_table/ui/EditorView.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kavel");

    // The MIDI systems of each control, in list order. The JACK client outlives its systems,
    // which outlive the controls.
    kavel::JackClient jack;
    kavel::RtMidiInputSystem alsaIn1("Kavel In 1"), alsaIn2("Kavel In 2");
    kavel::JackInputSystem jackIn1(jack, kavel::JackClient::Port::In1, "Kavel In 1");
    kavel::JackInputSystem jackIn2(jack, kavel::JackClient::Port::In2, "Kavel In 2");
    kavel::RtMidiOutputSystem alsaOut("Kavel Out");
    kavel::JackOutputSystem jackOut(jack, "Kavel Out");
    const std::string folder = QCoreApplication::applicationDirPath().toLocal8Bit().toStdString();
    kavel::module::BuiltInModule builtInModule(folder + "/" + kavel::module::kModuleSettingsFile);

    kavel::InputWaker waker;
    kavel::SystemsInputPort in1({&alsaIn1, &jackIn1}, [&waker] { waker.wake(); });
    kavel::SystemsInputPort in2({&alsaIn2, &jackIn2}, [&waker] { waker.wake(); });
    kavel::SystemsOutputPort out({&alsaOut, &jackOut, &builtInModule}); // the module last
    waker.watch(in1);
    waker.watch(in2);

    kavel::QtEventLoop loop;
    kavel::QtUser user;
    kavel::Kavel core({in1, in2, out}, loop, user, folder);
    kavel::MainWindow window(core);
    const kavel::CoreControls drawn{core.controls, core.procedures};
    user.addWindow("Kavel", &window);
    kavel::AdvancedView advanced(drawn, core.advanced, window);
    user.addWindow("Advanced", &advanced);
    kavel::ThruView thru(drawn, core.thru, window);
    user.addWindow("Thru_form", &thru);
    kavel::SetupView setup(drawn, core.setupDialog, window);
    user.addWindow("Set_up", &setup);
    kavel::EditorView editor(drawn, core.editor, window);
    user.addWindow("compilatore", &editor);
    kavel::FontsView fonts(drawn, core.fonts, window);
    user.addWindow("SetFonts", &fonts);
    kavel::TotalRecallView totalRecall(drawn, core.totalRecallWindow, window);
    user.addWindow("Totalrec", &totalRecall);
    kavel::AboutView about(drawn, core.about, window);
    user.addWindow("frmABout", &about);

    // Driver faults and devices unplugged while open reach the Error events from here, and a
    // device that comes back is opened again.
    QTimer deviceCheck;
    // A JACK server started after Kavel is looked for here too.
    QObject::connect(&deviceCheck, &QTimer::timeout, [&core, &jack] {
        jack.poll();
        core.devices.checkDevices();
    });
    deviceCheck.start(1000);

    // On a first start the organ sounds at once, through the built-in module.
    core.config.setFirstStartOutput(kavel::module::kBuiltInModuleName);
    core.Form_Load();
    if (!core.running()) return 0;
    return QApplication::exec();
}
