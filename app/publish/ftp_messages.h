// What the user is told about a failure of the FTP client: a message box
// with an error icon (title and text), or a line in the status panel.
#pragma once

#include "ftp_protocol.h"

#include <QString>
#include <QStringList>

namespace morvel::ftp {

struct FtpErrorMessage {
  QString title;  // empty when the text goes to the status panel
  QString text;
  bool closesWindow = false;  // the publishing window starts afresh
};

// `server` is the server field, `localFile` the local file concerned.
// Codes the user is not told about give an empty text.
FtpErrorMessage errorMessage(FtpError error, const QString& server, const QString& localFile);

// A question put to the user with Yes and No.
struct FtpQuestion {
  QString title;
  QString text;
};

// Whether to go on without TLS: with the whole connection (nothing of the
// login sent yet), or with the data connections only.
FtpQuestion plainFallbackQuestion(bool wholeConnection, const QString& server);

// The status panel's text for the client's information `info` with its
// `addinfo`; empty for the informations that leave the panel as it is.
QString infoStatusText(FtpInfo info, const QString& addinfo);

// What the main window says when it marks files for the publishing window.
QString markedStatusText(const QStringList& fileNames);

}  // namespace morvel::ftp
