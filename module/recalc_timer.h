// The window-less recalculation timer. Its procedure runs on the thread that
// handles the host's messages.
#pragma once

#include <windows.h>

class CRecalcTimer {
 public:
  explicit CRecalcTimer(TIMERPROC procedure) : m_procedure(procedure) {}
  ~CRecalcTimer() { Stop(); }
  CRecalcTimer(const CRecalcTimer&) = delete;
  CRecalcTimer& operator=(const CRecalcTimer&) = delete;

  // Stops a running timer; a period of 0 leaves it stopped.
  void Restart(UINT periodMilliseconds) {
    Stop();
    if (periodMilliseconds != 0) m_id = SetTimer(nullptr, 0, periodMilliseconds, m_procedure);
  }
  void Stop() {
    if (m_id != 0) KillTimer(nullptr, m_id);
    m_id = 0;
  }
  bool Running() const { return m_id != 0; }

 private:
  TIMERPROC m_procedure;
  UINT_PTR m_id = 0;
};
