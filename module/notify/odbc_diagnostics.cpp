#include "module/notify/odbc_diagnostics.h"

#include "module/log/vantrel_log.h"

#include <sqlext.h>

void LogOdbcDiagnostics(CVantrelLog& log, const char* call, SQLHANDLE handle,
                        SQLSMALLINT handleType, const std::string& secret) {
  log.TraceLog(2, "The driver reported the following diagnostics while running %s", call);
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[256] = {};
    SQLSMALLINT length = 0;
    SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message,
                                     sizeof(message), &length);
    if (!SQL_SUCCEEDED(result)) break;
    std::string text = WithoutSecret(reinterpret_cast<const char*>(message), secret);
    log.TraceLog(2, "SQL ERROR: %s:%ld:%ld:%s", reinterpret_cast<const char*>(state),
                 static_cast<long>(record), static_cast<long>(nativeError), text.c_str());
    if (result != SQL_SUCCESS) break;
  }
}

std::string WithoutSecret(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (std::string::size_type at = text.find(secret); at != std::string::npos;
       at = text.find(secret, at + 3))
    text.replace(at, secret.size(), "***");
  return text;
}
