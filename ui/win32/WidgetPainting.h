#pragma once
// What every drawn widget paints alike: all of itself on WM_PAINT and
// WM_PRINTCLIENT, over white or over its parent's background, with lengths
// of the design at the window's DPI.

#include <windows.h>

#include "ui/win32/Widgets.h"

namespace cc {

RECT ClientRect(HWND hwnd);

// A length of the design at the window's DPI.
int Scaled(WidgetHost& host, int designPixels);

void FillWhite(HDC dc, const RECT& r);

// Asks the parent to draw its own background into our DC, shifted so that it
// lines up: what a transparent label shows through.
void PaintParentBackground(HWND hwnd, HDC dc);

// What every drawn widget answers alike: it paints all of itself with `paint`
// (also into a parent's DC for a transparent child), repaints when its text or
// state changes, and may show a pointer of its own. False for other messages.
bool HandleDrawing(void (*paint)(HWND, HDC), HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace cc
