// One started mail library: a queue of messages that a worker thread
// delivers, and a message-only window on the starting thread through which
// delivery failures reach the error handler on that thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "host/zmail/smtp_delivery.h"

namespace zmail {

typedef void (*FailureSink)(const std::string& text);

class MailSession {
 public:
  // Null, with the reason in failure, when the window cannot be made.
  static MailSession* Start(HINSTANCE module, const SmtpServer& server, FailureSink sink,
                            std::string& failure);
  void Queue(OutgoingMessage message);
  // Ends deliveries and drops queued messages and unreported failures. The
  // session frees itself with its window: at once on the starting thread,
  // otherwise when that thread next handles its messages (also when called
  // from the failure sink).
  void Stop();
  // At unload, so that a later load registers the class with its own code.
  static void Unregister(HINSTANCE module);

 private:
  MailSession(const SmtpServer& server, FailureSink sink);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Work();
  void Report(const std::string& failure);
  void PassReports();

  const SmtpServer m_server;
  const FailureSink m_sink;
  HWND m_window = nullptr;
  std::thread m_worker;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<OutgoingMessage> m_queue;
  std::deque<std::string> m_failures;
  std::atomic<bool> m_stopping{false};
  int m_passing = 0;  // nesting of PassReports (a sink may run a modal loop)
};

}  // namespace zmail
