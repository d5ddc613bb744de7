#include "host/zmail/mail_text.h"

#include <cstdio>

namespace zmail {

namespace {

const char kCharset[] = "windows-1251";

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Join(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
  return joined;
}

bool IsPlainHeaderText(const std::string& text) {
  for (unsigned char c : text)
    if (c < 32 || c > 126) return false;
  return text.size() <= 900;
}

// RFC 2047 encoded words of at most 75 characters, folded onto lines of
// their own; a single-byte charset may be cut anywhere.
std::string EncodedHeaderText(const std::string& text) {
  if (IsPlainHeaderText(text)) return text;
  const size_t chunk = 39;  // 52 base64 characters + 17 of the word's frame
  std::string encoded;
  for (size_t at = 0; at < text.size(); at += chunk) {
    if (at) encoded += "\r\n ";
    encoded += std::string("=?") + kCharset + "?B?" + Base64(text.substr(at, chunk)) + "?=";
  }
  return encoded;
}

// Quoted-printable lines of at most 76 characters; the body's line breaks
// (LF, CR LF or CR) become hard CRLF breaks.
std::string QuotedPrintable(const std::string& body) {
  std::string out, line;
  auto put = [&](const std::string& piece) {
    if (line.size() + piece.size() > 75) {
      out += line + "=\r\n";
      line.clear();
    }
    line += piece;
  };
  auto endLine = [&]() {
    if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "=%02X", static_cast<unsigned char>(line.back()));
      line.pop_back();
      put(hex);
    }
    out += line + "\r\n";
    line.clear();
  };
  for (size_t i = 0; i < body.size(); ++i) {
    const unsigned char c = body[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
      endLine();
    } else if ((c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t') {
      put(std::string(1, static_cast<char>(c)));
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "=%02X", c);
      put(hex);
    }
  }
  if (!line.empty()) endLine();
  return out;
}

}  // namespace

std::string Base64(const std::string& bytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    unsigned value = 0;
    for (size_t k = 0; k < 3; ++k)
      value = value << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? alphabet[(value >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

std::vector<std::string> SplitAddresses(const char* list) {
  std::vector<std::string> addresses;
  std::string item;
  for (const char* p = list ? list : "";; ++p) {
    if (*p == ',' || *p == ';' || *p == '\0') {
      if (!Trim(item).empty()) addresses.push_back(Trim(item));
      item.clear();
      if (*p == '\0') break;
    } else {
      item += *p;
    }
  }
  return addresses;
}

std::string EnvelopeAddress(const std::string& address) {
  const size_t open = address.rfind('<');
  const size_t close = address.rfind('>');
  if (open == std::string::npos || close == std::string::npos || close < open) return address;
  return Trim(address.substr(open + 1, close - open - 1));
}

std::string FirstInvalidAddress(const std::vector<std::string>& addresses) {
  for (const std::string& address : addresses) {
    const std::string bare = EnvelopeAddress(address);
    if (bare.find('@') == std::string::npos ||
        bare.find_first_of(" \t\r\n<>") != std::string::npos ||
        address.find_first_of("\r\n") != std::string::npos)
      return address;
  }
  return "";
}

std::string DataStream(const OutgoingMessage& message, const std::string& date) {
  std::string text =
      "Date: " + date + "\r\nFrom: " + message.sender + "\r\nTo: " + Join(message.to) + "\r\n";
  if (!message.copies.empty()) text += "Cc: " + Join(message.copies) + "\r\n";
  text += "Subject: " + EncodedHeaderText(message.subject) + "\r\n";
  text += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=" + std::string(kCharset) +
          "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
  text += QuotedPrintable(message.body);
  std::string stream;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start) + 2;
    if (text[start] == '.') stream += '.';
    stream.append(text, start, end - start);
    start = end;
  }
  return stream + ".\r\n";
}

}  // namespace zmail
