#include "host/standin/hostile_host.h"

#include "host/standin/standin_host.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>

HostileHost* HostileHost::s_current = nullptr;

namespace {
// Counts a faulty host may answer: zero, negative, huge and ordinary ones.
constexpr int32_t kCounts[] = {0, -1, 1, 3, 0x1FFFFFFF, 0x20000000, 0x7FFFFFFF, 10000000};
}  // namespace

// The faulty answers; each falls back on the stand-in's own function.
struct HostileFunctions {
  static HostileHost& Host() { return *HostileHost::s_current; }
  template <int N>
  static typename host::FunctionSig<N>::Fn Saved() {
    return reinterpret_cast<typename host::FunctionSig<N>::Fn>(
        static_cast<uintptr_t>(Host().m_saved[N]));
  }

  static void* __stdcall Allocate(uint32_t size) {
    return Host().Chance(Host().m_faultPercent / 6) ? nullptr : Saved<3>()(size);
  }
  static void __stdcall SecurityParameter(int index, const char* name, double* value) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<43>()(index, name, value);
    if (value != nullptr) *value = Host().Number();
  }
  static int __stdcall Connected() {
    return Host().Chance(Host().m_faultPercent) ? Host().Chance(50) : Saved<49>()();
  }
  // The whole buffer filled with bytes of every value, without an end.
  static int __stdcall FirmText(const char* firm, char* buffer, int capacity) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<130>()(firm, buffer, capacity);
    const int length = Host().Chance(50) ? capacity : static_cast<int>(Host().Random()() % 4096);
    for (int i = 0; buffer != nullptr && i < length && i < capacity; ++i)
      buffer[i] = static_cast<char>(Host().Random()() % 256);
    return static_cast<int>(Host().Random()() % 3);
  }
  static int __stdcall ClientValue(const void* firm, const char* code, int number, double* value,
                                   int reserved) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<134>()(firm, code, number, value, reserved);
    if (value != nullptr) *value = Host().Number();
    return static_cast<int>(Host().Random()() % 3);
  }
  static int __stdcall Qualification(const void* firm, const char* code, int number, double* value,
                                     int reserved) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<135>()(firm, code, number, value, reserved);
    if (value != nullptr) *value = Host().Number();
    return static_cast<int>(Host().Random()() % 3);
  }
  // A client code that fills the whole capacity, without an end.
  static int __stdcall ClientCode(const void* firm, const char* account, char* code, int capacity) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<148>()(firm, account, code, capacity);
    for (int i = 0; code != nullptr && i < capacity; ++i) code[i] = static_cast<char>('A' + i % 26);
    return static_cast<int>(Host().Random()() % 3);
  }
  static void __stdcall Parameters(const void* firm, const char* code, int32_t portfolio,
                                   host::ClientParamRequest* requests, int count) {
    if (!Host().Chance(Host().m_faultPercent)) return Saved<202>()(firm, code, portfolio, requests, count);
    for (int i = 0; requests != nullptr && i < count; ++i) {
      requests[i].status = static_cast<int32_t>(Host().Random()() % 3) - 1;
      requests[i].value = Host().Number();
    }
  }
  // Asked for the count: a wrong one; asked with a list: no more than the
  // count given, and a count that says otherwise.
  static void __stdcall Portfolios(const void* firm, const char* code, int32_t* list, int32_t* count) {
    HostileHost& hostile = Host();
    if (count == nullptr) return;
    if (list == nullptr) {
      if (hostile.m_portfolioCount >= 0) {
        *count = hostile.m_portfolioCount;
      } else if (hostile.Chance(hostile.m_faultPercent)) {
        *count = kCounts[hostile.Random()() % (sizeof kCounts / sizeof kCounts[0])];
      } else {
        Saved<203>()(firm, code, list, count);
      }
      return;
    }
    hostile.m_largestList = std::max(hostile.m_largestList, *count);
    const int32_t given = *count;
    for (int32_t i = 0; i < given && i < 1024; ++i) list[i] = static_cast<int32_t>(hostile.Random()());
    if (hostile.Chance(hostile.m_faultPercent))
      *count = kCounts[hostile.Random()() % (sizeof kCounts / sizeof kCounts[0])];
    else
      *count = std::min(given, 1024);
  }
};

HostileHost::HostileHost(StandInHost& host, uint32_t seed, int faultPercent)
    : m_host(host), m_random(seed), m_faultPercent(faultPercent) {
  s_current = this;
  std::memcpy(m_saved, host.FunctionTable(), sizeof m_saved);
  host.Install<3>(HostileFunctions::Allocate);
  host.Install<43>(HostileFunctions::SecurityParameter);
  host.Install<49>(HostileFunctions::Connected);
  host.Install<130>(HostileFunctions::FirmText);
  host.Install<134>(HostileFunctions::ClientValue);
  host.Install<135>(HostileFunctions::Qualification);
  host.Install<148>(HostileFunctions::ClientCode);
  host.Install<202>(HostileFunctions::Parameters);
  host.Install<203>(HostileFunctions::Portfolios);
}

HostileHost::~HostileHost() {
  std::memcpy(m_host.FunctionTable(), m_saved, sizeof m_saved);
  s_current = nullptr;
}

bool HostileHost::Chance(int percent) { return static_cast<int>(m_random() % 100) < percent; }

