// Host functions 49, 135, 148, 202 and 203: the connection to the trading
// server and what the host knows of each derivatives client.
#include "host/standin/standin_host.h"

#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

std::string Text(const char* text) { return text ? text : ""; }
std::string Firm(const void* firm) { return Text(static_cast<const char*>(firm)); }

constexpr int kQualificationNumber = 36;

int __stdcall IsConnected() {
  Host().Log().Record(49);
  return Host().Clients().Connected() ? 1 : 0;
}

// Non-zero for a united client's account, with the client code copied and
// terminated within the capacity; 0 otherwise, the buffer untouched.
int __stdcall ClientCodeOfAccount(const void* firm, const char* account, char* clientCode,
                                  int capacity) {
  Host().Log().Record(148, Firm(firm) + " " + Text(account) + " " + std::to_string(capacity));
  const std::string* code = Host().Clients().ClientCode(Firm(firm), Text(account));
  if (code == nullptr || clientCode == nullptr || capacity <= 0) return 0;
  lstrcpynA(clientCode, code->c_str(), capacity);
  return 1;
}

// 0 and the value for a known client's qualification; otherwise 1 and the
// caller's value left alone.
int __stdcall ClientQualification(const void* firm, const char* clientCode, int number,
                                  double* value, int) {
  Host().Log().Record(135, Firm(firm) + " " + Text(clientCode) + " " + std::to_string(number));
  double known;
  if (number != kQualificationNumber ||
      !Host().Clients().Qualification(Firm(firm), Text(clientCode), &known))
    return 1;
  if (value != nullptr) *value = known;
  return 0;
}

void __stdcall ClientParameters(const void* firm, const char* clientCode, int32_t portfolio,
                                host::ClientParamRequest* requests, int count) {
  Host().Log().Record(202, Firm(firm) + " " + Text(clientCode) + " " + std::to_string(portfolio) +
                               " " + std::to_string(count));
  if (requests == nullptr) return;
  for (int i = 0; i < count; ++i) {
    double value;
    if (Host().Clients().Parameter(Firm(firm), Text(clientCode), portfolio, requests[i].id,
                                   &value)) {
      requests[i].status = 0;
      requests[i].value = value;
    } else {
      requests[i].status = 1;
    }
  }
}

// Without a list only the count is written; with one, at most the count the
// caller gives, and the count becomes the number written.
void __stdcall ClientPortfolios(const void* firm, const char* clientCode, int32_t* list,
                                int32_t* count) {
  Host().Log().Record(203, Firm(firm) + " " + Text(clientCode) + (list ? " list" : " count"));
  if (count == nullptr) return;
  const std::vector<int32_t>& portfolios = Host().Clients().Portfolios(Firm(firm), Text(clientCode));
  const int32_t known = static_cast<int32_t>(portfolios.size());
  if (list == nullptr) {
    *count = known;
    return;
  }
  const int32_t written = *count < 0 ? 0 : (*count < known ? *count : known);
  for (int32_t i = 0; i < written; ++i) list[i] = portfolios[i];
  *count = written;
}
}  // namespace

void InstallClientFunctions(StandInHost& host) {
  host.Install<49>(IsConnected);
  host.Install<135>(ClientQualification);
  host.Install<148>(ClientCodeOfAccount);
  host.Install<202>(ClientParameters);
  host.Install<203>(ClientPortfolios);
}
