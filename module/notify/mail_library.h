// The host's mail library (ZMAIL.DLL), loaded on first use, and whether it
// is started. A stop that the library's own error callback asks for is held
// until the callback has returned: the library must not be stopped from
// inside its callback, so it is stopped before the next start or at unload.
//
// The library is never freed while a call of it, or its call of the error
// handler, is on the stack: a handler's message box runs the host's loop, and
// the host may be done with the plug-in inside it.
#pragma once

#include "sdk/zmail_api.h"

#include <string>

class CMailLibrary {
 public:
  CMailLibrary() = default;
  ~CMailLibrary();
  CMailLibrary(const CMailLibrary&) = delete;
  CMailLibrary& operator=(const CMailLibrary&) = delete;

  bool Started() const { return m_started; }

  // Registers the handler and starts the library, with a login when one is
  // given (a pending stop runs first: RunPendingStop); false with the
  // library's text in error (ZMAIL_ERROR_BUFFER_SIZE bytes) when it did not
  // start or could not be loaded.
  bool Start(ZMailErrorHandler handler, const std::string& server, int port,
             const std::string* login, const std::string& password, const std::string& sender,
             char* error);
  // Queues one message; false with the library's text in error.
  bool AddMessage(const std::string& to, const std::string& copies,
                  const std::string& blindCopies, const std::string& subject,
                  const std::string& body, char* error);
  // Stops the library now (whether or not it was started); the started flag
  // is left as it is.
  void Stop();
  // After Stop: the next e-mail starts the library again.
  void MarkStopped() { m_started = false; }
  // Lets go of the library (after Stop): the plug-in is being unloaded. The
  // handler is forgotten at once; the library is freed now, or at the
  // module's end when something of it is on the stack.
  void Release();
  // From inside the error callback: no longer started, stopped later.
  void StopAfterCallback();
  // Runs the stop the callback asked for; true when there was one.
  bool RunPendingStop();

  // Held while the library's code is on the stack: a call of it, or its
  // call of the error handler.
  class CInUse {
   public:
    explicit CInUse(CMailLibrary& library) : m_library(library) { ++m_library.m_inUse; }
    ~CInUse() { --m_library.m_inUse; }
    CInUse(const CInUse&) = delete;
    CInUse& operator=(const CInUse&) = delete;

   private:
    CMailLibrary& m_library;
  };

 private:
  bool Load();
  void Free();

  HMODULE m_module = nullptr;
  ZMLSetErrorHandlerExFn m_setHandler = nullptr;
  ZMLStartFn m_start = nullptr;
  ZMLStartExFn m_startEx = nullptr;
  ZMLAddMsgExFn m_add = nullptr;
  ZMLStopFn m_stop = nullptr;
  bool m_started = false;
  bool m_stopPending = false;
  int m_inUse = 0;
};
