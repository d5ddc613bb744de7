// One margin call's way through its channels. The host may stop the plug-in
// or be done with it inside any step that runs its loop (a message box, a
// transaction); each step that reaches out asks the gate first, and once the
// call is cut the steps left are only named, for the log.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CDeliveryGate {
 public:
  // cut: true once the call must go no further.
  explicit CDeliveryGate(std::function<bool()> cut) : m_cut(std::move(cut)) {}

  // True when the step may go; otherwise it is named among those not sent
  // (once, however many parts it has).
  bool Pass(const std::string& step) {
    m_isCut = m_isCut || m_cut();
    if (m_isCut && (m_notSent.empty() || m_notSent.back() != step)) m_notSent.push_back(step);
    return !m_isCut;
  }
  // The steps the cut left out, in order, comma-separated.
  std::string NotSent() const {
    std::string names;
    for (const std::string& step : m_notSent) names += (names.empty() ? "" : ", ") + step;
    return names;
  }
  bool LeftSomethingOut() const { return !m_notSent.empty(); }

 private:
  std::function<bool()> m_cut;
  bool m_isCut = false;
  std::vector<std::string> m_notSent;
};
