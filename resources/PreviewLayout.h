#pragma once

// The preview window's sizes and the metrics it draws its items with, in pixels at 96
// dots per inch; the grid's cells come from the system's icon spacing.
struct PreviewMetrics {
    int clientWidth, clientHeight; // the window's client area when it opens
    int noticePadding; // around the line that says why no picture shows
    int iconTop; // from the top of a cell to its icon
    int captionGap; // from the icon to its caption
    int captionInset; // between a cell's sides and its caption
    int captionLines; // the most lines a caption takes
    int boxPadding; // around a caption's text, inside its background box
    int lineScroll; // one press of an arrow key or one notch of the wheel
};

inline constexpr PreviewMetrics kPreviewMetrics = {640, 420, 6, 2, 3, 2, 2, 1, 40};
