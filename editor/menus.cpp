#include "menus.h"

#include "entry_points.h"
#include "notify.h"
#include "text_store.h"
#include "undo.h"

#include <cstddef>

namespace tivra {

namespace {

struct ItemDef {
  UINT id;              // 0: a separator
  const char* caption;  // UTF-8
};

const ItemDef kFileItems[] = {
    {TCMD_NEW, "&Ny"}, {TCMD_OPEN, "&Åben ..."},     {TCMD_REVERT, "Nul&stil"},
    {0, nullptr},      {TCMD_SAVE, "&Gem"},          {TCMD_SAVEAS, "Ge&m som ..."},
    {0, nullptr},      {TCMD_PRINT, "&Udskriv ..."}, {TCMD_PRINTSETUP, "Indstil printer ..."},
};
const ItemDef kEditItems[] = {
    {TCMD_UNDO, "&Fortryd"},
    {TCMD_REDO, "&Annuller fortryd"},
    {0, nullptr},
    {TCMD_CUT, "&Klip"},
    {TCMD_COPY, "K&opier"},
    {TCMD_PASTE, "Sæt &ind"},
    {TCMD_DELETE, "Slet"},
    {TCMD_DUPLICATE, "&Duplikér"},
    {0, nullptr},
    {TCMD_SELECTALL, "&Marker alt"},
};
const ItemDef kSearchItems[] = {
    {TCMD_FIND, "&Find ..."},
    {TCMD_FINDNEXT, "Find &næste"},
    {TCMD_REPLACE, "&Erstat..."},
    {TCMD_FINDBRACKET, "Find &klammer"},
    {0, nullptr},
    {TCMD_GOTOLINE, "&Gå til linie ..."},
    {TCMD_GOTOBOOKMARK, "Gå til &bogmærke"},
    {TCMD_SETBOOKMARK, "&Sæt bogmærke"},
};
const ItemDef kFunctionItems[] = {
    {TCMD_FONT, "&Skrifttyper..."},
    {0, nullptr},
    {TCMD_EMPTYUNDO, "Slet &fortrydbuffer"},
    {TCMD_CLEARALL, "Slet &alt (uden fortryd)"},
};

// Menus 33 to 36, captioned with the string of the same id.
struct PopupDef {
  int resourceId;
  const char* caption;
  const ItemDef* items;
  size_t count;
};

template <size_t N>
constexpr PopupDef popup(int id, const char* caption, const ItemDef (&items)[N]) {
  return PopupDef{id, caption, items, N};
}

const PopupDef kPopups[kPopupCount] = {
    popup(33, "&Filer", kFileItems),
    popup(34, "&Rediger", kEditItems),
    popup(35, "&Søg", kSearchItems),
    popup(36, "F&unktioner", kFunctionItems),
};

constexpr UINT kAllCommands[] = {
    TCMD_NEW,         TCMD_OPEN, TCMD_REVERT,    TCMD_SAVE,     TCMD_SAVEAS,      TCMD_PRINT,    TCMD_PRINTSETUP,
    TCMD_UNDO,        TCMD_REDO, TCMD_CUT,       TCMD_COPY,     TCMD_PASTE,       TCMD_DELETE,   TCMD_DUPLICATE,
    TCMD_SELECTALL,   TCMD_FIND, TCMD_FINDNEXT,  TCMD_REPLACE,  TCMD_FINDBRACKET, TCMD_GOTOLINE, TCMD_GOTOBOOKMARK,
    TCMD_SETBOOKMARK, TCMD_FONT, TCMD_EMPTYUNDO, TCMD_CLEARALL,
};

int positionOfId(HMENU menu, UINT id) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu, i) == id) return i;
  }
  return -1;
}

