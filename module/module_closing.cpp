// Closing orders: the transactions that send and withdraw them, the windows
// that prepare them, the host's order records that answer them and the
// automatic closing at the times of the auto-close schedule.
#include "module/vantrel_module.h"

#include "module/closing/order_transaction.h"
#include "module/market_records.h"
#include "module/notify/schedule_gate.h"
#include "sdk/confirmation.h"
#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"
#include "sdk/modal_loops.h"
#include "sdk/table_plugin.h"
#include "windows/dialogs/prep_orders_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
using host::record::FixedText;
using host::record::Read;

constexpr uint32_t kOrderFormMask = 0x4, kOrderFormMaskWithProperty = 0x24, kWithdrawalFormMask = 0x1;
constexpr uint32_t kClassFormProperty = 2048;
constexpr int kErrorBufferSize = 1024;
constexpr char kAttention[] = "Внимание";

// Nothing was sent: the reason goes to the log and to whoever shows it.
int32_t NotSent(CVantrelModule& module, const std::string& logged, const std::string& shown, std::string* failure) {
  module.TraceLog(2, "ERROR: %s", logged.c_str());
  if (failure != nullptr) *failure = shown;
  return kNoTransaction;
}

int32_t SendTransactionText(CVantrelModule& module, int classIndex, int formIndex, const std::string& text,
                            std::string* failure) {
  // Whatever asks for it, nothing goes to the host once it is done with the
  // plug-in.
  if (module.IsDone())
    return NotSent(module, "the host is done with the plug-in, not sent: " + text, "Модуль выгружен", failure);
  char error[kErrorBufferSize] = {};
  int32_t transId = kNoTransaction;
  module.CallHost<48>(classIndex, formIndex, text.c_str(), 1, error, &transId);
  module.TraceLog(2, "Sending transaction: %s", text.c_str());
  if (error[0] != 0) module.TraceLog(2, "ERROR: %s", error);
  if (failure != nullptr) *failure = error;
  return transId;
}

std::vector<CVantrelPrepOrdersDlg*> PrepOrdersDialogs(std::list<CZPluginDialog*>& dialogs) {
  std::vector<CVantrelPrepOrdersDlg*> found;
  for (CZPluginDialog* dialog : dialogs)
    if (auto* prep = dynamic_cast<CVantrelPrepOrdersDlg*>(dialog)) found.push_back(prep);
  return found;
}

bool IsLivePattern(const TClosingSettings& closing, int index) {
  return index >= 0 && index < static_cast<int>(closing.Patterns.size()) && closing.Patterns[index] &&
         !closing.Patterns[index]->Deleted;
}

// Shows the window formed and tells what holds the lots of a window left
// with nothing to send.
void ShowAndFront(CVantrelPrepOrdersDlg* dialog) {
  if (!dialog->CreateModeless("VanTrelPrepOrders", 0)) {
    delete dialog;
    return;
  }
  HWND window = dialog->GetHwnd();
  dialog->ShowWindow(SW_SHOW);
  dialog->ActivateHostFrame();
  // Showing it runs messages: it may be gone before it tells anything.
  if (CZPluginChildWnd::GetWindowObject(window) != dialog) return;
  CWindowUse use(dialog);
  dialog->TellHeldLots();
}
}  // namespace

int32_t CVantrelModule::SendOrderTransaction(const char* firstText, const char* account, const uint8_t* security,
                                             bool buy, double price, double quantity, const char* comment,
                                             std::string* failure) {
  const int classIndex = SecurityClassIndexOf(security);
  const uint8_t* classRecord = GetClassInfoByIndex(classIndex);
  if (classRecord == nullptr)
    return NotSent(*this, "no class of security " + std::string(SecurityCodeOf(security)),
                   "Класс инструмента не найден", failure);
  const uint32_t mask =
      CallHost<105>(classRecord, kClassFormProperty) != 0 ? kOrderFormMaskWithProperty : kOrderFormMask;
  const int formIndex = FindTransactionForm(classIndex, mask);
  auto* form = static_cast<const uint8_t*>(CallHost<36>(classIndex, host::record::kFormSize, formIndex));
  const std::string classCode = ClassCodeOf(classRecord);
  if (form == nullptr)
    return NotSent(*this, "no order form of class " + classCode, "Нет формы заявки для класса " + classCode,
                   failure);
  TOrderTransactionValues values;
  values.firstText = firstText;
  values.account = account;
  values.classCode = classCode;
  values.securityCode = SecurityCodeOf(security);
  values.buy = buy;
  values.price = price;
  values.priceDecimals = Read<int16_t>(security, host::record::kSecurityPriceDecimals);
  values.quantity = quantity;
  values.comment = comment;
  std::string text;
  if (!BuildOrderTransaction(form, values, text)) {
    ShowMessageBox(GetMainWindow(), "Транзакция слишком длинная и не отправлена.", kAttention,
                MB_OK | MB_ICONEXCLAMATION);
    return NotSent(*this, "transaction too long, not sent: " + text, "Транзакция слишком длинная", failure);
  }
  return SendTransactionText(*this, classIndex, formIndex, text, failure);
}

