// The text forms of an outgoing message: address lists, the MIME encodings
// of the subject and the body (code page 1251), and the SMTP data stream.
#pragma once

#include <string>
#include <vector>

namespace zmail {

struct OutgoingMessage {
  std::string sender;
  std::vector<std::string> to, copies, blindCopies;
  std::string subject, body;  // code page 1251
};

std::string Base64(const std::string& bytes);

// "a@x, b@y; c@z" -> the addresses; "Name <a@x>" keeps "Name <a@x>".
std::vector<std::string> SplitAddresses(const char* list);
// The bare address an envelope command takes: "Name <a@x>" -> "a@x".
std::string EnvelopeAddress(const std::string& address);
// Empty when every address can go into a header and an envelope; otherwise
// the first one that cannot (no "@", line breaks or blanks in it).
std::string FirstInvalidAddress(const std::vector<std::string>& addresses);

// The message as it goes after DATA: headers (no Bcc), a quoted-printable
// body, lines ending in CRLF, leading dots doubled, ended by "." alone.
std::string DataStream(const OutgoingMessage& message, const std::string& date);

}  // namespace zmail
