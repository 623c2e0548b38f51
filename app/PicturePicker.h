#pragma once
#include "support/Components.h"

#include <windows.h>

// The picture picker of both windows, for a picture box: the box's text is the initial
// file, its folder the initial folder; the pictures' filter; modal to owner. On OK the
// box takes the chosen file's path, and the answer is true.
bool pickPicture(Components& components, HWND owner, HWND box);
