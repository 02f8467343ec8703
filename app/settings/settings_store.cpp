#include "settings/settings_store.h"

namespace morvel::settings {

namespace {

constexpr COLORREF kColourMask = 0xFFFFFF;

}  // namespace

int read(const RegIniFile& store, const StoredInt& value) {
  return store.ReadInteger(value.section, value.name, value.fallback);
}

bool read(const RegIniFile& store, const StoredBool& value) {
  return store.ReadBool(value.section, value.name, value.fallback);
}

QString read(const RegIniFile& store, const StoredString& value) {
  return QString::fromStdString(store.ReadString(value.section, value.name, value.fallback));
}

COLORREF fallbackOf(const StoredColour& value) {
  return value.systemColour >= 0 ? GetSysColor(value.systemColour) & kColourMask : value.fixed;
}

COLORREF read(const RegIniFile& store, const StoredColour& value) {
  const int fallback = static_cast<int>(fallbackOf(value));
  return static_cast<COLORREF>(store.ReadInteger(value.section, value.name, fallback)) & kColourMask;
}

void write(RegIniFile& store, const StoredInt& value, int v) { store.WriteInteger(value.section, value.name, v); }

void write(RegIniFile& store, const StoredBool& value, bool v) { store.WriteBool(value.section, value.name, v); }

void write(RegIniFile& store, const StoredString& value, const QString& v) {
  store.WriteString(value.section, value.name, v.toStdString());
}

void write(RegIniFile& store, const StoredColour& value, COLORREF v) {
  store.WriteInteger(value.section, value.name, static_cast<int>(v & kColourMask));
}

std::string browserName(int i) { return "Browser" + std::to_string(i); }

std::string browserPath(int i) { return "BrowserSti" + std::to_string(i); }

std::string recentFile(int i) { return "Fil" + std::to_string(i); }

std::string userCode(int i, char part) { return "Kode" + std::to_string(i) + part; }

}  // namespace morvel::settings
