#pragma once

// The window `Advanced` ("Advanced Controls") as the core sees it: where each of its controls
// stands, and its own load and close procedures. Its sliders' and lists' handlers are the
// console's (`Kavel::SliderGO_Scroll` and the rest): they change the registration, which the
// console owns.

namespace kavel {

class Kavel;

class AdvancedWindow {
  public:
    static constexpr const char* kName = "Advanced";

    // Places every control of the window; the console's handlers stay where they are.
    explicit AdvancedWindow(Kavel& console);
    AdvancedWindow(const AdvancedWindow&) = delete;
    AdvancedWindow& operator=(const AdvancedWindow&) = delete;

    // At the saved place (`ADV_LEFT`, `ADV_TOP`) if all of the window is on the screen there,
    // else centred; the icon from the program folder.
    void Form_Load();
    // A close from the title bar is refused while the console runs: the window lives as long
    // as the program.
    void Form_QueryUnload(bool& Cancel);

  private:
    void placeControls();

    Kavel& console_;
};

} // namespace kavel
