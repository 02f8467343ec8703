#include "component/tivra_groups.h"

#include "tivra.h"

#include <algorithm>
#include <vector>

namespace {

struct Group {
  int number;
  HWND window;
  int components;  // components that joined it and still exist
};

std::vector<Group>& groups() {
  static std::vector<Group> list;
  return list;
}

void dropDestroyedGroups() {
  std::erase_if(groups(), [](const Group& g) { return !IsWindow(g.window); });
}

Group* find(int number) {
  auto it = std::find_if(groups().begin(), groups().end(), [number](const Group& g) { return g.number == number; });
  return it == groups().end() ? nullptr : &*it;
}

}  // namespace

HWND joinTivraGroup(int number, HWND editor) {
  if (number <= 0 || !editor) return nullptr;
  dropDestroyedGroups();
  Group* group = find(number);
  if (!group) {
    // A message window: no widget of the program owns it, so no component
    // takes it down with its own window.
    HWND window = CreateWindowEx(0, "TivraGroup32", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    groups().push_back(Group{number, window, 0});
    group = &groups().back();
  }
  SendMessage(group->window, TM_JOINGROUP, reinterpret_cast<WPARAM>(editor), 0);
  ++group->components;
  return group->window;
}

void leaveTivraGroup(HWND window) {
  auto it = std::find_if(groups().begin(), groups().end(), [window](const Group& g) { return g.window == window; });
  if (it == groups().end()) return;
  if (--it->components > 0) return;
  groups().erase(it);
  DestroyWindow(window);
}

HWND tivraGroupWindow(int number) {
  dropDestroyedGroups();
  const Group* group = find(number);
  return group ? group->window : nullptr;
}
