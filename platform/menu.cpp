// Menus as data. A tracked popup menu becomes a QMenu for the moment it is
// shown (through the interaction seam, so tests choose the item).
#include "interaction.h"
#include "internal.h"
#include "qtext.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

#include <algorithm>
#include <cstring>
#include <set>

using namespace platform::detail;

namespace {

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  std::string text;
  HMENU popup = nullptr;
};

struct Menu {
  bool isBar = false;
  std::vector<MenuItem> items;
};

std::set<Menu*>& menus() {
  static std::set<Menu*>& live = *new std::set<Menu*>;
  return live;
}

Menu* menuOf(HMENU h) {
  auto* m = reinterpret_cast<Menu*>(h);
  return menus().count(m) ? m : nullptr;
}

HMENU handleOf(Menu* m) { return reinterpret_cast<HMENU>(m); }

// The item at position or command id; by command the search descends into
// popups, as Windows does. Returns the menu that holds it and its index.
bool locate(Menu* m, UINT position, UINT flags, Menu** owner, size_t* index) {
  if (!m) return false;
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size()) return false;
    *owner = m;
    *index = position;
    return true;
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (!(it.flags & MF_POPUP) && !(it.flags & MF_SEPARATOR) && it.id == position) {
      *owner = m;
      *index = i;
      return true;
    }
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    if ((m->items[i].flags & MF_POPUP) && locate(menuOf(m->items[i].popup), position, flags, owner, index)) return true;
  }
  // A popup may also be addressed by its handle as a command.
  for (size_t i = 0; i < m->items.size(); ++i) {
    if ((m->items[i].flags & MF_POPUP) && reinterpret_cast<UINT_PTR>(m->items[i].popup) == position) {
      *owner = m;
      *index = i;
      return true;
    }
  }
  return false;
}

MenuItem makeItem(UINT flags, UINT_PTR idNewItem, LPCSTR text) {
  MenuItem item;
  item.flags = flags & ~MF_BYPOSITION;
  if (flags & MF_POPUP)
    item.popup = reinterpret_cast<HMENU>(idNewItem);
  else
    item.id = idNewItem;
  if (!(flags & MF_SEPARATOR) && text) item.text = text;
  return item;
}

void destroyMenuTree(Menu* m) {
  if (!m) return;
  for (MenuItem& it : m->items) {
    if (it.flags & MF_POPUP) destroyMenuTree(menuOf(it.popup));
  }
  menus().erase(m);
  delete m;
}

void initPopups(HMENU menu, HWND owner) {
  Menu* m = menuOf(menu);
  if (!m) return;
  SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  m = menuOf(menu);
  if (!m) return;
  std::vector<HMENU> subs;
  for (MenuItem& it : m->items) {
    if (it.flags & MF_POPUP) subs.push_back(it.popup);
  }
  for (HMENU sub : subs) initPopups(sub, owner);
}

// Whether id names an item of the menu tree that can be chosen.
bool choosable(Menu* m, UINT_PTR id) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(m, static_cast<UINT>(id), MF_BYCOMMAND, &owner, &index)) return false;
  const MenuItem& it = owner->items[index];
  return !(it.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP));
}

}  // namespace

namespace platform::detail {

QMenu* buildQMenu(HMENU menu, HWND owner, QWidget* parent) {
  Menu* m = menuOf(menu);
  if (!m) return nullptr;
  auto* q = new QMenu(parent);
  for (const MenuItem& it : m->items) {
    if (it.flags & MF_SEPARATOR) {
      q->addSeparator();
      continue;
    }
    QString text = platform::fromCp1252(it.text);
    if (it.flags & MF_POPUP) {
      QMenu* sub = buildQMenu(it.popup, owner, q);
      if (!sub) continue;
      sub->setTitle(text);
      sub->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
      q->addMenu(sub);
      continue;
    }
    // A TAB separates the caption from its shortcut text.
    QAction* a = q->addAction(text.section(QLatin1Char('\t'), 0, 0));
    if (text.contains(QLatin1Char('\t'))) a->setShortcut(QKeySequence(text.section(QLatin1Char('\t'), 1)));
    a->setData(QVariant::fromValue<qulonglong>(it.id));
    a->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
    a->setCheckable(it.flags & MF_CHECKED);
    a->setChecked(it.flags & MF_CHECKED);
  }
  return q;
}

}  // namespace platform::detail

HMENU CreateMenu() {
  auto* m = new Menu;
  m->isBar = true;
  menus().insert(m);
  return handleOf(m);
}

HMENU CreatePopupMenu() {
  auto* m = new Menu;
  menus().insert(m);
  return handleOf(m);
}

