// A run that must not start inside another one: a message box's loop
// dispatches the timer, so a recalculation or a margin-call pass could
// otherwise begin again before the first one ends.
#pragma once

class CReentryGuard {
 public:
  class Scope {
   public:
    explicit Scope(CReentryGuard& guard) : m_guard(guard), m_entered(!guard.m_running) {
      if (m_entered) m_guard.m_running = true;
    }
    ~Scope() {
      if (m_entered) m_guard.m_running = false;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    // False when another run was already going: this one is skipped.
    bool Entered() const { return m_entered; }

   private:
    CReentryGuard& m_guard;
    bool m_entered;
  };

  bool Running() const { return m_running; }

 private:
  bool m_running = false;
};
