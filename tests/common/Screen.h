#pragma once

// The window's layout is given in pixels at 96 DPI and scales with the screen.
int screenDpi();
int scaled(int pixels);
