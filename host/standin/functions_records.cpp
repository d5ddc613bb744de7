// Host functions 32, 33, 35, 36 and 48: the host's records and transactions;
// 156: trader messages.
#include "host/standin/standin_host.h"

#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

int __stdcall RecordCount(int kind) {
  Host().Log().Record(32, std::to_string(kind));
  return Host().Records().Count(kind);
}

void* __stdcall RecordAt(int kind, int recordSize, int index) {
  Host().Log().Record(33, std::to_string(kind) + " " + std::to_string(index));
  return Host().Records().Record(kind, recordSize, index);
}

int __stdcall FormCount(int classIndex) { return Host().Records().FormCount(classIndex); }

void* __stdcall FormAt(int classIndex, int recordSize, int subIndex) {
  return Host().Records().Form(classIndex, recordSize, subIndex);
}

// Flag 1 is an order or a withdrawal for the exchange; anything else (a text
// message) is taken as it is once the form exists.
int __stdcall SendTransaction(int classIndex, int formIndex, const char* text, int flag,
                              char* errorBuffer, int* result) {
  Host().Log().Record(48, std::to_string(classIndex) + " " + std::to_string(formIndex) + " " +
                              (text ? text : ""));
  std::string error;
  int answer = 1;
  if (flag == 1) {
    int32_t id = -1;
    answer = Host().Exchange().Transaction(classIndex, formIndex, text ? text : "", &error, &id);
    if (answer == 1 && result != nullptr) *result = id;
  } else if (Host().Records().FormFields(classIndex, formIndex) == nullptr) {
    error = "Нет формы транзакции";
    answer = 0;
  }
  if (!error.empty() && errorBuffer != nullptr) lstrcpynA(errorBuffer, error.c_str(), 1024);
  return answer;
}

void __stdcall SendTraderMessage(int uid, int, int, const char* text) {
  Host().Log().Record(156, std::to_string(uid) + " " + (text ? text : ""));
}
}  // namespace

void InstallRecordFunctions(StandInHost& host) {
  host.Install<32>(RecordCount);
  host.Install<33>(RecordAt);
  host.Install<35>(FormCount);
  host.Install<36>(FormAt);
  host.Install<48>(SendTransaction);
  host.Install<156>(SendTraderMessage);
}
