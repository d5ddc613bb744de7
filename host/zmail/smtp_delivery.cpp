#include "host/zmail/smtp_delivery.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>

namespace zmail {

namespace {

const int kConnectSeconds = 15;
const int kReplySeconds = 60;

struct Reply {
  int code = 0;  // 0: no reply (closed, timed out or stopping)
  std::string text;
  bool Positive() const { return code >= 200 && code < 400; }
};

std::string RfcDate() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d +0000", days[now.wDayOfWeek],
                now.wDay, months[now.wMonth - 1], now.wYear, now.wHour, now.wMinute, now.wSecond);
  return text;
}

class SmtpConnection {
 public:
  SmtpConnection(const SmtpServer& server, const std::atomic<bool>& stopping)
      : m_server(server),
        m_stopping(stopping),
        m_name(server.host + ":" + std::to_string(server.port)) {}
  ~SmtpConnection() {
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
  }

  // Empty on success, else why the server cannot be reached.
  std::string Open() {
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(m_server.host.c_str(), std::to_string(m_server.port).c_str(), &hints, &found))
      return "Can not find the SMTP server " + m_server.host + " (error " +
             std::to_string(WSAGetLastError()) + ")";
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    ioctlsocket(m_socket, FIONBIO, &nonBlocking);
    connect(m_socket, found->ai_addr, static_cast<int>(found->ai_addrlen));
    freeaddrinfo(found);
    const bool connected = WaitFor(true, kConnectSeconds);
    int error = 0;
    int size = sizeof error;
    getsockopt(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    if (!connected && !error) error = WSAETIMEDOUT;
    if (error && !m_stopping)
      return "Can not connect to the SMTP server " + m_name + " (error " + std::to_string(error) +
             ")";
    return "";
  }

  Reply Command(const std::string& line) {
    if (!SendAll(line + "\r\n")) return Reply();
    return Read();
  }
  bool SendAll(const std::string& data) {
    for (size_t sent = 0; sent < data.size();) {
      if (!WaitFor(true, kReplySeconds)) return false;
      const int n = send(m_socket, data.data() + sent, static_cast<int>(data.size() - sent), 0);
      if (n <= 0 && WSAGetLastError() != WSAEWOULDBLOCK) return false;
      if (n > 0) sent += n;
    }
    return true;
  }

  // A reply of one or more lines ("250-..." then "250 ...").
  Reply Read() {
    Reply reply;
    for (;;) {
      const size_t end = m_input.find("\r\n");
      if (end == std::string::npos) {
        char chunk[1024];
        if (!WaitFor(false, kReplySeconds)) return Reply();
        const int n = recv(m_socket, chunk, sizeof chunk, 0);
        if (n <= 0) return Reply();
        m_input.append(chunk, n);
        continue;
      }
      const std::string line = m_input.substr(0, end);
      m_input.erase(0, end + 2);
      reply.text += (reply.text.empty() ? "" : " ") + line;
      if (line.size() < 4 || line[3] != '-') {
        reply.code = atoi(line.c_str());
        return reply;
      }
    }
  }

  std::string Refused(const std::string& step, const Reply& reply) const {
    if (!reply.code)
      return "The SMTP server " + m_name + " did not answer " + step + " (connection closed)";
    return "The SMTP server " + m_name + " refused " + step + ": " + reply.text;
  }

 private:
  // Waits in short slices, so that stopping the library ends a delivery soon.
  bool WaitFor(bool writing, int seconds) {
    for (int slice = 0; slice < seconds * 10 && !m_stopping; ++slice) {
      fd_set ready, failed;
      FD_ZERO(&ready);
      FD_ZERO(&failed);
      FD_SET(m_socket, &ready);
      FD_SET(m_socket, &failed);
      timeval wait = {0, 100000};
      if (select(0, writing ? nullptr : &ready, writing ? &ready : nullptr, &failed, &wait) != 0)
        return !FD_ISSET(m_socket, &failed) || !writing;
    }
    return false;
  }

  const SmtpServer& m_server;
  const std::atomic<bool>& m_stopping;
  const std::string m_name;
  SOCKET m_socket = INVALID_SOCKET;
  std::string m_input;
};

std::string LocalName() {
  char name[256];
  return gethostname(name, sizeof name) == 0 ? name : "localhost";
}

}  // namespace

std::string Deliver(const SmtpServer& server, const OutgoingMessage& message,
                    const std::atomic<bool>& stopping) {
  SmtpConnection smtp(server, stopping);
  std::string failure = smtp.Open();
  if (!failure.empty() || stopping) return failure;
  Reply reply = smtp.Read();
  if (reply.code != 220) return stopping ? "" : smtp.Refused("the connection", reply);
  if (!smtp.Command("EHLO " + LocalName()).Positive()) {
    reply = smtp.Command("HELO " + LocalName());
    if (!reply.Positive()) return stopping ? "" : smtp.Refused("HELO", reply);
  }
  if (!server.login.empty()) {
    reply = smtp.Command("AUTH LOGIN");
    if (reply.code == 334) reply = smtp.Command(Base64(server.login));
    if (reply.code == 334) reply = smtp.Command(Base64(server.password));
    if (reply.code != 235) return stopping ? "" : smtp.Refused("AUTH LOGIN", reply);
  }
  reply = smtp.Command("MAIL FROM:<" + EnvelopeAddress(message.sender) + ">");
  if (!reply.Positive()) return stopping ? "" : smtp.Refused("the sender", reply);

  std::string refusals;
  int accepted = 0;
  for (const auto* list : {&message.to, &message.copies, &message.blindCopies}) {
    for (const std::string& recipient : *list) {
      reply = smtp.Command("RCPT TO:<" + EnvelopeAddress(recipient) + ">");
      if (reply.Positive()) {
        ++accepted;
      } else {
        if (stopping) return "";
        refusals +=
            (refusals.empty() ? "" : "; ") + smtp.Refused("the recipient " + recipient, reply);
      }
    }
  }
  if (accepted) {
    reply = smtp.Command("DATA");
    if (reply.code == 354)
      reply = smtp.SendAll(DataStream(message, RfcDate())) ? smtp.Read() : Reply();
    if (reply.code != 250 && !stopping)
      refusals += (refusals.empty() ? "" : "; ") + smtp.Refused("the message", reply);
  }
  smtp.Command("QUIT");
  return stopping ? "" : refusals;
}

}  // namespace zmail
