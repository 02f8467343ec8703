// The Qt side of the stand-in: how Qt code shows windows, owns windows whose
// procedure it supplies, and simulates input state in tests.
#pragma once

#include "win32.h"

#include <QWidget>

#include <functional>

namespace platform {

// A window procedure supplied by Qt code (a lambda may capture its object).
using WindowHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// The widget that shows a window (null for message windows). A child
// window's widget is a child of its parent's widget; a top-level window's
// widget is a window of its own. Qt code may put it in a layout.
QWidget* hostWidget(HWND hwnd);

// The window shown by a widget (our host widgets and attached widgets), or
// null.
HWND windowOfWidget(const QWidget* widget);

// Gives a widget that Qt code owns a window of its own: messages sent to the
// window go to the handler, child windows created with it as parent appear
// inside the widget, and GetClientRect reports the widget's size. The
// widget's own events stay with the widget. DestroyWindow (or the widget's
// destruction) ends the window; destroying the window leaves the widget.
HWND attachWindow(QWidget* widget, WindowHandler handler);

// A hidden window without a widget, for receiving messages and timers.
HWND createMessageWindow(WindowHandler handler);

// Input state as GetKeyState reports it. Real key and mouse events keep it
// current; tests that send WM_KEYDOWN directly set modifiers with this.
void setKeyDown(int virtualKey, bool down);

// The Windows virtual-key code of a Qt key (0 when there is none).
int virtualKeyFromQt(int qtKey);

}  // namespace platform
