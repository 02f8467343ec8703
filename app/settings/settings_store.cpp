#include "settings/settings_store.h"

namespace morvel::settings {

namespace {

constexpr COLORREF kColourMask = 0xFFFFFF;

}  // namespace

int read(const RegIniFile& store, const IntValue& value) {
  return store.ReadInteger(value.section, value.name, value.fallback);
}

bool read(const RegIniFile& store, const BoolValue& value) {
  return store.ReadBool(value.section, value.name, value.fallback);
}

QString read(const RegIniFile& store, const StringValue& value) {
  return QString::fromStdString(store.ReadString(value.section, value.name, value.fallback));
}

COLORREF fallbackOf(const ColourValue& value) {
  return value.systemColour >= 0 ? GetSysColor(value.systemColour) & kColourMask : value.fixed;
}

COLORREF read(const RegIniFile& store, const ColourValue& value) {
  const int fallback = static_cast<int>(fallbackOf(value));
  return static_cast<COLORREF>(store.ReadInteger(value.section, value.name, fallback)) & kColourMask;
}

void write(RegIniFile& store, const IntValue& value, int v) { store.WriteInteger(value.section, value.name, v); }

void write(RegIniFile& store, const BoolValue& value, bool v) { store.WriteBool(value.section, value.name, v); }

void write(RegIniFile& store, const StringValue& value, const QString& v) {
  store.WriteString(value.section, value.name, v.toStdString());
}

void write(RegIniFile& store, const ColourValue& value, COLORREF v) {
  store.WriteInteger(value.section, value.name, static_cast<int>(v & kColourMask));
}

std::string browserName(int i) { return "Browser" + std::to_string(i); }

std::string browserPath(int i) { return "BrowserSti" + std::to_string(i); }

std::string recentFile(int i) { return "Fil" + std::to_string(i); }

std::string userCode(int i, char part) { return "Kode" + std::to_string(i) + part; }

}  // namespace morvel::settings
