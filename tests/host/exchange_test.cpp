// The stand-in exchange: the plug-in's transactions through host function
// 48, each taken with a transaction id or refused with a reason, and the
// order records it pushes through callback entry 22 as the steps play.
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"

#include "host_test_support.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {
constexpr char kScenario[] =
    "[Class1]\nCode=SPBFUT\nFlags=0x48\n[Form1]\nClass=SPBFUT\nFlags=0x4\nFields=order\n[Form2]\nClass=SPBFUT\nFlags=0x1\n"
    "[Security1]\nClass=SPBFUT\nCode=RIZ6\nlast=100000\n[Security2]\nClass=SPBFUT\nCode=BRF7\nDecimals=2\nlast=75.5\n"
    "[Limit1]\nFirm=MC0001\nAccount=A90001\nId=1\n[Step1]\nAt=1000\nFillOrder=1 1; 9 1\n"
    "[Step2]\nAt=2000\nSetParam=BRF7 last 80.3\n[Step3]\nAt=3000\nRefuse=1\n";

std::string Order(const std::string& security, const char* operation, const char* price, const char* quantity,
                  const char* type = "L", const char* extra = "") {
  return "ACTION=NEW_ORDER[]|CLIENT_CODE=C001[]|ACCOUNT=A90001[]|CLASSCODE=SPBFUT[]|SECCODE=" + security +
         "[]|OPERATION=" + operation + "[]|PRICE=" + price + "[]|QUANTITY=" + quantity + "[]|TYPE=" + type +
         "[]|COMMENT=VanTrel close[]|" + extra;
}

// Each order record as "key number flags firm account client security price quantity balance transaction
// comment exchange".
std::vector<std::string> g_records;
BOOL __stdcall TakeRecord(uint32_t, uint32_t code, const void* data, uint32_t) {
  if (code != 32973) return TRUE;
  char text[256];
  snprintf(text, sizeof text, "%d %lld %u %s %s %s %d %lld %lld %lld %u %s %s", Field<int32_t>(data, 0),
           Field<long long>(data, 8), Field<uint32_t>(data, 16), TextAt(data, 120).c_str(), TextAt(data, 133).c_str(),
           TextAt(data, 200).c_str(), Field<int32_t>(data, 148), Field<long long>(data, 152),
           Field<long long>(data, 160), Field<long long>(data, 168), Field<uint32_t>(data, 196),
           TextAt(data, 20).c_str(), TextAt(data, 244).c_str());
  g_records.push_back(text);
  EXPECT_EQ(Field<uint64_t>(data, 356) != 0, (Field<uint32_t>(data, 16) & 2) != 0) << "withdrawn, with its time";
  return TRUE;
}

TEST(Exchange, TakesOrRefusesTransactionsAndAnswersAsTheStepsPlay) {
  std::ofstream(TestProgramFolder() + "\\exchange.ini", std::ios::binary) << kScenario;
  StandInHost host;
  ASSERT_TRUE(LoadScenario(TestProgramFolder() + "\\exchange.ini", host, nullptr));
  DeleteFileA((TestProgramFolder() + "\\exchange.ini").c_str());
  PluginLibrary library{host};
  host::CallbackSig<22>::Fn take = TakeRecord;
  library.Callbacks()[22] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(take));
  ScenarioPlayer player{host, library};
  player.Start();
  // Form 0 takes orders, form 1 withdrawals; there is no form 5.
  const struct { int form; std::string text; const char* answer; } cases[] = {
      {0, Order("BRF7", "S", "80.25", "3"), "1 1 "},
      {0, Order("RIZ6", "B", "99990", "2"), "1 2 "},
      {0, "ACCOUNT=A90001|PRICE=1", "0 -1 Неверный формат транзакции"},
      {0, Order("XXX", "S", "1", "1"), "0 -1 Неизвестный инструмент: XXX"},
      {0, Order("RIZ6", "S", "100000", "2.5"), "0 -1 Неверное количество: 2.5"},
      {0, Order("RIZ6", "S", "-5", "1"), "0 -1 Неверная цена: -5"},
      {0, Order("RIZ6", "S", "100000", "1", "M"), "0 -1 Принимаются только лимитные заявки"},
      {0, Order("RIZ6", "S", "100000", "1", "L", "FOO=1[]"), "0 -1 Поле не из формы транзакции: FOO"},
      {0, "ACCOUNT=A90001[]|CLASSCODE=SPBFUT[]|SECCODE=RIZ6[]|OPERATION=S[]|QUANTITY=1[]", "0 -1 Не хватает полей заявки"},
      {5, Order("RIZ6", "B", "1", "1"), "0 -1 Нет формы транзакции"},
      {1, "OrderNum=1000002[]", "1 3 "},  // withdrawals name the exchange's order number
      {1, "OrderNum=1000002[]", "0 -1 Заявка 1000002 уже не активна"},
      {1, "OrderNum=999[]", "0 -1 Заявка 999 не найдена"},
  };
  for (const auto& c : cases) {
    char error[1024] = {};
    int id = -1;
    const int answer = Function<48>(host)(0, c.form, c.text.c_str(), 1, error, &id);
    EXPECT_EQ(std::to_string(answer) + " " + std::to_string(id) + " " + error, c.answer) << c.text;
  }
  ASSERT_EQ(host.Exchange().Transactions().size(), 13u) << "every transaction is kept";
  EXPECT_EQ(host.Exchange().Transactions()[2].text, "ACCOUNT=A90001|PRICE=1");
  EXPECT_TRUE(g_records.empty()) << "answers wait for the host to deliver them";

  // Taken active (1, with 8 a limit order and 4 a sell), withdrawn (2), partly filled, filled at the price.
  for (int at : {0, 1000, 2000}) player.PlayDue(at);
  EXPECT_EQ(g_records, (std::vector<std::string>{
                           "1 1000001 13 MC0001 A90001 C001 1 8025 3 3 1 VanTrel close EXCH",
                           "2 1000002 9 MC0001 A90001 C001 0 99990 2 2 2 VanTrel close EXCH",
                           "2 1000002 10 MC0001 A90001 C001 0 99990 2 2 2 VanTrel close EXCH",
                           "1 1000001 13 MC0001 A90001 C001 1 8025 3 2 1 VanTrel close EXCH",
                           "1 1000001 12 MC0001 A90001 C001 1 8025 3 0 1 VanTrel close EXCH",
                       }));
  player.PlayDue(3000);
  char error[1024] = {};
  EXPECT_EQ(Function<48>(host)(0, 0, Order("RIZ6", "B", "100010", "2").c_str(), 1, error, nullptr), 0);
  EXPECT_STREQ(error, "Транзакции не принимаются");
}
}  // namespace