double HostileHost::Number() {
  switch (m_random() % 10) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return Chance(50) ? 1e308 : -1e308;
    case 4: return std::numeric_limits<double>::denorm_min();
    case 5: return 0.0;
    default: return static_cast<double>(static_cast<int32_t>(m_random() % 2000001) - 1000000);
  }
}

std::string HostileHost::Name(const char* prefix) {
  if (Chance(5)) return std::string(prefix) + std::string(200, 'X');
  return prefix + std::to_string(m_random() % 4);
}

PushedRecord HostileHost::Record() {
  PushedRecord record;
  switch (m_random() % 5) {
    case 0: {
      LimitSpec limit;
      limit.id = static_cast<int32_t>(m_random() % 8);
      limit.firm = Name("F");
      limit.account = Name("A");
      limit.type = static_cast<int16_t>(m_random() % 4);
      limit.coefficient = Number();
      limit.dayStart = Number();
      limit.netPosition = Number();
      limit.planned = Number();
      limit.realVariationMargin = Number();
      limit.interimBase = Number();
      limit.netPositionOpen = Number();
      record = BuildLimit(limit);
      break;
    }
    case 1: {
      PositionSpec position;
      position.id = static_cast<int32_t>(m_random() % 8);
      position.firm = Name("F");
      position.account = Name("A");
      position.security = Chance(50) ? "RIZ6" : Name("S");
      position.quantity = static_cast<int32_t>(m_random());
      position.variationMargin = Number();
      record = BuildPosition(position);
      break;
    }
    case 2:
      record = BuildLimitRemoval(static_cast<int32_t>(m_random() % 8));
      break;
    case 3: {
      OrderSpec order;
      order.firm = Name("F");
      order.account = Name("A");
      order.transactionId = static_cast<int32_t>(m_random() % 8);
      order.number = static_cast<int64_t>(m_random());
      record = BuildOrder(order);
      break;
    }
    default: {
      const uint32_t codes[] = {32926, 32984, 32985, 32986, 152, 32973, m_random()};
      record.code = codes[m_random() % 7];
      record.bytes.resize(m_random() % 1200);
      break;
    }
  }
  if (Chance(20)) record.bytes.resize(m_random() % 1200);
  if (Chance(20))
    for (uint8_t& byte : record.bytes) byte = static_cast<uint8_t>(m_random());
  return record;
}

std::vector<uint8_t> HostileHost::WindowState(const std::vector<uint8_t>& saved) {
  std::vector<uint8_t> state = saved;
  switch (m_random() % 4) {
    case 0: state.resize(state.empty() ? 0 : m_random() % state.size()); break;
    case 1: state.resize(state.size() + m_random() % 4096, static_cast<uint8_t>(m_random())); break;
    case 2:
      for (size_t i = 8; i < state.size(); ++i)
        if (Chance(10)) state[i] = static_cast<uint8_t>(m_random());
      break;
    default:
      for (size_t i = 8; i < state.size(); ++i) state[i] = static_cast<uint8_t>(m_random());
      break;
  }
  return state;
}

std::string HostileHost::InfoIni() {
  const char* counts[] = {"0", "1", "3", "-1", "100000", "2147483647", "x"};
  const char* numbers[] = {"0", "1", "-7", "nan", "1e400", "0.5", "abc", "99999999999"};
  auto pick = [&](const char* const* from, size_t size) { return from[m_random() % size]; };
  std::string text = "[Vantrel]\r\nRecalcRiskParamsInterval=" + std::string(Chance(50) ? "0" : "150") +
                     "\r\nNumPatterns=" + pick(counts, 7) + "\r\nDefaultPattern=" + pick(numbers, 8) +
                     "\r\nClientsType=0\r\nClientsType2=" + pick(numbers, 8) + "\r\nSpread=" +
                     pick(numbers, 8) + "\r\nUPParam=" + pick(numbers, 8) + "\r\nMLSchedule=" +
                     pick(numbers, 8) + ", 25:61,\r\nSFRWarningLevel=" + pick(numbers, 8) + "\r\n";
  for (int pattern = 1; pattern <= static_cast<int>(m_random() % 4); ++pattern)
    text += "[ClPattern" + std::to_string(pattern) + "]\r\nParamIdx=" + pick(numbers, 8) +
            "\r\nUseVarMargin=" + pick(numbers, 8) + "\r\nMinMarginLvl=" + pick(numbers, 8) + "\r\n";
  text += "[Vantrel-AutoClose]\r\nNumElementsInSchedule=" + std::string(pick(counts, 7)) + "\r\n";
  for (int entry = 0; entry < static_cast<int>(m_random() % 4); ++entry)
    text += "Time" + std::to_string(entry) + "=" + pick(numbers, 8) + ":" + pick(numbers, 8) +
            "\r\nPattern" + std::to_string(entry) + "=" + pick(numbers, 8) + "\r\n";
  return text;
}

TextBeforeGuardPage::TextBeforeGuardPage(size_t length, char fill) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const size_t page = system.dwPageSize;
  const size_t pages = (length + page - 1) / page + 1;
  m_blockSize = pages * page;
  m_block = VirtualAlloc(nullptr, m_blockSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  char* guard = static_cast<char*>(m_block) + (pages - 1) * page;
  DWORD old;
  VirtualProtect(guard, page, PAGE_NOACCESS, &old);
  char* text = guard - length;
  std::memset(text, fill, length);
  m_text = text;
}

TextBeforeGuardPage::~TextBeforeGuardPage() { VirtualFree(m_block, 0, MEM_RELEASE); }
