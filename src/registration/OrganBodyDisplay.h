#pragma once

// Shows a changed organ body (the Thru button's caption, the memory indicator in Normal
// Rechannelling). The Thru subsystem does it; the console update only asks for it, so the
// registration need not know the Thru dialog, which is built after it.

namespace kavel {

class OrganBodyDisplay {
  public:
    virtual void showOrganBody() = 0;

  protected:
    ~OrganBodyDisplay() = default;
};

} // namespace kavel
