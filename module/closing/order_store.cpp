#include "module/closing/order_store.h"

#include <algorithm>

namespace {
constexpr uint32_t kOrderActive = 1, kOrderWithdrawn = 2;
}  // namespace

const COrderStore::Key COrderStore::kEveryClient;

TOrderLine& COrderStore::Add(const TOrderLine& line) {
  Lines& lines = m_lines[KeyOf(line.Account, line.Firm)];
  lines.push_back(std::make_unique<TOrderLine>(line));
  return *lines.back();
}

const COrderStore::Lines* COrderStore::Find(const Key& key) const {
  const auto found = m_lines.find(key);
  return found == m_lines.end() ? nullptr : &found->second;
}

TOrderLine* COrderStore::LineAt(const Key& key, size_t index) {
  const auto found = m_lines.find(key);
  if (found == m_lines.end() || index >= found->second.size()) return nullptr;
  return found->second[index].get();
}

void COrderStore::RemoveUnsent(const Key& key) {
  const auto found = m_lines.find(key);
  if (found == m_lines.end()) return;
  Lines& lines = found->second;
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const std::unique_ptr<TOrderLine>& line) { return line->NotTaken(); }),
              lines.end());
}

void COrderStore::RemoveLine(const Key& key, size_t index) {
  TOrderLine* line = LineAt(key, index);
  if (line == nullptr || !line->NotTaken()) return;
  Lines& lines = m_lines[key];
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
}

int COrderStore::Count(const Key& key, const LineTest& test) const {
  int count = 0;
  for (const auto& entry : m_lines)
    if (key == kEveryClient || entry.first == key)
      count += static_cast<int>(std::count_if(entry.second.begin(), entry.second.end(),
                                              [&](const std::unique_ptr<TOrderLine>& line) { return test(*line); }));
  return count;
}

void COrderStore::ForEach(const Key& key, const std::function<void(TOrderLine&)>& action) {
  for (auto& entry : m_lines)
    if (key == kEveryClient || entry.first == key)
      for (auto& line : entry.second) action(*line);
}

void COrderStore::Advance(int32_t transId, uint32_t flags, double orderNum, const FILETIME& orderTime) {
  if (transId == kNoTransaction) return;
  ForEach(kEveryClient, [&](TOrderLine& line) {
    if (line.TransId != transId) return;
    line.State = (flags & kOrderActive) != 0      ? kLineActive
                 : (flags & kOrderWithdrawn) != 0 ? kLineWithdrawn
                                                  : kLineExecuted;
    line.OrderNum = orderNum;
    line.OrderTime = orderTime;
    line.Refused = false;
    line.RefusalReason.clear();
  });
}
