// The margin calls the risk tables' commands send by hand, and the texts
// they show the user before sending.
#include "module/vantrel_module.h"

#include "module/log/naming_lines.h"
#include "sdk/modal_loops.h"

EMarginCallOutcome CVantrelModule::SendMarginCall(int kind, TClientRiskRecord* record, double level,
                                                  std::string text, bool compose) {
  if (record == nullptr) return EMarginCallOutcome::kNotSent;
  return m_marginCalls.SendManually(kind, *record, level, text, compose);
}

void CVantrelModule::TellManualCallsStopped(int kind, const std::string& cut,
                                            const std::vector<std::string>& notSent) {
  if (cut.empty() && notSent.empty()) return;
  const std::string head = "ERROR: margin call (type: " + std::to_string(kind) + ") by hand not sent to ";
  const char* reason = IsDone() ? ": the host is done with the plug-in." : ": the host stopped the plug-in's work.";
  for (const std::string& line : LinesNaming(head, notSent, reason)) TraceLog(0, "%s", line.c_str());
  // Once the host is done the box is not shown.
  std::string text = "Отправка маржин-колла прервана: терминал остановил работу модуля.";
  if (!cut.empty())
    text += "\nКлиенту " + cut + " маржин-колл отправлен не полностью (что не отправлено, записано в журнал модуля).";
  if (notSent.size() == 1) text += "\nКлиенту " + notSent.front() + " маржин-колл не отправлен.";
  if (notSent.size() > 1)
    text += "\nНе отправлено клиентам: " + std::to_string(notSent.size()) + " (их коды записаны в журнал модуля).";
  ShowMessageBox(GetMainWindow(), text.c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
}

std::string CVantrelModule::ComposeMarginCallText(const std::string& pattern, double value,
                                                  const char* firm, const char* clientCode) const {
  return m_marginCalls.ComposeText(pattern, value, firm, clientCode);
}
