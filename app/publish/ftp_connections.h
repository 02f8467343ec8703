// The publishing window's server connections ("forbindelser") in the
// settings store: section "Ftp" lists the titles as "Ftp1", "Ftp2", ... in
// list order, and each connection has a section named by its title.
#pragma once

#include "registry.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace morvel::ftp {

// A new connection is secured, insists on it and uses passive data
// connections; a stored connection without these values is plain FTP in
// active mode, as it always was.
struct FtpConnection {
  QString server;             // "Server"
  QString startFolder;        // "StartBib"
  QString user;               // "Bruger"
  QString password;           // "Kodeord", scrambled in the store
  bool savePassword = true;   // "GemKode": the stored password is used when connecting
  bool secure = true;         // "Sikker": "Sikker forbindelse (FTPS)"
  bool requireSecure = true;  // "KraevSikker": "Kræv" rather than "Hvis muligt"
  bool passive = true;        // "Passiv": passive data connections
  // "Fingeraftryk": the SHA-256 fingerprint of a certificate the user chose
  // to trust for this connection. Kept by trustFingerprint(), not by save().
  QString trustedFingerprint;
};

// A title names a section of the store, so it may not name one the program
// keeps its other settings in: deleting the connection would erase them.
enum class TitleCheck { Usable, Reserved, Empty };
TitleCheck checkConnectionTitle(const QString& title);
inline const QString kReservedTitleText = QStringLiteral("Denne titel er reserveret. Vælg en anden.");

class FtpConnections {
 public:
  explicit FtpConnections(RegIniFile& store) : store_(store) {}

  QStringList titles() const;
  FtpConnection load(const QString& title) const;
  // Writes the connection under its title (added at the end of the list when
  // new) and the store to disk; false when the title cannot be used or the
  // store could not be written. `tickCount` fills an empty password.
  bool save(const QString& title, const FtpConnection& connection, std::uint32_t tickCount);
  // Erases the connection and writes the store; false when it could not.
  bool remove(const QString& title);
  // Keeps (or, with an empty fingerprint, forgets) the certificate the user
  // chose to trust for the connection, and writes the store; false when the
  // connection is not stored or the store could not be written.
  bool trustFingerprint(const QString& title, const QString& fingerprint);
  // The connection whose title is the project's name, in any case; -1 if none.
  int indexForProject(const QString& project) const;

 private:
  void writeTitles(const QStringList& titles);

  RegIniFile& store_;
};

// What the window keeps in section "Start".
struct FtpWindowSettings {
  int width = 430;     // "FtpBredde"
  int view = 3;        // "FtpVisning": 1 small icons, 2 large icons, 3 list, 4 details
  int connection = 0;  // "Forbindelse": the index of the chosen connection
};
FtpWindowSettings readWindowSettings(const RegIniFile& store);
void writeWindowSettings(RegIniFile& store, const FtpWindowSettings& settings);

}  // namespace morvel::ftp
