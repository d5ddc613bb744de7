// HostileHost: the stand-in host turned faulty, for robustness runs. Put over
// a StandInHost, it answers some of the plug-in's questions the way a buggy
// host might (counts far too large, numbers that are not finite, texts that
// fill their buffer without an end, failed allocations, random results) and
// leaves the others to the stand-in. Every choice comes from a seed, so a run
// can be played again. It also makes random records, firm names, window-state
// records and info.ini texts. One exists at a time.
#pragma once

#include "host/standin/host_records.h"
#include "sdk/host_api.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class StandInHost;

class HostileHost {
 public:
  // faultPercent: how often an answer is a faulty one.
  HostileHost(StandInHost& host, uint32_t seed, int faultPercent = 50);
  ~HostileHost();  // the stand-in's own functions answer again
  HostileHost(const HostileHost&) = delete;
  HostileHost& operator=(const HostileHost&) = delete;

  std::mt19937& Random() { return m_random; }
  bool Chance(int percent);
  // Ordinary amounts most of the time, else NaN, infinities, huge or tiny.
  double Number();
  // A firm or account from a few, so records meet; sometimes a long one.
  std::string Name(const char* prefix);
  // A limit, position, removal or order record with random fields, or one
  // of another code or size, sometimes with random bytes over it.
  PushedRecord Record();
  // A window-state record: what a table saves, cut, grown or overwritten.
  std::vector<uint8_t> WindowState(const std::vector<uint8_t>& saved);
  // An info.ini with the module's keys at random values, counts among them.
  std::string InfoIni();

  // Host function 203 answers this count whenever it is asked without a list.
  void SetPortfolioCount(int32_t count) { m_portfolioCount = count; }
  // The largest count the plug-in gave host function 203 with a list.
  int32_t LargestPortfolioList() const { return m_largestList; }

 private:
  friend struct HostileFunctions;
  static HostileHost* s_current;
  StandInHost& m_host;
  uint32_t m_saved[host::kFunctionCount];
  std::mt19937 m_random;
  int m_faultPercent;
  int32_t m_portfolioCount = -1;
  int32_t m_largestList = 0;
};

// A text whose last character lies right before a page the process may not
// read, so reading one byte past its end faults.
class TextBeforeGuardPage {
 public:
  TextBeforeGuardPage(size_t length, char fill);
  ~TextBeforeGuardPage();
  TextBeforeGuardPage(const TextBeforeGuardPage&) = delete;
  TextBeforeGuardPage& operator=(const TextBeforeGuardPage&) = delete;
  const char* Text() const { return m_text; }

 private:
  void* m_block = nullptr;
  size_t m_blockSize = 0;
  const char* m_text = nullptr;
};
