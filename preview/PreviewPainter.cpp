#include "preview/PreviewPainter.h"

#include "resources/PreviewLayout.h"

#include <algorithm>

namespace {

int scaled(HDC dc, int pixels)
{
    return MulDiv(pixels, GetDeviceCaps(dc, LOGPIXELSX), 96);
}

int lineHeight(HDC dc)
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

void fill(HDC dc, const RECT& area, COLORREF color)
{
    const BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &area, brush.get());
}

// Tiles the part of the area the device context lets us draw in, with the tiles'
// corners at origin plus multiples of the picture's size. The bitmap holds whole copies
// of a small picture, so that a window takes a few hundred copies whatever its size.
void tile(HDC dc, const RECT& area, POINT origin, const DecodedPicture& picture)
{
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&clip, &clip, &area))
        return;
    const MemoryDC source(CreateCompatibleDC(dc));
    const SelectedObject bitmap(source.get(), picture.bitmap.get());
    const LONG cx = picture.tile.cx, cy = picture.tile.cy;
    const auto firstTile = [](LONG from, LONG start, LONG step) {
        const LONG offset = (from - start) % step;
        return from - (offset < 0 ? offset + step : offset);
    };
    // Only the part of each tile that shows is copied: a large picture is mostly outside.
    for (LONG y = firstTile(clip.top, origin.y, cy); y < clip.bottom; y += cy) {
        for (LONG x = firstTile(clip.left, origin.x, cx); x < clip.right; x += cx) {
            const RECT whole = {x, y, x + cx, y + cy};
            RECT part;
            if (IntersectRect(&part, &whole, &clip))
                BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, source.get(),
                       part.left - x, part.top - y, SRCCOPY);
        }
    }
}

void drawCaption(HDC dc, const std::wstring& name, RECT room, const PreviewScene& scene)
{
    constexpr UINT format = DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX;
    const int width = room.right - room.left;
    RECT text = room;
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, format | DT_CALCRECT);
    const int textWidth = std::min<int>(width, text.right - text.left);
    text.left = room.left + (width - textWidth) / 2;
    text.right = text.left + textWidth;
    text.bottom = std::min(text.bottom, room.bottom);
    if (scene.look.backColorOn == kTicked) {
        RECT box = text;
        InflateRect(&box, scaled(dc, kPreviewMetrics.boxPadding), 0);
        fill(dc, box, static_cast<COLORREF>(scene.look.backColor));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc,
                 scene.look.textColorOn == kTicked ? static_cast<COLORREF>(scene.look.textColor)
                                                   : GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, format);
}

} // namespace

FontHandle iconTitleFont()
{
    LOGFONTW font = {};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return FontHandle(CreateFontIndirectW(&font));
}

PreviewLayout previewLayout(HDC dc, const RECT& client, const PreviewScene& scene)
{
    const SelectedObject font(dc, scene.font);
    RECT notice = client, icons = client;
    notice.bottom =
        scene.notice.empty() ? client.top : client.top + lineHeight(dc) + 2 * scaled(dc, kPreviewMetrics.noticePadding);
    icons.top = notice.bottom;
    const SIZE cell = {GetSystemMetrics(SM_CXICONSPACING), GetSystemMetrics(SM_CYICONSPACING)};
    return {notice, icons, IconGrid(cell, icons.right - icons.left)};
}

void paintPreview(HDC dc, const RECT& client, const PreviewScene& scene, ShellIcons& icons)
{
    const PreviewLayout layout = previewLayout(dc, client, scene);
    const SelectedObject font(dc, scene.font);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (!scene.notice.empty()) {
        RECT line = layout.notice;
        InflateRect(&line, -scaled(dc, kPreviewMetrics.noticePadding), 0);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, scene.notice.c_str(), static_cast<int>(scene.notice.size()), &line,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    const RECT& area = layout.icons;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (scene.picture && scene.picture->bitmap)
        tile(dc, area, {area.left, area.top - scene.scrollTop}, *scene.picture);

    const SIZE cell = layout.grid.cell(), icon = ShellIcons::size();
    const int inset = scaled(dc, kPreviewMetrics.captionInset);
    const int captionTop = scaled(dc, kPreviewMetrics.iconTop) + icon.cy + scaled(dc, kPreviewMetrics.captionGap);
    const int captionHeight = kPreviewMetrics.captionLines * lineHeight(dc);
    const ItemRange shown = layout.grid.visible(scene.items.size(), scene.scrollTop, area.bottom - area.top);
    for (std::size_t index = shown.first; index < shown.end; ++index) {
        const POINT origin = layout.grid.origin(index);
        const int x = area.left + origin.x, y = area.top + origin.y - scene.scrollTop;
        icons.draw(dc, scene.look.folder, scene.items[index], x + (cell.cx - icon.cx) / 2,
                   y + scaled(dc, kPreviewMetrics.iconTop));
        drawCaption(dc, scene.items[index].name,
                    {x + inset, y + captionTop, x + cell.cx - inset, y + captionTop + captionHeight}, scene);
    }
    RestoreDC(dc, saved);
}
