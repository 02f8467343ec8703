// A program that uses the installed editor control the way a user of the
// library would: built with g++ and pkg-config alone, run offscreen. It
// registers the editor's classes and then talks to the editor through
// messages only.
#include "tivra.h"
#include "win32.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, "Tivra32", &wc)) {
    std::puts("Tivra32 was registered before the program asked for it");
    return 1;
  }
  if (!TivraRegister() || !GetClassInfo(nullptr, "Tivra32", &wc) || !GetClassInfo(nullptr, "TivraGroup32", &wc)) {
    std::puts("the editor's classes could not be registered");
    return 1;
  }
  HWND editor =
      CreateWindowEx(0, "Tivra32", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  if (!editor) {
    std::puts("no Tivra32 window");
    return 1;
  }
  SendMessage(editor, WM_SETTEXT, 1, reinterpret_cast<LPARAM>("one\ntwo"));
  TivraRange all{0, 3, 1, 2};
  SendMessage(editor, EM_SETSEL, 0, reinterpret_cast<LPARAM>(&all));
  SendMessage(editor, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("three"));
  char text[64] = {};
  SendMessage(editor, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  const LRESULT lines = SendMessage(editor, EM_GETLINECOUNT, 0, 0);
  DestroyWindow(editor);
  if (std::strcmp(text, "three") != 0 || lines != 1) {
    std::printf("unexpected: \"%s\", %ld lines\n", text, static_cast<long>(lines));
    return 2;
  }
  std::puts("ok");
  return 0;
}
