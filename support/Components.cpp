#include "support/Components.h"

#include "support/ShellFunctions.h"

std::unique_ptr<PictureFileDialog> SystemComponents::newPictureFileDialog()
{
    return std::make_unique<PictureFileDialog>();
}

std::unique_ptr<FolderDialog> SystemComponents::newFolderDialog()
{
    return std::make_unique<FolderDialog>();
}

std::unique_ptr<ColorDialog> SystemComponents::newColorDialog()
{
    return std::make_unique<ColorDialog>();
}

std::unique_ptr<IconDialog> SystemComponents::newIconDialog()
{
    return std::make_unique<IconDialog>();
}

void SystemComponents::folderChanged(const std::wstring& folder, const std::wstring& formerIcon)
{
    notifyFolderChanged(folder, formerIcon);
}

void SystemComponents::associationsChanged()
{
    notifyAssociationsChanged();
}

void SystemComponents::tell(HWND owner, const std::wstring& text, UINT icon)
{
    (void)showBox(owner, text, MB_OK | icon);
}

bool SystemComponents::askYes(HWND owner, const std::wstring& question)
{
    return showBox(owner, question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int SystemComponents::showBox(HWND owner, const std::wstring& text, UINT style) const
{
    return MessageBoxW(owner, text.c_str(), texts_.title.c_str(), style);
}

ErrorReporter& SystemComponents::errorReporter()
{
    if (!errorReporter_)
        errorReporter_ = std::make_unique<ErrorReporter>(texts_.errorLabel, texts_.title);
    return *errorReporter_;
}

AboutBox& SystemComponents::aboutBox()
{
    if (!aboutBox_)
        aboutBox_ = std::make_unique<AboutBox>(texts_.aboutTitlePrefix);
    return *aboutBox_;
}
