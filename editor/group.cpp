#include "group.h"

#include "entry_points.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tivra {

namespace {

constexpr LPARAM kIdentifyQuestion = 111111;
constexpr LRESULT kIdentifyAnswer = 111112;

// Messages about the group window itself, which it keeps; everything else
// goes to its current member.
bool aboutTheGroupItself(UINT msg, WPARAM wParam) {
  switch (msg) {
    case WM_NULL:
    case WM_CREATE:
    case WM_DESTROY:
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETREDRAW:
    case WM_PAINT:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_SETCURSOR:
    case WM_MOUSEACTIVATE:
    case WM_WINDOWPOSCHANGED:
    case WM_CONTEXTMENU:
    case WM_NCCREATE:
    case WM_NCDESTROY:
    case WM_TIMER:
    case WM_CAPTURECHANGED:
      return true;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return wParam != 1;  // the group's own caption
    default:
      return msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL;
  }
}

LRESULT addMember(GroupInstance& g, HWND editor) {
  if (!editor || editor == g.window || !IsWindow(editor)) return -1;
  if (SendMessage(editor, TM_IDENTIFY, 0, kIdentifyQuestion) != kIdentifyAnswer) return -1;
  Instance* member = instanceOf(editor);
  if (!member || member->group || member->search.findDialog) return -1;
  member->group = g.window;
  g.members.push_back(editor);
  SendMessage(editor, TM_SETINSERTMODE, g.overwriteMode ? 0 : 1, 0);
  if (!g.current || GetFocus() == editor) g.current = editor;
  return 0;
}

LRESULT allMembersMayClose(GroupInstance& g) {
  const std::vector<HWND> members = g.members;
  for (HWND member : members) {
    if (IsWindow(member) && !SendMessage(member, TM_QUERYCLOSE, 0, 0)) return 0;
  }
  return 1;
}

LRESULT onDestroy(HWND hwnd, GroupInstance* g) {
  g->destroying = true;
  destroyGroupFindDialog(*g);
  const std::vector<HWND> members = g->members;
  for (HWND member : members) {
    if (Instance* m = instanceOf(member)) m->group = nullptr;
    DestroyWindow(member);
  }
  SetWindowLongPtr(hwnd, 0, 0);
  delete g;
  return 0;
}

}  // namespace

GroupInstance* groupInstanceOf(HWND hwnd) {
  char name[32];
  const int n = GetClassName(hwnd, name, sizeof name);
  if (n <= 0 || std::strcmp(name, "TivraGroup32") != 0) return nullptr;
  return reinterpret_cast<GroupInstance*>(GetWindowLongPtr(hwnd, 0));
}

LRESULT CALLBACK groupWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    auto* g = new (std::nothrow) GroupInstance{};
    if (!g) return -1;
    g->window = hwnd;
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(g));
    return 0;
  }
  auto* g = reinterpret_cast<GroupInstance*>(GetWindowLongPtr(hwnd, 0));
  if (!g) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == findReplaceMessage() && msg != 0) return groupFindReplaceDialogMessage(*g, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      return onDestroy(hwnd, g);
    case TM_JOINGROUP:
      return addMember(*g, reinterpret_cast<HWND>(wParam));
    case WM_CLOSE:
      if (allMembersMayClose(*g)) DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return allMembersMayClose(*g);
    default:
      break;
  }
  if (aboutTheGroupItself(msg, wParam)) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (g->current) return SendMessage(g->current, msg, wParam, lParam);
  switch (msg) {
    case TM_SETINSERTMODE:
      g->overwriteMode = wParam == 0 ? true : wParam == 1 ? false : !g->overwriteMode;
      return 0;
    case TM_SETMENUSTATES:
      DisableMenu(reinterpret_cast<HMENU>(wParam));
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

void groupMemberLeaving(HWND group, HWND editor) {
  GroupInstance* g = groupInstanceOf(group);
  if (!g) return;
  std::erase(g->members, editor);
  if (g->current == editor) g->current = g->members.empty() ? nullptr : g->members.front();
}

void groupMemberFocused(HWND group, HWND editor) {
  GroupInstance* g = groupInstanceOf(group);
  if (g && std::find(g->members.begin(), g->members.end(), editor) != g->members.end()) g->current = editor;
}

void groupEnableMembers(HWND group, bool enable) {
  GroupInstance* g = groupInstanceOf(group);
  if (!g) return;
  const std::vector<HWND> members = g->members;
  for (HWND member : members) EnableWindow(member, enable ? TRUE : FALSE);
}

}  // namespace tivra
