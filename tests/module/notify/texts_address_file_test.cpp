#include "module/notify/address_file.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

namespace {

// "code|firm=client code:uids:emails;" for every record.
std::string Dump(const TAddressMap& map) {
  std::string text;
  for (const TAddressMap::value_type& entry : map) {
    text += entry.first.first + "|" + entry.first.second + "=" + entry.second.ClientCode + ":";
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
  EXPECT_EQ(Dump(map), "A|BC=A:6 :;AB|C=AB:5 :;C1|=C1:12 15 :a@x.ru, b@y.ru;C1|F7=C1:9 :c@z.ru;"
                       "C2|=C2:12 15 :;C3|=C3:12 :;C6|=C6::;" + k33 + "|=" + k33 + ":1 :;");
  WriteFileBytes(uids, "C1=7");
  ASSERT_TRUE(ReloadAddressFile(uids, EAddressFileKind::kUids, map));
  EXPECT_EQ(Dump(map), "A|BC=A::;AB|C=AB::;C1|=C1:7 :a@x.ru, b@y.ru;C1|F7=C1::c@z.ru;C2|=C2::;"
                       "C3|=C3::;C6|=C6::;" + k33 + "|=" + k33 + "::;");
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
  EXPECT_EQ(Dump(module.MarginCalls().Addresses()), "C1|=C1:5 :a@x.ru;");
  transport.ZenkUIDsVsClientCodesFile.clear();
  module.ReloadAddressFiles();
  EXPECT_EQ(Dump(module.MarginCalls().Addresses()), "C1|=C1::a@x.ru;");
}

// Client 12 of firm 345 is not client 12345: neither finds the other's
// line, whichever firm the client is of.
TEST(AddressFileTest, ACodeAndFirmLineIsFoundOnlyForThatCodeAndFirm) {
  CTempFolder folder;
  WriteFileBytes(folder.File("uids.txt"), "12, 345=7\r\n1, 2345=8\r\n");
  WriteFileBytes(folder.File("emails.txt"), "12, 345=a@x.ru\r\n");
  TAddressMap map;
  ASSERT_TRUE(ReadAddressFile(folder.File("uids.txt"), EAddressFileKind::kUids, map));
  ASSERT_TRUE(ReadAddressFile(folder.File("emails.txt"), EAddressFileKind::kEmails, map));
  for (const char* firm : {"", "345", "F"}) {
    EXPECT_EQ(ChooseUidRecord(map, "12345", firm), nullptr) << firm;
    EXPECT_EQ(ChooseEmailRecord(map, "12345", firm), nullptr) << firm;
    EXPECT_EQ(ChooseUidRecord(map, "123", "45"), nullptr) << firm;
  }
  ASSERT_NE(ChooseUidRecord(map, "12", "345"), nullptr);
  EXPECT_EQ(ChooseUidRecord(map, "12", "345")->Uids, std::vector<int>{7});
  EXPECT_EQ(ChooseUidRecord(map, "1", "2345")->Uids, std::vector<int>{8});
  EXPECT_EQ(ChooseEmailRecord(map, "12", "345")->Emails, StringList{"a@x.ru"});
}

// A UID that is not a whole number of 32 bits is skipped with a line that
// names the file and the line, never taken as UID 0.
TEST(AddressFileTest, AUidThatIsNotANumberIsLoggedAndSkipped) {
  CleanHostProgramFolder hostFolder;
  CTempFolder folder;
  CVantrelModule module(GetModuleHandleA(nullptr));
  module.Settings().TraceLogLevel = 1;
  TTransportSettings& transport = module.Transport();
  transport.ZenkUIDsVsClientCodesFile = folder.File("uids.txt");
  transport.ZenkEmailsVsClientCodesFile = folder.File("emails.txt");
  WriteFileBytes(transport.ZenkUIDsVsClientCodesFile,
                 "C1=12, x7, -3\r\nC2=7x,,+4\r\nC3=2147483648, 2147483647, 0\r\n");
  WriteFileBytes(transport.ZenkEmailsVsClientCodesFile, "C1=a@x.ru,,b@x.ru\r\n");
  module.ReloadAddressFiles();
  EXPECT_EQ(Dump(module.MarginCalls().Addresses()),
            "C1|=C1:12 -3 :a@x.ru, , b@x.ru;C2|=C2:4 :;C3|=C3:2147483647 0 :;");
  std::string expected;
  for (const auto& error : {std::make_pair("x7", 1), {"7x", 2}, {"", 2}, {"2147483648", 3}})
    expected += "ERROR: UID \"" + std::string(error.first) + "\" in line " +
                std::to_string(error.second) + " of \"" + transport.ZenkUIDsVsClientCodesFile +
                "\" is not a number, skipped.\n";
  EXPECT_EQ(LogMessages(ReadFileBytes(hostFolder.File("VantrelFM.log")), "ERROR: "), expected);
}

}  // namespace
