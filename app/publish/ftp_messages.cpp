#include "ftp_messages.h"

namespace morvel::ftp {

FtpErrorMessage errorMessage(FtpError error, const QString& server, const QString& localFile) {
  using enum FtpError;
  switch (error) {
    case NoSocketLibrary:
      return {"Winsock fejl",
              "Winsock-interfacet kunne ikke initialiseres. Kontroller at Winsock er installeret på din computer."};
    case NetworkDown:
    case NetworkUnreachable:
    case AddressNotAvailable:
    case HostUnreachable:
      return {"Netværksfejl", "Netværket er nede."};
    case InvalidAddress:
    case LookupFailed:
      return {"Adressefejl",
              QString("Morvel kan ikke finde %1 . Tjek, at du er koblet op til din Internetudbyder og at forbindelsens "
                      "egenskaber er korrekte.\r\nDu må starte forfra.")
                  .arg(server),
              true};
    case Internal:
    case SocketFailure:
    case UnknownSocketError:
      return {"Ukendt fejl", "En ukendt fejl opstod"};
    case ConnectionAborted:
    case ConnectionReset:
      return {"Afbrydfejl", "Forbindelsen blev afbrudt af ftp-serveren."};
    case TimedOut:
      return {"Tid udløbet", QString("Morvel kunne ikke få forbindelse til %1.").arg(server)};
    case OutOfSockets:
      return {"Out of Sockets-fejl", "Luk en Winsock-applikation og prøv igen."};
    case ConnectionRefused:
      return {"Forbindelse afvist", "Serveren afviser at forbinde.Kontroller at forbindelsens egenskaber er korrekte."};
    case UnexpectedReply:
      return {"Uventet svar", "Uventet svar fra server. Tjek, om serveren anvender port 21."};
    case LocalFileOpen:
    case NoRemoteFile:
      return {{}, QString("Fejl under åbning af %1").arg(localFile)};
    case LocalFileWrite:
      return {{}, QString("Fejl under skrivning til %1").arg(localFile)};
    case LocalFileRead:
      return {{}, QString("Fejl under læsning af %1").arg(localFile)};
    case UnsendableName:
      return {"Ugyldigt navn",
              "Navnet indeholder et linjeskift eller et nul-tegn og kan derfor ikke sendes til ftp-serveren."};
    case GreetingRefused:
      return {"Server nede", "Ftp-serveren er nede."};
    case LoginRefused:
      return {"Adgang nægtet", "Adgang nægtet. Tjek dit brugernavn og kodeord."};
    case DataConnection:
      return {"Dataoverførselsfejl", "Der skete en fejl under dataoverførslen."};
    case TlsRefused:
      return {"Sikker forbindelse",
              QString("Ftp-serveren %1 kan ikke oprette den sikre forbindelse (FTPS), som forbindelsen kræver. "
                      "Forbindelsen er afbrudt.")
                  .arg(server)};
    case TlsFailed:
      return {"Sikker forbindelse", QString("Den sikre forbindelse (FTPS) til %1 kunne ikke oprettes.").arg(server)};
    case CertificateRefused:
      return {"Certifikat afvist",
              QString("Serverens certifikat blev ikke godkendt, og forbindelsen til %1 er afbrudt.").arg(server)};
    case CertificateChanged:
      return {"Certifikat ændret",
              QString("Certifikatet fra %1 er ikke det, du har valgt at stole på. En anden kan udgive sig for at "
                      "være serveren, så forbindelsen er afbrudt, før dit kodeord blev sendt.\r\nHar din udbyder "
                      "skiftet certifikat, så fjern det gemte certifikat fra forbindelsens egenskaber og tilslut igen.")
                  .arg(server)};
    case QuitRefused:
    case NoServerName:
      return {};
  }
  return {};
}

FtpQuestion plainFallbackQuestion(bool wholeConnection, const QString& server) {
  if (wholeConnection)
    return {"Usikker forbindelse",
            QString("Ftp-serveren %1 kan ikke oprette en sikker forbindelse (FTPS). Vil du fortsætte med almindelig "
                    "FTP, hvor dit kodeord og dine filer sendes ukrypteret?")
                .arg(server)};
  return {"Usikker overførsel",
          QString("Ftp-serveren %1 kan ikke sikre overførslen af filer. Dit kodeord er sendt sikkert. Vil du "
                  "fortsætte, så filerne sendes ukrypteret?")
              .arg(server)};
}

QString infoStatusText(FtpInfo info, const QString& addinfo) {
  switch (info) {
    case FtpInfo::Connected:
    case FtpInfo::Resolved:
      return QStringLiteral("Forbundet til %1").arg(addinfo);
    case FtpInfo::Disconnected:
      return QStringLiteral("Forbindelsen afbrudt");
    case FtpInfo::LookingUp:
      return QStringLiteral("Søger %1").arg(addinfo);
    case FtpInfo::LoggedIn:
      return QStringLiteral("Logget ind");
    default:
      return {};
  }
}

QString markedStatusText(const QStringList& fileNames) {
  const bool one = fileNames.size() == 1;
  return QStringLiteral("%1 %2 markeret til overførsel til ftp-server")
      .arg(one ? fileNames.first() : QString::number(fileNames.size()), one ? QString() : QStringLiteral(" fil(er)"));
}

}  // namespace morvel::ftp
