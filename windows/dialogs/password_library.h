// The two functions of the password library (PS.dll) through which the
// stored mail and database passwords are enciphered and turned back.
#pragma once

#include "sdk/ps_api.h"

#include <string>

struct TPsFunctions {
  PsTransformFn transform = nullptr;
  PsLastErrorFn lastError = nullptr;
};

// PS.dll, loaded for as long as this object lives; no functions when it is
// missing.
class CPsLibrary {
 public:
  CPsLibrary();
  ~CPsLibrary();
  CPsLibrary(const CPsLibrary&) = delete;
  CPsLibrary& operator=(const CPsLibrary&) = delete;

  const TPsFunctions& Functions() const { return m_functions; }

 private:
  HMODULE m_library;
  TPsFunctions m_functions;
};

// fn_3 over the input with the buffer it expects (1025 bytes, zero-filled);
// the buffer's text goes to output, nothing on failure (0). After a failure
// fn_1 is asked why, as the library expects; the reason is neither shown nor
// logged. Missing functions fail too.
int TransformPassword(const TPsFunctions& functions, const char* className, const char* label,
                      const std::string& input, std::string* output);
