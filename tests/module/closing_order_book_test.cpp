// The module keeps the host's answers to its own closing orders only, one
// copy per order, the latest answer winning.
#include "host/standin/host_records.h"
#include "module/host_data/closing_order_book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
struct Answer {
  int32_t key;
  uint32_t transactionId;
  uint32_t flags;
};

struct BookCase {
  const char* name;
  std::vector<int32_t> sent;
  std::vector<Answer> answers;
  std::string kept;  // "key:flags" of each copy, in the book's order
};

std::string Kept(const CClosingOrderBook& book) {
  std::string text;
  for (const auto& copy : book.Records()) {
    int32_t key;
    uint32_t flags;
    std::memcpy(&key, copy->bytes + host_data::order::kKey, sizeof key);
    std::memcpy(&flags, copy->bytes + host_data::order::kFlags, sizeof flags);
    text += std::to_string(key) + ":" + std::to_string(flags) + " ";
  }
  return text;
}

TEST(ClosingOrderBook, KeepsTheAnswersToItsOwnTransactions) {
  const BookCase cases[] = {
      {"an answer to a sent transaction is kept", {7}, {{1, 7, 1}}, "1:1 "},
      {"an answer to another transaction is not", {7}, {{1, 8, 1}}, ""},
      {"a refused transaction (-1) answers nothing", {-1}, {{1, 0xFFFFFFFFu, 1}}, ""},
      {"a later answer of the same order replaces the copy", {7}, {{1, 7, 1}, {1, 7, 2}}, "1:2 "},
      {"orders with other keys are added in turn", {7, 9}, {{1, 7, 1}, {2, 9, 1}, {1, 7, 0}}, "1:0 2:1 "},
      {"an old transaction still counts after newer ones", {3, 4, 5}, {{5, 3, 1}}, "5:1 "},
  };
  for (const BookCase& c : cases) {
    CClosingOrderBook book;
    for (int32_t id : c.sent) book.NoteSentTransaction(id);
    for (const Answer& answer : c.answers) {
      OrderSpec spec;
      spec.key = answer.key;
      spec.transactionId = answer.transactionId;
      spec.flags = answer.flags;
      const bool ours = book.OnOrderRecord(BuildOrder(spec).bytes.data()) != nullptr;
      EXPECT_EQ(ours, book.WasSent(answer.transactionId)) << c.name;
    }
    EXPECT_EQ(Kept(book), c.kept) << c.name;
  }
}
}  // namespace