int32_t CVantrelModule::SendOrderNumTransaction(const uint8_t* security, double orderNumber) {
  const int classIndex = SecurityClassIndexOf(security);
  const int formIndex = FindTransactionForm(classIndex, kWithdrawalFormMask);
  if (formIndex == -1) {
    // Form -1 names no form: the host could only refuse it, and the user
    // would never learn why the order stays.
    const uint8_t* classRecord = GetClassInfoByIndex(classIndex);
    const std::string classCode = classRecord != nullptr ? ClassCodeOf(classRecord) : "";
    const std::string text = "Заявка не снята: нет формы снятия заявок для класса " + classCode + ".";
    ShowMessageBox(GetMainWindow(), text.c_str(), kAttention, MB_OK | MB_ICONEXCLAMATION);
    return NotSent(*this, "no withdrawal form of class " + classCode, text, nullptr);
  }
  return SendTransactionText(*this, classIndex, formIndex, BuildWithdrawalTransaction(orderNumber), nullptr);
}

int32_t CVantrelModule::SendClosingOrders(TOrderLine& line) {
  if (!line.Sendable()) return kNoTransaction;
  const uint8_t* security = FindSecurityInClasses(line.SecCode, 0x48, 0x900, nullptr);
  std::string failure;
  m_closingOrders.BeginSend();
  line.TransId = security == nullptr
                     ? NotSent(*this, "security " + std::string(line.SecCode) + " not found",
                               "Инструмент " + std::string(line.SecCode) + " не найден", &failure)
                     : SendOrderTransaction(line.SecondFirm, line.Account, security, line.IsBuy != 0, line.Price,
                                            line.Quantity, m_closing.Comment.c_str(), &failure);
  // An error text refuses the order even when the host gave an id.
  line.Refused = line.TransId == kNoTransaction || !failure.empty();
  line.RefusalReason = line.Refused ? failure : std::string();
  m_closingOrders.NoteSentOrder(line);
  // Records the host sent while the transaction was on its way, in the
  // order they came.
  m_closingOrders.EndSend([this](const uint8_t* record) { OnClosingOrderRecord(record); });
  return line.TransId;
}

// Lines are matched by transaction id alone, in every open window: the ids are
// unique, and a united client's order may carry its second firm.
void CVantrelModule::AdvancePrepOrderWindows(const ClosingOrderRecord& order) {
  using namespace host_data::order;
  const int32_t transId = Read<int32_t>(order.bytes, kTransactionId);
  const FILETIME time = {Read<uint32_t>(order.bytes, kOrderTime), Read<uint32_t>(order.bytes, kOrderTime + 4)};
  const double number = static_cast<double>(Read<int64_t>(order.bytes, kNumber));
  for (CVantrelPrepOrdersDlg* dialog : PrepOrdersDialogs(Dialogs()))
    dialog->Store().Advance(transId, Read<uint32_t>(order.bytes, kFlags), number, time);
  RefreshPrepOrdersDialogs();
}

std::vector<TClientRiskRecord*> CVantrelModule::ActiveClosingOrderClients() const {
  using namespace host_data::order;
  std::vector<TClientRiskRecord*> clients;
  for (const auto& order : m_closingOrders.Records())
    if ((Read<uint32_t>(order->bytes, kFlags) & kActive) != 0 && m_closingOrders.CountsNow(order->bytes))
      clients.push_back(m_clients.Find(FixedText(order->bytes, kFirm, kFirmCapacity),
                                       FixedText(order->bytes, kAccount, kAccountCapacity)));
  return clients;
}

bool CVantrelModule::HasPrepOrdersDialog() { return !PrepOrdersDialogs(Dialogs()).empty(); }

void CVantrelModule::ClosePrepOrdersDialogs() {
  for (std::vector<CVantrelPrepOrdersDlg*> open = PrepOrdersDialogs(Dialogs()); !open.empty();
       open = PrepOrdersDialogs(Dialogs()))
    open.front()->EndDialog(3);
}

