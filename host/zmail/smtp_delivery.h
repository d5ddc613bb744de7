// Delivers one message to an SMTP server over Winsock, the whole dialogue on
// one connection: EHLO (HELO when refused), AUTH LOGIN when a login is given,
// MAIL FROM, RCPT TO for every recipient, DATA, QUIT.
#pragma once

#include <atomic>
#include <string>

#include "host/zmail/mail_text.h"

namespace zmail {

struct SmtpServer {
  std::string host;
  int port = 25;
  std::string login, password;  // no AUTH when the login is empty
  std::string sender;           // every message goes from it
};

// Empty when every recipient got the message; otherwise what went wrong (a
// refused recipient does not stop the others). Returns early, with no text,
// once stopping is set.
std::string Deliver(const SmtpServer& server, const OutgoingMessage& message,
                    const std::atomic<bool>& stopping);

}  // namespace zmail
