#include "app/Controls.h"
#include "resources/FolderInfoLayout.h"
#include "resources/FoldersLayout.h"
#include "resources/JournalLayout.h"
#include "resources/MainLayout.h"
#include "resources/Texts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace {

// The room a control leaves its caption, at 96 dots per inch: a push button's frame and
// focus rectangle, a check box's box and the gap after it, a list column's header
// padding.
int captionRoom(ControlKind kind, int width)
{
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton: return width - 8;
    case ControlKind::CheckBox: return width - 16;
    default: return width;
    }
}

class WindowFont {
public:
    explicit WindowFont(int dpi)
        : dc_(CreateCompatibleDC(nullptr)), font_(createWindowFont(dpi)), old_(SelectObject(dc_, font_))
    {
    }
    WindowFont(const WindowFont&) = delete;
    WindowFont& operator=(const WindowFont&) = delete;
    ~WindowFont()
    {
        SelectObject(dc_, old_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    int width(const std::wstring& text) const
    {
        SIZE size = {};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

// A caption as the control shows it: without its tab and the key after it.
std::wstring shown(const wchar_t* caption)
{
    const std::wstring text = caption;
    return text.substr(0, text.find(L'\t'));
}

} // namespace

// Every caption of every window fits its control in Tahoma 9 at 96 and 120 dots per
// inch, in each language: the layouts are scaled as a whole, and the font's widths do not
// scale quite with them.
TEST(CaptionFit, EveryCaptionFitsItsControlInEachLanguage)
{
    const std::pair<const char*, std::span<const ControlSpec>> layouts[] = {{"main", kMainControls},
                                                                            {"folder info", kFolderInfoControls},
                                                                            {"folders", kFoldersControls},
                                                                            {"journal", kJournalControls}};
    const std::pair<std::span<const Text>, std::span<const int>> columns[] = {
        {kFoldersColumns, kFoldersColumnWidths}, {kJournalColumns, kJournalColumnWidths}};
    for (const int dpi : {96, 120}) {
        const WindowFont font(dpi);
        ASSERT_GT(font.width(L"W"), 0);
        for (const Language language : {Language::Russian, Language::English}) {
            for (const auto& [window, controls] : layouts) {
                for (const ControlSpec& control : controls) {
                    const std::wstring caption = shown(control.caption.in(language));
                    EXPECT_LE(font.width(caption), MulDiv(captionRoom(control.kind, control.width), dpi, 96))
                        << window << " window at " << dpi << " DPI: " << testing::PrintToString(caption);
                }
            }
            for (const auto& [captions, widths] : columns) {
                ASSERT_EQ(captions.size(), widths.size());
                for (std::size_t i = 0; i < captions.size(); ++i) {
                    const std::wstring caption = captions[i].in(language);
                    EXPECT_LE(font.width(caption), MulDiv(widths[i] - 12, dpi, 96))
                        << "column at " << dpi << " DPI: " << testing::PrintToString(caption);
                }
            }
        }
    }
}
