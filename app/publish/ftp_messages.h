// What the user is told about a failure of the FTP client: a message box
// with an error icon (title and text), or a line in the status panel.
#pragma once

#include "ftp_protocol.h"

#include <QString>

namespace morvel::ftp {

struct FtpErrorMessage {
  QString title;  // empty when the text goes to the status panel
  QString text;
  bool closesWindow = false;  // the publishing window starts afresh
};

// `server` is the server field, `localFile` the local file concerned.
// Codes the user is not told about give an empty text.
FtpErrorMessage errorMessage(FtpError error, const QString& server, const QString& localFile);

}  // namespace morvel::ftp
