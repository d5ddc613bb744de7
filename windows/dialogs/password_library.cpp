#include "windows/dialogs/password_library.h"

namespace {
constexpr int kBufferSize = 1025;
}

CPsLibrary::CPsLibrary() : m_library(LoadLibraryA("PS.dll")) {
  if (m_library == nullptr) return;
  m_functions.transform = reinterpret_cast<PsTransformFn>(reinterpret_cast<void*>(GetProcAddress(m_library, "fn_3")));
  m_functions.lastError = reinterpret_cast<PsLastErrorFn>(reinterpret_cast<void*>(GetProcAddress(m_library, "fn_1")));
}

CPsLibrary::~CPsLibrary() {
  if (m_library != nullptr) FreeLibrary(m_library);
}

int TransformPassword(const TPsFunctions& functions, const char* className, const char* label,
                      const std::string& input, std::string* output) {
  char buffer[kBufferSize] = {};
  int size = kBufferSize;
  int result = 0;
  if (functions.transform != nullptr)
    result = functions.transform(className, label, input.c_str(), static_cast<int>(input.size()),
                                 buffer, &size);
  if (result == 0 && functions.lastError != nullptr) {
    int failure = 0;
    char reason[kBufferSize] = {};
    functions.lastError(&failure, reason, kBufferSize);
  }
  // A library that fills the whole buffer must not make us read past it.
  buffer[kBufferSize - 1] = '\0';
  *output = result == 0 ? std::string() : std::string(buffer);
  return result;
}
