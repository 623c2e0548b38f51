#include "app/PicturePicker.h"

#include "app/Controls.h"
#include "resources/Texts.h"
#include "support/tsPath.h"

bool pickPicture(Components& components, HWND owner, HWND box)
{
    const auto dialog = components.newPictureFileDialog();
    const std::wstring picture = windowText(box);
    dialog->fileName = picture;
    dialog->filter = kPictureFilter;
    dialog->options = 0;
    (void)tsGetFilePath(picture, dialog->initialFolder); // cannot fail
    dialog->owner = owner;
    if (!dialog->show())
        return false;
    SetWindowTextW(box, dialog->fileName.c_str());
    return true;
}
