#include "host/zmail/mail_session.h"

namespace zmail {

namespace {

const char kWindowClass[] = "ZMailNotifier";
const UINT kFailuresWaiting = WM_APP + 1;

}  // namespace

MailSession::MailSession(const SmtpServer& server, FailureSink sink)
    : m_server(server), m_sink(sink) {}

MailSession* MailSession::Start(HINSTANCE module, const SmtpServer& server, FailureSink sink,
                                std::string& failure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
  auto* session = new MailSession(server, sink);
  session->m_window =
      CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, session);
  if (!session->m_window) {
    failure =
        "Can not create the mail library's window (error " + std::to_string(GetLastError()) + ")";
    delete session;
    return nullptr;
  }
  session->m_worker = std::thread(&MailSession::Work, session);
  return session;
}

void MailSession::Unregister(HINSTANCE module) { UnregisterClassA(kWindowClass, module); }

void MailSession::Queue(OutgoingMessage message) {
  message.sender = m_server.sender;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(std::move(message));
  }
  m_wake.notify_one();
}

void MailSession::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    m_queue.clear();
    m_failures.clear();
  }
  m_wake.notify_one();
  m_worker.join();
  if (GetWindowThreadProcessId(m_window, nullptr) == GetCurrentThreadId() && !m_passing)
    DestroyWindow(m_window);  // frees this
  else
    PostMessageA(m_window, WM_CLOSE, 0, 0);
}

void MailSession::Work() {
  for (;;) {
    OutgoingMessage message;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
      if (m_stopping) return;
      message = std::move(m_queue.front());
      m_queue.pop_front();
    }
    const std::string failure = Deliver(m_server, message, m_stopping);
    if (!failure.empty()) Report(failure);
  }
}

void MailSession::Report(const std::string& failure) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_stopping) return;
  m_failures.push_back(failure);
  PostMessageA(m_window, kFailuresWaiting, 0, 0);
}

void MailSession::PassReports() {
  ++m_passing;
  for (;;) {
    std::string failure;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_stopping || m_failures.empty()) break;
      failure = m_failures.front();
      m_failures.pop_front();
    }
    m_sink(failure);
  }
  --m_passing;
}

LRESULT CALLBACK MailSession::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* session = reinterpret_cast<MailSession*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!session) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case kFailuresWaiting:
      session->PassReports();
      if (session->m_stopping && !session->m_passing) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      if (!session->m_passing) DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete session;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zmail
