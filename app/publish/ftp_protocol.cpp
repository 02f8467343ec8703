#include "ftp_protocol.h"

#include <algorithm>
#include <cctype>

namespace morvel::ftp {

bool isFatal(FtpError error) {
  switch (error) {
    case FtpError::NoSocketLibrary:
    case FtpError::NoServerName:
    case FtpError::LocalFileOpen:
    case FtpError::LocalFileWrite:
    case FtpError::LocalFileRead:
    case FtpError::NoRemoteFile:
    case FtpError::UnsendableName:
    case FtpError::LoginRefused:
      return false;
    default:
      return true;
  }
}

FtpError ftpErrorFromSocketError(int e) {
  switch (e) {
    case 10013:
      return FtpError::InvalidAddress;
    case 10024:
      return FtpError::OutOfSockets;
    case 10049:
      return FtpError::AddressNotAvailable;
    case 10050:
      return FtpError::NetworkDown;
    case 10051:
      return FtpError::NetworkUnreachable;
    case 10052:
    case 10055:
      return FtpError::SocketFailure;
    case 10053:
      return FtpError::ConnectionAborted;
    case 10054:
      return FtpError::ConnectionReset;
    case 10060:
      return FtpError::TimedOut;
    case 10061:
      return FtpError::ConnectionRefused;
    case 10065:
      return FtpError::HostUnreachable;
    case 10093:
      return FtpError::NoSocketLibrary;
    case 10004:
    case 10014:
    case 10022:
    case 10036:
    case 10038:
    case 10040:
    case 10045:
    case 10047:
    case 10048:
    case 10056:
    case 10057:
    case 10058:
      return FtpError::Internal;
    default:
      if (e >= 11001 && e <= 11004) return FtpError::LookupFailed;
      return FtpError::UnknownSocketError;
  }
}

TFTPServerType serverTypeFromSyst(std::string_view reply) {
  using enum TFTPServerType;
  if (replyClass(reply) == '5' || reply.size() <= 4) return ftpstDefault;
  std::string text(reply.substr(4));
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  const auto has = [&text](std::string_view word) { return text.find(word) != std::string::npos; };
  TFTPServerType type = ftpstDefault;
  // Later rules win over earlier ones.
  if (has("UNIX")) type = ftpstUNIX;
  if (has("CLIX")) type = ftpstClix;
  if (has("ULTRIX")) type = ftpstULTRIX;
  if (has("MVS")) type = ftpstMVS;
  if (has("QVT")) type = ftpstQVT;
  if (has("NCSA")) type = ftpstNCSA;
  if (has("CHAMELEON")) type = ftpstChameleon;
  if (has("VMS"))
    type = has("MULTINET") ? ftpstVmsMultinet : ftpstVmsUcx;
  else if (has("VM"))
    type = has("VPS") ? ftpstVMVPS : ftpstVM;
  return type;
}

void LineSplitter::append(std::string_view data) {
  if (overlong_) return;
  if (start_ > 0) {
    // Lines already taken go before more is kept.
    pending_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
  }
  pending_.append(data);
}

bool LineSplitter::next(std::string& line) {
  if (overlong_) return false;
  const size_t end = pending_.find('\n', scanned_);
  if (end == std::string::npos) {
    scanned_ = pending_.size();
    // A CR at the end may still be waiting for its LF.
    size_t length = scanned_ - start_;
    if (length > 0 && pending_.back() == '\r') --length;
    if (length > maxLine_) giveUp();
    return false;
  }
  size_t lineEnd = end;
  if (lineEnd > start_ && pending_[lineEnd - 1] == '\r') --lineEnd;
  if (lineEnd - start_ > maxLine_) {
    giveUp();
    return false;
  }
  line.assign(pending_, start_, lineEnd - start_);
  start_ = end + 1;
  scanned_ = start_;
  return true;
}

void LineSplitter::giveUp() {
  overlong_ = true;
  std::string().swap(pending_);
  start_ = scanned_ = 0;
}

std::string LineSplitter::takeRest() {
  std::string rest = overlong_ ? std::string() : pending_.substr(start_);
  clear();
  return rest;
}

void LineSplitter::clear() {
  std::string().swap(pending_);
  start_ = scanned_ = 0;
  overlong_ = false;
}

bool ReplyReader::next(std::string& reply) {
  std::string line;
  while (lines_.next(line)) {
    if (!multiLineCode_.empty()) {
      if (line.size() >= 4 && line.compare(0, 3, multiLineCode_) == 0 && line[3] == ' ') {
        multiLineCode_.clear();
        reply = std::move(line);
        return true;
      }
      continue;
    }
    if (line.size() >= 4 && line[3] == '-') {
      multiLineCode_ = line.substr(0, 3);
      continue;
    }
    reply = std::move(line);
    return true;
  }
  return false;
}

void ReplyReader::reset() {
  lines_.clear();
  multiLineCode_.clear();
}

bool isSendable(std::string_view argument) {
  return argument.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string portArgument(uint32_t address, uint16_t port) {
  return std::to_string(address >> 24) + ',' + std::to_string((address >> 16) & 0xff) + ',' +
         std::to_string((address >> 8) & 0xff) + ',' + std::to_string(address & 0xff) + ',' +
         std::to_string(port >> 8) + ',' + std::to_string(port & 0xff);
}

namespace {

// The decimal number at `at`, at most `limit`; moves past it.
std::optional<unsigned> number(std::string_view text, size_t& at, unsigned limit) {
  unsigned value = 0;
  const size_t start = at;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 5)
    value = value * 10 + static_cast<unsigned>(text[at++] - '0');
  if (at == start || value > limit) return std::nullopt;
  return value;
}

}  // namespace

std::optional<uint16_t> extendedPassivePort(std::string_view reply) {
  const size_t open = reply.find('(');
  if (open == std::string_view::npos || reply.size() < open + 6) return std::nullopt;
  const char d = reply[open + 1];
  if (std::isdigit(static_cast<unsigned char>(d)) || reply[open + 2] != d || reply[open + 3] != d) return std::nullopt;
  size_t at = open + 4;
  const auto port = number(reply, at, 65535);
  if (!port || *port == 0 || at >= reply.size() || reply[at] != d) return std::nullopt;
  return static_cast<uint16_t>(*port);
}

std::optional<uint16_t> passivePort(std::string_view reply) {
  if (reply.size() <= 4) return std::nullopt;
  size_t at = reply.find_first_of("0123456789", 4);
  if (at == std::string_view::npos) return std::nullopt;
  unsigned parts[6];
  for (int i = 0; i < 6; ++i) {
    if (i > 0 && (at >= reply.size() || reply[at++] != ',')) return std::nullopt;
    const auto part = number(reply, at, 255);
    if (!part) return std::nullopt;
    parts[i] = *part;
  }
  const unsigned port = parts[4] * 256 + parts[5];
  if (port == 0) return std::nullopt;
  return static_cast<uint16_t>(port);
}

std::string announcedSize(std::string_view reply) {
  const size_t open = reply.find('(');
  if (open == std::string_view::npos) return {};
  const std::string_view rest = reply.substr(open + 1);
  return std::string(rest.substr(0, rest.find(' ')));
}

std::string quotedText(std::string_view reply) {
  const size_t first = reply.find('"');
  if (first == std::string_view::npos) return {};
  const size_t second = reply.find('"', first + 1);
  if (second == std::string_view::npos) return {};
  return std::string(reply.substr(first + 1, second - first - 1));
}

}  // namespace morvel::ftp