BOOL DestroyMenu(HMENU menu) {
  Menu* m = menuOf(menu);
  if (!m) return FALSE;
  destroyMenuTree(m);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return menuOf(menu) != nullptr; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
  Menu* m = menuOf(menu);
  if (!m) return FALSE;
  m->items.push_back(makeItem(flags, idNewItem, text));
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
  Menu* m = menuOf(menu);
  if (!m) return FALSE;
  MenuItem item = makeItem(flags, idNewItem, text);
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size())
      m->items.push_back(item);
    else
      m->items.insert(m->items.begin() + position, item);
    return TRUE;
  }
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(m, position, MF_BYCOMMAND, &owner, &index)) {
    m->items.push_back(item);  // Windows appends when the command is missing
    return TRUE;
  }
  owner->items.insert(owner->items.begin() + static_cast<long>(index), item);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), position, flags, &owner, &index)) return FALSE;
  owner->items.erase(owner->items.begin() + static_cast<long>(index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), position, flags, &owner, &index)) return FALSE;
  MenuItem item = owner->items[index];
  owner->items.erase(owner->items.begin() + static_cast<long>(index));
  if (item.flags & MF_POPUP) destroyMenuTree(menuOf(item.popup));
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), id, check & MF_BYPOSITION, &owner, &index)) return static_cast<DWORD>(-1);
  MenuItem& it = owner->items[index];
  DWORD old = it.flags & MF_CHECKED;
  it.flags = (it.flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), id, enable & MF_BYPOSITION, &owner, &index)) return -1;
  MenuItem& it = owner->items[index];
  BOOL old = static_cast<BOOL>(it.flags & (MF_GRAYED | MF_DISABLED));
  it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), id, flags, &owner, &index)) return static_cast<UINT>(-1);
  const MenuItem& it = owner->items[index];
  if (it.flags & MF_POPUP) {
    Menu* sub = menuOf(it.popup);
    UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
    return (count << 8) | (it.flags & 0xFF);
  }
  return it.flags & 0xFFFF;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = menuOf(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  Menu* m = menuOf(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return static_cast<UINT>(-1);
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  if (it.flags & MF_POPUP) return static_cast<UINT>(-1);
  if (it.flags & MF_SEPARATOR) return 0;
  return static_cast<UINT>(it.id);
}

HMENU GetSubMenu(HMENU menu, int pos) {
  Menu* m = menuOf(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  return (it.flags & MF_POPUP) ? it.popup : nullptr;
}

int GetMenuString(HMENU menu, UINT idItem, LPSTR buffer, int maxCount, UINT flags) {
  Menu* owner = nullptr;
  size_t index = 0;
  if (!locate(menuOf(menu), idItem, flags, &owner, &index)) return 0;
  const std::string& text = owner->items[index].text;
  if (!buffer || maxCount <= 0) return static_cast<int>(text.size());
  return static_cast<int>(copyToBuffer(text, buffer, maxCount));
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* w = find(hwnd);
  if (!w || (w->style & WS_CHILD)) return FALSE;
  if (menu && !menuOf(menu)) return FALSE;
  w->menu = menu;
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = find(hwnd);
  return w && !(w->style & WS_CHILD) ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) { return IsWindow(hwnd); }

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  Menu* m = menuOf(menu);
  if (!m || !IsWindow(hwnd)) return FALSE;
  // The owner sets the items' states before the menu shows, as Windows
  // lets it with WM_INITMENUPOPUP.
  if (!(flags & TPM_NONOTIFY)) initPopups(menu, hwnd);
  if (!menuOf(menu) || !IsWindow(hwnd)) return FALSE;
  platform::Request request(platform::RequestKind::PopupMenu);
  request.owner = hwnd;
  request.menu = menu;
  request.point = POINT{x, y};
  int chosen = platform::ask(request);
  if (chosen <= 0 || !menuOf(menu) || !choosable(menuOf(menu), static_cast<UINT_PTR>(chosen))) return 0;
  if (flags & TPM_RETURNCMD) return chosen;
  PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}

namespace platform {

int showPopupMenuDefault(const Request& request) {
  if (!request.menu && request.data) {
    auto* menu = static_cast<QMenu*>(request.data);
    QAction* a = menu->exec(QPoint(request.point.x, request.point.y));
    return a ? static_cast<int>(menu->actions().indexOf(a)) + 1 : 0;
  }
  QMenu* q = detail::buildQMenu(request.menu, request.owner, hostWidget(request.owner));
  if (!q) return 0;
  QAction* a = q->exec(QPoint(request.point.x, request.point.y));
  int chosen = a ? static_cast<int>(a->data().toULongLong()) : 0;
  delete q;
  return chosen;
}

}  // namespace platform
