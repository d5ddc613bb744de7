#include "module/notify/address_file.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"

#include <gtest/gtest.h>

namespace {

// "key=code:uids:emails;" for every record.
std::string Dump(const TAddressMap& map) {
  std::string text;
  for (const TAddressMap::value_type& entry : map) {
    text += entry.first + "=" + entry.second.ClientCode + ":";
    for (int uid : entry.second.Uids) text += std::to_string(uid) + " ";
    text += ":" + JoinWithComma(entry.second.Emails) + ";";
  }
  return text;
}

TEST(AddressFileTest, LinesGiveRecordsByCodeAndFirm) {
  CTempFolder folder;
  const std::string uids = folder.File("uids.txt"), emails = folder.File("emails.txt");
  const std::string k40(40, 'K'), k33(33, 'K');
  WriteFileBytes(uids, "C1=12, 15\r\nC2=12,,15\r\nC3=12,\r\nC1, F7=9\r\nC4\r\n\r\nC5, F\r\n" + k40 +
                           "=1\r\nAB, C=5\r\nA, BC=6\r\nC6=");
  WriteFileBytes(emails, " C1 = a@x.ru , b@y.ru\n\r\nC1,F7=c@z.ru\r");
  TAddressMap map;
  ASSERT_TRUE(ReadAddressFile(uids, EAddressFileKind::kUids, map));
  ASSERT_TRUE(ReadAddressFile(emails, EAddressFileKind::kEmails, map));
  EXPECT_EQ(Dump(map), "ABC=AB:5 6 :;C1=C1:12 15 :a@x.ru, b@y.ru;C1F7=C1:9 :c@z.ru;C2=C2:12 0 15 :;"
                       "C3=C3:12 :;C6=C6::;" + k33 + "=" + k33 + ":1 :;");
  WriteFileBytes(uids, "C1=7");
  ASSERT_TRUE(ReloadAddressFile(uids, EAddressFileKind::kUids, map));
  EXPECT_EQ(Dump(map), "ABC=AB::;C1=C1:7 :a@x.ru, b@y.ru;C1F7=C1::c@z.ru;C2=C2::;C3=C3::;C6=C6::;" +
                           k33 + "=" + k33 + "::;");
  EXPECT_FALSE(ReloadAddressFile(folder.File("none.txt"), EAddressFileKind::kEmails, map));
  EXPECT_EQ(Dump(map).find('@'), std::string::npos);
}

// The module reads both files afresh when the transport settings change; a
// path the user cleared takes that kind of address away.
TEST(AddressFileTest, TheModuleEmptiesTheListOfAClearedPath) {
  CTempFolder folder;
  CVantrelModule module(GetModuleHandleA(nullptr));
  TTransportSettings& transport = module.Transport();
  transport.ZenkUIDsVsClientCodesFile = folder.File("uids.txt");
  transport.ZenkEmailsVsClientCodesFile = folder.File("emails.txt");
  WriteFileBytes(transport.ZenkUIDsVsClientCodesFile, "C1=5");
  WriteFileBytes(transport.ZenkEmailsVsClientCodesFile, "C1=a@x.ru");
  module.ReloadAddressFiles();
  EXPECT_EQ(Dump(module.MarginCalls().Addresses()), "C1=C1:5 :a@x.ru;");
  transport.ZenkUIDsVsClientCodesFile.clear();
  module.ReloadAddressFiles();
  EXPECT_EQ(Dump(module.MarginCalls().Addresses()), "C1=C1::a@x.ru;");
}

}  // namespace
