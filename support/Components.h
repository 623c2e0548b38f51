#pragma once
#include "support/AboutBox.h"

#include <memory>

// The component library as the main window sees it: the dialogs it opens. Tests hand
// the window stand-ins through this interface; SystemComponents is the real one.
class Components {
public:
    virtual ~Components() = default;
    // Made on first use and kept for the rest of the run.
    virtual AboutBox& aboutBox() = 0;
};

class SystemComponents : public Components {
public:
    AboutBox& aboutBox() override;

private:
    std::unique_ptr<AboutBox> aboutBox_;
};
