// What the plug-in asked of the stand-in host, so tests can check it.
#pragma once

#include <map>
#include <string>
#include <vector>

class CallLog {
 public:
  void Record(int function, std::string detail = std::string()) {
    ++m_counts[function];
    m_details[function].push_back(std::move(detail));
  }
  int Count(int function) const {
    const auto found = m_counts.find(function);
    return found == m_counts.end() ? 0 : found->second;
  }
  // How often each function was asked, by function number.
  const std::map<int, int>& Counts() const { return m_counts; }
  std::vector<std::string> Details(int function) const {
    const auto found = m_details.find(function);
    return found == m_details.end() ? std::vector<std::string>() : found->second;
  }
  void Clear() {
    m_counts.clear();
    m_details.clear();
  }

 private:
  std::map<int, int> m_counts;
  std::map<int, std::vector<std::string>> m_details;
};
