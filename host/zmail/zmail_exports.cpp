// The exported functions of the stand-in mail library. One library per
// process, started and stopped by the host's user-interface thread.
#include <winsock2.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <type_traits>

#include "host/zmail/mail_session.h"
#include "sdk/zmail_api.h"

using zmail::MailSession;

namespace {

HINSTANCE g_module = nullptr;
std::mutex g_mutex;
MailSession* g_session = nullptr;
ZMailErrorHandler g_handler = nullptr;
// Failures passed to the handler since the library was loaded; the handler
// gets this count as its second argument, a value of the library's own that
// has nothing to do with the context it registered.
uintptr_t g_failuresPassed = 0;

int Fail(char* errorBuffer, const std::string& text) {
  if (errorBuffer) {
    std::strncpy(errorBuffer, text.c_str(), ZMAIL_ERROR_BUFFER_SIZE - 1);
    errorBuffer[ZMAIL_ERROR_BUFFER_SIZE - 1] = '\0';
  }
  return 0;
}

void PassToHandler(const std::string& text) {
  if (g_handler) g_handler(text.c_str(), reinterpret_cast<void*>(++g_failuresPassed));
}

int Start(const char* server, int port, const char* login, const char* password, const char* sender,
          char* errorBuffer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_session) return Fail(errorBuffer, "The mail library is already started");
  if (!server || !*server) return Fail(errorBuffer, "No SMTP server is given");
  if (port < 0 || port > 65535)
    return Fail(errorBuffer, "Port " + std::to_string(port) + " is not valid");
  const std::vector<std::string> senders = zmail::SplitAddresses(sender);
  if (senders.size() != 1 || !zmail::FirstInvalidAddress(senders).empty())
    return Fail(errorBuffer,
                std::string("The sender address is not valid: ") + (sender ? sender : ""));
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data))
    return Fail(errorBuffer, "Windows Sockets are not available");
  zmail::SmtpServer smtp;
  smtp.host = server;
  smtp.port = port ? port : 25;
  smtp.login = login ? login : "";
  smtp.password = password ? password : "";
  smtp.sender = senders.front();
  std::string failure;
  g_session = MailSession::Start(g_module, smtp, PassToHandler, failure);
  return g_session ? 1 : Fail(errorBuffer, failure);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  if (reason == DLL_PROCESS_DETACH) MailSession::Unregister(module);
  return TRUE;
}

// The context is not kept: nothing reads it.
extern "C" void __stdcall ZMLSetErrorHandlerEx(ZMailErrorHandler handler, void*) {
  g_handler = handler;
}

extern "C" int __stdcall ZMLStart(const char* server, int port, const char* sender,
                                  char* errorBuffer) {
  return Start(server, port, nullptr, nullptr, sender, errorBuffer);
}

extern "C" int __stdcall ZMLStart_Ex(const char* server, int port, const char* login,
                                     const char* password, const char* sender, char* errorBuffer) {
  return Start(server, port, login, password, sender, errorBuffer);
}

extern "C" int __stdcall ZMLAddMsgEx(const char* to, const char* copies, const char* blindCopies,
                                     const char* subject, const char* body, int reserved,
                                     char* errorBuffer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_session) return Fail(errorBuffer, "The mail library is not started");
  zmail::OutgoingMessage message;
  message.to = zmail::SplitAddresses(to);
  message.copies = zmail::SplitAddresses(copies);
  message.blindCopies = zmail::SplitAddresses(blindCopies);
  if (message.to.empty()) return Fail(errorBuffer, "No recipient address is given");
  for (const auto* list : {&message.to, &message.copies, &message.blindCopies}) {
    const std::string invalid = zmail::FirstInvalidAddress(*list);
    if (!invalid.empty()) return Fail(errorBuffer, "The address is not valid: " + invalid);
  }
  message.subject = subject ? subject : "";
  message.body = body ? body : "";
  g_session->Queue(std::move(message));
  return 1;
}

extern "C" void __stdcall ZMLStop() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_session) g_session->Stop();
  g_session = nullptr;
}

// The exports have the exact types the callers' pointers declare.
static_assert(std::is_same<decltype(&ZMLSetErrorHandlerEx), ZMLSetErrorHandlerExFn>::value, "");
static_assert(std::is_same<decltype(&ZMLStart), ZMLStartFn>::value, "");
static_assert(std::is_same<decltype(&ZMLStart_Ex), ZMLStartExFn>::value, "");
static_assert(std::is_same<decltype(&ZMLAddMsgEx), ZMLAddMsgExFn>::value, "");
static_assert(std::is_same<decltype(&ZMLStop), ZMLStopFn>::value, "");
