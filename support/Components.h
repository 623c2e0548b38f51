#pragma once
#include "support/AboutBox.h"
#include "support/ColorDialog.h"
#include "support/ErrorReporter.h"
#include "support/FolderDialog.h"
#include "support/IconDialog.h"
#include "support/PictureFileDialog.h"

#include <memory>
#include <string>
#include <utility>

// The component library as the program's windows see it: the dialogs they open, the
// message boxes they show and the shell they tell of changes. Tests hand the windows stand-ins through this interface;
// SystemComponents is the real one.
class Components {
public:
    virtual ~Components() = default;
    // A fresh picker for each click.
    virtual std::unique_ptr<PictureFileDialog> newPictureFileDialog() = 0;
    virtual std::unique_ptr<FolderDialog> newFolderDialog() = 0;
    virtual std::unique_ptr<ColorDialog> newColorDialog() = 0;
    virtual std::unique_ptr<IconDialog> newIconDialog() = 0;
    // After a folder's settings changed: open shell windows show them, and the image of
    // formerIcon ("path,index", when not empty), the icon they named before, is read
    // again. A command over many folders calls it from its own thread.
    virtual void folderChanged(const std::wstring& folder, const std::wstring& formerIcon) = 0;
    // After the registry's commands for folders changed: the shell's menus show them.
    virtual void associationsChanged() = 0;
    // A message with the button OK, beside icon (MB_ICONSTOP, MB_ICONWARNING or MB_ICONINFORMATION).
    virtual void tell(HWND owner, const std::wstring& text, UINT icon) = 0;
    // A question with the buttons Yes and No (the default); true for Yes.
    virtual bool askYes(HWND owner, const std::wstring& question) = 0;
    // Made on first use and kept for the rest of the run.
    virtual ErrorReporter& errorReporter() = 0;
    virtual AboutBox& aboutBox() = 0;
};

// What the components say in the user's language.
struct ComponentTexts {
    std::wstring aboutTitlePrefix; // before the program's name in the about box's title
    std::wstring errorLabel; // before an error's number
    std::wstring title; // the title of a box when the exe names none
};

class SystemComponents : public Components {
public:
    explicit SystemComponents(ComponentTexts texts) : texts_(std::move(texts)) {}
    std::unique_ptr<PictureFileDialog> newPictureFileDialog() override;
    std::unique_ptr<FolderDialog> newFolderDialog() override;
    std::unique_ptr<ColorDialog> newColorDialog() override;
    std::unique_ptr<IconDialog> newIconDialog() override;
    void folderChanged(const std::wstring& folder, const std::wstring& formerIcon) override;
    void associationsChanged() override;
    void tell(HWND owner, const std::wstring& text, UINT icon) override;
    bool askYes(HWND owner, const std::wstring& question) override;
    ErrorReporter& errorReporter() override;
    AboutBox& aboutBox() override;

private:
    int showBox(HWND owner, const std::wstring& text, UINT style) const;

    ComponentTexts texts_;
    std::unique_ptr<ErrorReporter> errorReporter_;
    std::unique_ptr<AboutBox> aboutBox_;
};
