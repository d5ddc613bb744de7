// A call from outside the plug-in (the host's callback entries and entry
// points, the system's timer and window procedures) is a boundary: nothing
// that fails inside may unwind into the caller, whose frames know nothing of
// C++ exceptions and would end the host process. The failure is reported
// to the module and the caller gets the neutral answer.
#pragma once

#include <exception>

// Passes a caught failure to the module's failure log, when there is a module.
void ReportBoundaryFailure(const char* boundary, const char* what) noexcept;

template <typename Result, typename Body>
Result GuardBoundary(const char* boundary, Result neutral, Body body) noexcept {
  try {
    return body();
  } catch (const std::exception& failure) {
    ReportBoundaryFailure(boundary, failure.what());
  } catch (...) {
    ReportBoundaryFailure(boundary, "unknown exception");
  }
  return neutral;
}

template <typename Body>
void GuardBoundary(const char* boundary, Body body) noexcept {
  try {
    body();
  } catch (const std::exception& failure) {
    ReportBoundaryFailure(boundary, failure.what());
  } catch (...) {
    ReportBoundaryFailure(boundary, "unknown exception");
  }
}
