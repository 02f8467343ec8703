#include "dialogs/user_codes.h"

#include "registry.h"
#include "settings/settings_store.h"

namespace morvel {

namespace st = settings;

namespace {

UserCode readUserCode(const RegIniFile& store, int n) {
  return UserCode{store.ReadString(st::kKoder, st::userCode(n, 'a'), ""),
                  store.ReadString(st::kKoder, st::userCode(n, 'b'), ""),
                  store.ReadString(st::kKoder, st::userCode(n, 'c'), "")};
}

// Rewrites the numbers from `first` on with the list's codes and empties the
// numbers after them that the list held before.
void rewriteFrom(RegIniFile& store, const std::vector<UserCode>& codes, int first, int previousCount) {
  const int count = static_cast<int>(codes.size());
  for (int n = first; n <= count; ++n) writeUserCode(store, n, codes[static_cast<std::size_t>(n - 1)]);
  for (int n = count + 1; n <= previousCount; ++n) {
    for (const char part : {'a', 'b', 'c'}) store.DeleteValue(st::kKoder, st::userCode(n, part));
  }
}

}  // namespace

std::vector<UserCode> readUserCodes(const RegIniFile& store) {
  std::vector<UserCode> codes;
  for (int n = 1;; ++n) {
    UserCode code = readUserCode(store, n);
    if (code.description.empty()) return codes;
    codes.push_back(std::move(code));
  }
}

void writeUserCode(RegIniFile& store, int n, const UserCode& code) {
  store.WriteString(st::kKoder, st::userCode(n, 'a'), code.description);
  store.WriteString(st::kKoder, st::userCode(n, 'b'), code.start);
  store.WriteString(st::kKoder, st::userCode(n, 'c'), code.end);
}

int firstFreeUserCode(const RegIniFile& store) { return static_cast<int>(readUserCodes(store).size()) + 1; }

void deleteUserCode(RegIniFile& store, int n) {
  const std::vector<UserCode> codes = readUserCodes(store);
  if (n < 1 || n > static_cast<int>(codes.size())) return;
  rewriteFrom(store, withoutUserCode(codes, n), n, static_cast<int>(codes.size()));
}

void swapUserCodes(RegIniFile& store, int n) {
  const std::vector<UserCode> codes = readUserCodes(store);
  if (n < 1 || n >= static_cast<int>(codes.size())) return;
  const std::vector<UserCode> swapped = withUserCodesSwapped(codes, n);
  writeUserCode(store, n, swapped[static_cast<std::size_t>(n - 1)]);
  writeUserCode(store, n + 1, swapped[static_cast<std::size_t>(n)]);
}

}  // namespace morvel
