#include "ftp_connections.h"

#include "ftp_password.h"
#include "settings/settings_store.h"

#include <array>

namespace morvel::ftp {

namespace {

namespace keys = morvel::settings;

std::string utf8(const QString& text) { return text.toStdString(); }
QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string titleKey(int index) { return "Ftp" + std::to_string(index + 1); }

// Titles name sections, which the store tells apart without regard to case.
int indexOfTitle(const QStringList& list, const QString& title) {
  for (qsizetype i = 0; i < list.size(); ++i)
    if (list[i].compare(title, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace

TitleCheck checkConnectionTitle(const QString& title) {
  if (title.trimmed().isEmpty()) return TitleCheck::Empty;
  // "Ftp", "Filer" and "Koder", and every other section the program keeps.
  static constexpr std::array<std::string_view, 11> kSections = {
      keys::kFtp,   keys::kFiler,  keys::kKoder, keys::kStart, keys::kIndstillinger, keys::kEditor,
      keys::kLinie, keys::kSkript, keys::kMeta,  keys::kBokse, keys::kUserColors};
  for (std::string_view section : kSections)
    if (title.trimmed().compare(text(std::string(section)), Qt::CaseInsensitive) == 0) return TitleCheck::Reserved;
  return TitleCheck::Usable;
}

QStringList FtpConnections::titles() const {
  QStringList list;
  for (int i = 0; store_.ValueExists(keys::kFtp, titleKey(i)); ++i) {
    const QString title = text(store_.ReadString(keys::kFtp, titleKey(i), ""));
    if (checkConnectionTitle(title) == TitleCheck::Usable) list << title;
  }
  return list;
}

FtpConnection FtpConnections::load(const QString& title) const {
  const std::string section = utf8(title);
  FtpConnection c;
  c.server = text(store_.ReadString(section, "Server", ""));
  c.startFolder = text(store_.ReadString(section, "StartBib", ""));
  c.user = text(store_.ReadString(section, "Bruger", ""));
  c.password = text(unscramblePassword(store_.ReadString(section, "Kodeord", "")));
  c.savePassword = store_.ReadBool(section, "GemKode", true);
  c.secure = store_.ReadBool(section, "Sikker", false);
  c.requireSecure = store_.ReadBool(section, "KraevSikker", true);
  c.passive = store_.ReadBool(section, "Passiv", false);
  c.trustedFingerprint = text(store_.ReadString(section, "Fingeraftryk", ""));
  return c;
}

bool FtpConnections::save(const QString& title, const FtpConnection& connection, std::uint32_t tickCount) {
  const QString name = title.trimmed();
  if (checkConnectionTitle(name) != TitleCheck::Usable) return false;
  QStringList list = titles();
  if (indexOfTitle(list, name) < 0) list << name;
  const std::string section = utf8(name);
  // A certificate trusted for one server is not trusted for another.
  if (store_.ReadString(section, "Server", "") != utf8(connection.server)) store_.DeleteValue(section, "Fingeraftryk");
  store_.WriteString(section, "Server", utf8(connection.server));
  store_.WriteString(section, "StartBib", utf8(connection.startFolder));
  store_.WriteString(section, "Bruger", utf8(connection.user));
  store_.WriteString(section, "Kodeord", scramblePassword(utf8(connection.password), tickCount));
  store_.WriteBool(section, "GemKode", connection.savePassword);
  store_.WriteBool(section, "Sikker", connection.secure);
  store_.WriteBool(section, "KraevSikker", connection.requireSecure);
  store_.WriteBool(section, "Passiv", connection.passive);
  writeTitles(list);
  return store_.UpdateFile();
}

bool FtpConnections::remove(const QString& title) {
  QStringList list = titles();
  const int at = indexOfTitle(list, title);
  if (at < 0) return true;
  list.removeAt(at);
  store_.EraseSection(utf8(title));
  writeTitles(list);
  return store_.UpdateFile();
}

bool FtpConnections::trustFingerprint(const QString& title, const QString& fingerprint) {
  if (indexOfTitle(titles(), title) < 0) return false;
  const std::string section = utf8(title.trimmed());
  if (fingerprint.isEmpty())
    store_.DeleteValue(section, "Fingeraftryk");
  else
    store_.WriteString(section, "Fingeraftryk", utf8(fingerprint));
  return store_.UpdateFile();
}

int FtpConnections::indexForProject(const QString& project) const { return indexOfTitle(titles(), project); }

// The list is erased and written whole, so that no number is left over.
void FtpConnections::writeTitles(const QStringList& list) {
  store_.EraseSection(keys::kFtp);
  for (qsizetype i = 0; i < list.size(); ++i)
    store_.WriteString(keys::kFtp, titleKey(static_cast<int>(i)), utf8(list[i]));
}

FtpWindowSettings readWindowSettings(const RegIniFile& store) {
  const auto read = [&store](const keys::StoredInt& v) { return store.ReadInteger(v.section, v.name, v.fallback); };
  return {read(keys::start::FtpBredde), read(keys::start::FtpVisning), read(keys::start::Forbindelse)};
}

void writeWindowSettings(RegIniFile& store, const FtpWindowSettings& settings) {
  const auto write = [&store](const keys::StoredInt& v, int value) { store.WriteInteger(v.section, v.name, value); };
  write(keys::start::FtpBredde, settings.width);
  write(keys::start::FtpVisning, settings.view);
  write(keys::start::Forbindelse, settings.connection);
}

}  // namespace morvel::ftp
