// The stored passwords are checked as the real VanTrel.dll reads its
// settings in the stand-in host: one that no longer turns back (damaged, or
// stored on another computer or user) is reported for the channels in use,
// and Yes opens the mailing settings where it can be entered again.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr char kMailText[] =
    "Почтовый пароль не может быть расшифрован!\nНеобходимо изменить пароль.\n\n";
constexpr char kDatabaseText[] =
    "Пароль БД не может быть расшифрован!\nНеобходимо изменить пароль.\n\n";
constexpr char kQuestion[] = "Желаете сделать это прямо сейчас?\n";
// A stored form whose check bytes do not match: it never turns back.
constexpr char kDamaged[] = "#PS100112233";

struct PasswordCase {
  const char* name;
  std::string settings;
  std::string question;  // empty: nothing is asked
  int answer;
};

const PasswordCase kCases[] = {
    {"MailOnly",
     std::string("NotifyByEmail=1\nIsAuthorisationUsed=1\nMailPass=") + kDamaged +
         "\nNeedSaveToDB=1\nDBPassword=plain\n",
     std::string(kMailText) + kQuestion, IDNO},
    {"DatabaseOnly", std::string("NeedSaveToDB=1\nDBPassword=") + kDamaged + "\n",
     std::string(kDatabaseText) + kQuestion, IDNO},
    {"BothMailFirst",
     std::string("NotifyByEmail=1\nIsAuthorisationUsed=1\nMailPass=") + kDamaged +
         "\nNeedSaveToDB=1\nDBPassword=" + kDamaged + "\n",
     std::string(kMailText) + kDatabaseText + kQuestion, IDYES},
    // Channels that are off, or a mail server without a login, use no password.
    {"UnusedPasswordsAreNotChecked",
     std::string("NotifyByEmail=1\nIsAuthorisationUsed=0\nMailPass=") + kDamaged +
         "\nNeedSaveToDB=0\nDBPassword=" + kDamaged + "\n",
     "", IDNO},
};

class StoredPasswordsTest : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(StoredPasswordsTest, AreCheckedAsTheSettingsAreRead) {
  const PasswordCase& c = GetParam();
  CleanHostProgramFolder folder;
  WriteFileBytes(folder.File("info.ini"), "[Vantrel]\n" + c.settings);
  StandInHost host;
  ASSERT_TRUE(host.CreateFrame("test host", false));
  PluginLibrary plugin{host};
  ASSERT_TRUE(plugin.Load());
  std::unique_ptr<DialogDriver> transport;
  DialogDriver question([&](HWND box) {
    if (c.answer == IDYES)
      transport.reset(new DialogDriver([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); }));
    DialogDriver::Press(box, c.answer);
  });
  EXPECT_TRUE(plugin.InitEx().ok) << "the module runs on whatever the answer";
  EXPECT_EQ(question.Ran(), !c.question.empty());
  EXPECT_EQ(question.Text(), c.question);
  if (!c.question.empty()) {
    EXPECT_EQ(question.Caption(), "Vantrel FM");
  }
  EXPECT_EQ(transport != nullptr && transport->Ran(), c.answer == IDYES);
  if (transport != nullptr) {
    EXPECT_EQ(transport->Caption(), "Параметры рассылки");
  }
  plugin.Shutdown();
}

INSTANTIATE_TEST_SUITE_P(Passwords, StoredPasswordsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
