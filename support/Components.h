#pragma once
#include "support/AboutBox.h"
#include "support/ColorDialog.h"
#include "support/ErrorReporter.h"
#include "support/FolderDialog.h"
#include "support/PictureFileDialog.h"

#include <memory>

// The component library as the main window sees it: the dialogs it opens. Tests hand
// the window stand-ins through this interface; SystemComponents is the real one.
class Components {
public:
    virtual ~Components() = default;
    // A fresh picker for each click.
    virtual std::unique_ptr<PictureFileDialog> newPictureFileDialog() = 0;
    virtual std::unique_ptr<FolderDialog> newFolderDialog() = 0;
    virtual std::unique_ptr<ColorDialog> newColorDialog() = 0;
    // Made on first use and kept for the rest of the run.
    virtual ErrorReporter& errorReporter() = 0;
    virtual AboutBox& aboutBox() = 0;
};

class SystemComponents : public Components {
public:
    std::unique_ptr<PictureFileDialog> newPictureFileDialog() override;
    std::unique_ptr<FolderDialog> newFolderDialog() override;
    std::unique_ptr<ColorDialog> newColorDialog() override;
    ErrorReporter& errorReporter() override;
    AboutBox& aboutBox() override;

private:
    std::unique_ptr<ErrorReporter> errorReporter_;
    std::unique_ptr<AboutBox> aboutBox_;
};
