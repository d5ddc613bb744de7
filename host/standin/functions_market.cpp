// Host functions 34, 43, 91, 130, 134, 136, 137, 146, 149, 153 and 154: record
// copies, quotes and security parameters, firms' settings texts, client values,
// the filter-refresh words and the quote subscriptions.
#include "host/standin/standin_host.h"

#include <cstring>
#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

std::string Text(const char* text) { return text ? text : ""; }

int __stdcall CopyRecord(int kind, int recordSize, int index, void* out) {
  Host().Log().Record(34, std::to_string(kind) + " " + std::to_string(index));
  const uint8_t* record = Host().Records().Record(kind, recordSize, index);
  if (record == nullptr || out == nullptr) return 0;
  std::memcpy(out, record, recordSize);
  return 1;
}

// A parameter the security does not have leaves the caller's value alone.
void __stdcall SecurityParameter(int securityIndex, const char* name, double* value) {
  Host().Log().Record(43, std::to_string(securityIndex) + " " + Text(name));
  double known;
  if (value != nullptr && Host().Market().Parameter(securityIndex, Text(name), &known))
    *value = known;
}

int __stdcall SecurityIndex(const char* securityCode, const char* classCode) {
  Host().Log().Record(91, Text(securityCode) + " " + Text(classCode));
  return Host().Records().FindSecurity(Text(securityCode), Text(classCode));
}

int __stdcall FirmSettingsText(const char* firm, char* buffer, int capacity) {
  Host().Log().Record(130, Text(firm));
  const std::string* text = Host().Records().FirmText(Text(firm));
  if (text == nullptr || buffer == nullptr || capacity <= 0) return 0;
  lstrcpynA(buffer, text->c_str(), capacity);
  return 1;
}

int __stdcall ClientValueByNumber(const void* firm, const char* clientCode, int number,
                                  double* value, int) {
  const std::string firmText = Text(static_cast<const char*>(firm));
  Host().Log().Record(134, firmText + " " + Text(clientCode) + " " + std::to_string(number));
  const ClientValue* known = Host().Market().FindClientValue(firmText, Text(clientCode), number);
  if (known == nullptr) return 1;
  if (value != nullptr) *value = known->value;
  return known->result;
}

void __stdcall RefreshWords(uint32_t* wordA, uint32_t* wordB, int) {
  Host().Log().Record(136);
  if (wordA != nullptr) *wordA = Host().Market().RefreshWordA();
  if (wordB != nullptr) *wordB = Host().Market().RefreshWordB();
}

int __stdcall IsEntryAccepted(uint32_t key, int, int) {
  Host().Log().Record(137, std::to_string(key));
  return Host().Market().IsAccepted(key) ? 1 : 0;
}

void __stdcall StartEvent(const char* fileName, int, char* buffer, int size) {
  Host().Log().Record(146, Text(fileName));
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
}

int __stdcall SpotRecordIndex(const void* firm, const char* clientCode, const char* boardTag,
                              const char* currency, int) {
  const std::string firmText = Text(static_cast<const char*>(firm));
  Host().Log().Record(149, firmText + " " + Text(clientCode) + " " + Text(boardTag) + " " +
                               Text(currency));
  return Host().Records().FindSpot(firmText, Text(clientCode), Text(boardTag), Text(currency));
}

void __stdcall SubscribeSecurity(const char* classCode, const char* securityCode) {
  Host().Log().Record(153, Text(classCode) + " " + Text(securityCode));
}

void __stdcall SubscribeParameter(const char* classCode, const char* parameterName) {
  Host().Log().Record(154, Text(classCode) + " " + Text(parameterName));
}
}  // namespace

void InstallMarketFunctions(StandInHost& host) {
  host.Install<34>(CopyRecord);
  host.Install<43>(SecurityParameter);
  host.Install<91>(SecurityIndex);
  host.Install<130>(FirmSettingsText);
  host.Install<134>(ClientValueByNumber);
  host.Install<136>(RefreshWords);
  host.Install<137>(IsEntryAccepted);
  host.Install<146>(StartEvent);
  host.Install<149>(SpotRecordIndex);
  host.Install<153>(SubscribeSecurity);
  host.Install<154>(SubscribeParameter);
}