// Loads one popup and removes what the window's style leaves out.
HMENU loadPopup(const PopupDef& def, DWORD style) {
  HMENU popup = CreatePopupMenu();
  for (size_t i = 0; i < def.count; ++i) {
    const ItemDef& item = def.items[i];
    if (item.id == 0)
      AppendMenu(popup, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenu(popup, MF_STRING, item.id, cp1252(item.caption).c_str());
  }
  if (!(style & TS_NEWOPEN)) {
    DeleteMenu(popup, TCMD_NEW, MF_BYCOMMAND);
    DeleteMenu(popup, TCMD_OPEN, MF_BYCOMMAND);
  }
  if (!(style & TS_FONTCOMMAND)) {
    const int at = positionOfId(popup, TCMD_FONT);
    if (at >= 0) {
      DeleteMenu(popup, static_cast<UINT>(at), MF_BYPOSITION);
      if (at < GetMenuItemCount(popup) && GetMenuItemID(popup, at) == 0)
        DeleteMenu(popup, static_cast<UINT>(at), MF_BYPOSITION);
    }
  }
  return popup;
}

void appendPopups(HMENU menu, DWORD style, HMENU popups[kPopupCount]) {
  for (int i = 0; i < kPopupCount; ++i) {
    popups[i] = nullptr;
    if (i == kPopupFile && !(style & TS_FILECOMMANDS)) continue;
    popups[i] = loadPopup(kPopups[i], style);
    AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popups[i]), cp1252(kPopups[i].caption).c_str());
  }
}

}  // namespace

void createMenus(Instance& inst, bool childWindow) {
  MenuState& m = inst.menus;
  if (!(inst.style & TS_NOCONTEXTMENU)) {
    m.contextMenu = CreatePopupMenu();
    appendPopups(m.contextMenu, inst.style, m.popups);
  }
  if ((inst.style & TS_MENUBAR) && !childWindow) {
    m.menuBar = GetMenu(inst.window);
    if (!m.menuBar) {
      m.menuBar = CreateMenu();
      SetMenu(inst.window, m.menuBar);
      m.ownsMenuBar = true;
    }
    appendPopups(m.menuBar, inst.style, m.barPopups);
    DrawMenuBar(inst.window);
  }
}

void destroyMenus(Instance& inst) {
  MenuState& m = inst.menus;
  if (m.contextMenu) DestroyMenu(m.contextMenu);
  if (m.menuBar && m.ownsMenuBar) {
    SetMenu(inst.window, nullptr);
    DestroyMenu(m.menuBar);
  } else if (m.menuBar && IsMenu(m.menuBar)) {
    // The bar belongs to the window's owner: take only our popups out.
    for (HMENU popup : m.barPopups) {
      for (int i = GetMenuItemCount(m.menuBar) - 1; popup && i >= 0; --i) {
        if (GetSubMenu(m.menuBar, i) == popup) DeleteMenu(m.menuBar, static_cast<UINT>(i), MF_BYPOSITION);
      }
    }
  }
  m = MenuState{};
}

bool commandAvailable(Instance& inst, UINT id) {
  const bool fileCommands = inst.style & TS_FILECOMMANDS;
  const bool readOnly = inst.style & TS_READONLY;
  const TivraRange sel = orderedSelection(inst);
  const bool selection = sel.StartLine != sel.EndLine || sel.StartPos != sel.EndPos;
  switch (id) {
    case TCMD_NEW:
    case TCMD_OPEN:
    case TCMD_SAVEAS:
      return fileCommands;
    case TCMD_REVERT:
    case TCMD_SAVE:
      return inst.file.hasName;
    case TCMD_PRINT:
    case TCMD_SELECTALL:
    case TCMD_FIND:
    case TCMD_GOTOLINE:
    case TCMD_GOTOBOOKMARK:
    case TCMD_SETBOOKMARK:
    case TCMD_FONT:
      return true;
    case TCMD_PRINTSETUP:
      return !(inst.options & TivraOption::NoPrintDialog);
    case TCMD_UNDO:
      return canUndo(inst);
    case TCMD_REDO:
      return canRedo(inst);
    case TCMD_CUT:
    case TCMD_DELETE:
    case TCMD_DUPLICATE:
      return selection && !readOnly;
    case TCMD_COPY:
      return selection;
    case TCMD_PASTE:
      return !readOnly && IsClipboardFormatAvailable(CF_TEXT);
    case TCMD_FINDNEXT:
      return inst.search.findTextPresent;
    case TCMD_REPLACE:
    case TCMD_EMPTYUNDO:
    case TCMD_CLEARALL:
      return !readOnly;
    case TCMD_FINDBRACKET:
      return caretAtBracket(inst);
    default:
      return false;
  }
}

void applyCommandStates(Instance& inst, HMENU menu) {
  for (UINT id : kAllCommands)
    EnableMenuItem(menu, id, MF_BYCOMMAND | (commandAvailable(inst, id) ? MF_ENABLED : MF_GRAYED));
}

}  // namespace tivra

extern "C" TIVRA_EXPORT void DisableMenu(HMENU menu) {
  for (UINT id = TCMD_REVERT; id <= TCMD_PROGRAM_LAST; ++id) EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
}