void CVantrelModule::RefreshPrepOrdersDialogs() {
  // A window that closes itself leaves the list: the walk goes over a copy.
  for (CVantrelPrepOrdersDlg* dialog : PrepOrdersDialogs(Dialogs())) {
    const auto& now = Dialogs();
    if (std::find(now.begin(), now.end(), dialog) == now.end()) continue;
    dialog->RefreshOrderList();
    dialog->CloseIfNoPendingOrders();
  }
}

bool CVantrelModule::OpenPrepOrdersWindow(const TClientRiskRecord* client) {
  for (CVantrelPrepOrdersDlg* dialog : PrepOrdersDialogs(Dialogs())) {
    if (!dialog->ServesClient(client)) continue;
    dialog->ActivateHostFrame();
    return true;
  }
  return false;
}

int CVantrelModule::OpenPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern) {
  if (client == nullptr || IsDone() || OpenPrepOrdersWindow(client)) return 0;
  auto* dialog = new CVantrelPrepOrdersDlg(client, pattern);
  const int formed = dialog->PrepareClosingOrders(*client, pattern);
  ShowAndFront(dialog);
  return formed;
}

int CVantrelModule::OpenClosingOrdersWindow(const TClosingPattern& pattern, CTablePlugin* table, bool bySchedule,
                                            const TScheduleEntry* entry) {
  if (IsDone()) return 0;
  if (HasPrepOrdersDialog()) {
    const uint32_t serial = table != nullptr ? table->Serial() : 0;
    const uint32_t stops = m_hostStops;
    const bool closeAll =
        UserConfirms(GetMainWindow(), "Имеются открытые окна с заявками на закрытие позиций\n\t\tЗакрыть все?",
                     kAttention, MB_YESNO | MB_ICONEXCLAMATION);
    // The host may have been done with the plug-in, stopped it or closed
    // the table while the question was open: whatever the answer, nothing
    // more.
    if (!IsRunning() || m_hostStops != stops) return 0;
    if (table != nullptr && (table = FindTable(serial)) == nullptr) return 0;
    if (closeAll) ClosePrepOrdersDialogs();
  }
  std::string caption = "Заявки на закрытие позиций";
  if (bySchedule && entry != nullptr) {
    char text[512];
    std::snprintf(text, sizeof text, "Заявки на закрытие позиций (%02d:%02d, %s)", entry->Minutes / 60,
                  entry->Minutes % 60, pattern.PatternName.c_str());
    caption = text;
  }
  auto* dialog = new CVantrelPrepOrdersDlg(nullptr, pattern, caption.c_str());
  const int formed = dialog->PrepareClosingOrdersForTables(
      pattern, table, bySchedule, entry != nullptr && entry->AllClients != 0,
      entry != nullptr ? entry->PatternIndex : -1);
  ShowAndFront(dialog);
  return formed;
}

void CVantrelModule::ReportClosingOrdersFormed(const TScheduleEntry& entry) {
  if (!IsLivePattern(m_closing, entry.PatternIndex)) return;
  const TClosingPattern pattern = *m_closing.Patterns[entry.PatternIndex];
  const uint32_t stops = m_hostStops;
  const int formed = OpenClosingOrdersWindow(pattern, nullptr, true, &entry);
  if (!IsRunning() || m_hostStops != stops) return;
  char text[256];
  std::snprintf(text, sizeof text, "Сформирован список заявок для закрытия позиций. Общее число заявок: %d.",
                formed);
  HWND owner = GetMainWindow();
  ShowMessageBox(owner, text, kAttention, MB_OK | MB_ICONEXCLAMATION);
  SetFocus(owner);
}

void CVantrelModule::AutoCloseStep(const TEngineClock& now) {
  if (!m_closing.UseAutoClose || CallHost<49>() == 0) return;
  // Stopped by the host: no start to count the day's times from, and a
  // start taken as midnight would fire every entry of the day at once.
  TEngineClock start;
  if (m_startTime == 0 || !EngineClockAt(m_startTime, &start)) return;
  const uint32_t stops = m_hostStops;
  for (int fired = FireNextDueEntry(m_closing.AutoCloseSchedule, start.localSeconds, now.localSeconds);
       fired != -1; fired = FireNextDueEntry(m_closing.AutoCloseSchedule, start.localSeconds, now.localSeconds)) {
    // A copy: running the entry may show windows that change the settings.
    const TScheduleEntry entry = m_closing.AutoCloseSchedule[fired];
    ReportClosingOrdersFormed(entry);
    // Its question and its box run the host's loop.
    if (!IsRunning() || m_hostStops != stops) return;
  }
}
