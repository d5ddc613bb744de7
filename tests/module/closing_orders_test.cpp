// Closing orders sent to the host and withdrawn: the transaction strings built
// over the stand-in host's transaction forms, the ids the host answers, and
// the lines that must never go out twice.
#include "closing_orders_fixture.h"

namespace {
TEST_F(ClosingOrdersTest, TransactionStringsFollowTheFormsFields) {
  const struct { const char* security; bool buy; double price, quantity; const char* comment, *expected; } cases[] = {
      {"SiZ6", true, 123.4, 3, "Закрытие",
       "0 0 CLIENT_CODE=FIRM2[]|ACCOUNT=ACC1[]|CLASSCODE=SPBFUT[]|SECCODE=SiZ6[]|OPERATION=B[]|"
       "PRICE=123.40[]|QUANTITY=3[]|TYPE=L[]|COMMENT=Закрытие[]|ACTION=NEW_ORDER[]|"},
      {"RIZ6", false, 100000, 2.5, "ЗакрытиеПозиций",  // cut to the form's 12 characters
       "0 0 CLIENT_CODE=FIRM2[]|ACCOUNT=ACC1[]|CLASSCODE=SPBFUT[]|SECCODE=RIZ6[]|OPERATION=S[]|"
       "PRICE=100000[]|QUANTITY=2[]|TYPE=L[]|COMMENT=ЗакрытиеПози[]|ACTION=NEW_ORDER[]|"},
      // The option class's own form (0x24); a field both security code and price takes the code.
      {"RI100000BL6", true, 500, 1, "",
       "1 1 SECCODE=RI100000BL6[]|PRICE=500[]|QUANTITY=1[]|"},
  };
  for (const auto& c : cases) {
    answers = {7001};
    EXPECT_EQ(module.SendOrderTransaction("FIRM2", "ACC1", Security(c.security), c.buy, c.price, c.quantity,
                                          c.comment),
              7001);
    EXPECT_EQ(sent.back(), c.expected);
  }
  answers = {7002};
  EXPECT_EQ(module.SendOrderNumTransaction(Security("RIZ6"), 1234567890.0), 7002);
  EXPECT_EQ(sent.back(), "0 1 OrderNum=1234567890[]");
}

TEST_F(ClosingOrdersTest, ATransactionThatCannotBeBuiltWholeIsNotSent) {
  DialogDriver refused([](HWND box) { DialogDriver::Press(box, IDOK); });
  EXPECT_EQ(module.SendOrderTransaction("FIRM1", "ACC1", Security("LGZ6"), true, 10, 1, ""), -1);
  EXPECT_TRUE(refused.Ran()) << "the user is told";
  std::string failure;
  EXPECT_EQ(module.SendOrderTransaction("FIRM1", "ACC1", Security("NFZ6"), true, 10, 1, "", &failure), -1)
      << "a class without a form";
  EXPECT_EQ(failure, "Нет формы заявки для класса NOFORM");
  EXPECT_TRUE(sent.empty());
}

// The option class has order forms but none to withdraw with.
TEST_F(ClosingOrdersTest, AWithdrawalWithoutAWithdrawalFormIsRefusedWithAMessage) {
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  EXPECT_EQ(module.SendOrderNumTransaction(Security("RI100000BL6"), 555), -1);
  EXPECT_EQ(told.Text(), "Заявка не снята: нет формы снятия заявок для класса SPBOPT.");
  EXPECT_TRUE(sent.empty()) << "nothing goes to the host with form -1";
}

TEST_F(ClosingOrdersTest, ALineTakenByTheHostIsNeverSentAgain) {
  const TClientRiskRecord client("FIRM1", "ACC1");
  TOrderLine line = MakeOrderLine(client, Security("RIZ6"), false, 100000, 3, 0);
  answers = {-1, 9001};
  EXPECT_EQ(module.SendClosingOrders(line), -1) << "refused";
  EXPECT_TRUE(line.Sendable());
  EXPECT_EQ(std::to_string(line.Refused) + " " + line.RefusalReason, "1 Отказ") << "the host's reason";
  EXPECT_EQ(module.SendClosingOrders(line), 9001) << "a refused line may go again";
  EXPECT_EQ(std::to_string(line.Refused) + " " + line.RefusalReason, "0 ");
  EXPECT_EQ(module.SendClosingOrders(line), -1);
  EXPECT_EQ(line.TransId, 9001) << "the id of the order at the exchange is kept";
  EXPECT_EQ(sent.size(), 2u);
}

}  // namespace
