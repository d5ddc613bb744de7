#include "module/notify/mail_library.h"

namespace {

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn* fn) {
  *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *fn != nullptr;
}

void SetError(char* error, const char* text) {
  lstrcpynA(error, text, ZMAIL_ERROR_BUFFER_SIZE);
}

}  // namespace

CMailLibrary::~CMailLibrary() {
  Release();
  Free();
}

// The handler lives in the plug-in, which may be unloaded before the
// library: the library forgets it first.
void CMailLibrary::Release() {
  if (m_module == nullptr) return;
  m_setHandler(nullptr, nullptr);
  m_started = false;
  if (m_inUse == 0) Free();
}

void CMailLibrary::Free() {
  if (m_module == nullptr) return;
  FreeLibrary(m_module);
  m_module = nullptr;
  m_setHandler = nullptr;
  m_start = nullptr;
  m_startEx = nullptr;
  m_add = nullptr;
  m_stop = nullptr;
}

bool CMailLibrary::Load() {
  if (m_module != nullptr) return true;
  HMODULE module = LoadLibraryA("ZMAIL.DLL");
  if (module == nullptr) return false;
  if (Resolve(module, "ZMLSetErrorHandlerEx", &m_setHandler) &&
      Resolve(module, "ZMLStart", &m_start) && Resolve(module, "ZMLStart_Ex", &m_startEx) &&
      Resolve(module, "ZMLAddMsgEx", &m_add) && Resolve(module, "ZMLStop", &m_stop)) {
    m_module = module;
    return true;
  }
  FreeLibrary(module);
  return false;
}

bool CMailLibrary::Start(ZMailErrorHandler handler, const std::string& server, int port,
                         const std::string* login, const std::string& password,
                         const std::string& sender, char* error) {
  if (!Load()) {
    SetError(error, "ZMAIL.DLL can not be loaded.");
    return false;
  }
  const CInUse call(*this);
  m_setHandler(handler, nullptr);  // the library hands the handler a value of its own
  const int result =
      login != nullptr
          ? m_startEx(server.c_str(), port, login->c_str(), password.c_str(), sender.c_str(), error)
          : m_start(server.c_str(), port, sender.c_str(), error);
  m_started = result != 0;
  return m_started;
}

bool CMailLibrary::AddMessage(const std::string& to, const std::string& copies,
                              const std::string& blindCopies, const std::string& subject,
                              const std::string& body, char* error) {
  const CInUse call(*this);
  return m_add != nullptr && m_add(to.c_str(), copies.c_str(), blindCopies.c_str(),
                                   subject.c_str(), body.c_str(), 0, error) != 0;
}

void CMailLibrary::Stop() {
  m_stopPending = false;
  const CInUse call(*this);
  if (m_stop != nullptr) m_stop();
}

void CMailLibrary::StopAfterCallback() {
  m_started = false;
  m_stopPending = true;
}

bool CMailLibrary::RunPendingStop() {
  if (!m_stopPending) return false;
  Stop();
  return true;
}
