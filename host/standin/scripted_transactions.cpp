#include "host/standin/scripted_transactions.h"

namespace {
// An SMS asks for no transaction id (result null).
int __stdcall Transaction(int classIndex, int formIndex, const char* text, int, char* error, int* result) {
  ScriptedTransactions::sent.push_back(std::to_string(classIndex) + " " + std::to_string(formIndex) + " " + text);
  std::deque<int32_t>& answers = ScriptedTransactions::answers;
  const int32_t id = answers.empty() ? -1 : answers.front();
  if (result != nullptr) *result = id;
  if (!answers.empty()) answers.pop_front();
  ScriptedTransactions::answered.push_back(id);
  if (id == -1) lstrcpynA(error, "Отказ", 1024);
  std::deque<std::string>& texts = ScriptedTransactions::errorTexts;
  if (!texts.empty()) {
    if (!texts.front().empty()) lstrcpynA(error, texts.front().c_str(), 1024);
    texts.pop_front();
  }
  if (ScriptedTransactions::whileSending) ScriptedTransactions::whileSending(id);
  return 1;
}
}  // namespace

void ScriptedTransactions::Install(StandInHost& host) {
  Clear();
  host.Install<48>(Transaction);
}

void ScriptedTransactions::Clear() {
  answers.clear();
  errorTexts.clear();
  whileSending = nullptr;
  sent.clear();
  answered.clear();
}
