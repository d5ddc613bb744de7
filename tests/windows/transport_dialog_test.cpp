// The mailing settings dialog: which controls take input for the channels
// switched on, and the real dialog under Xvfb shown from settings, edited and
// closed with OK.
#include <gtest/gtest.h>

#include <set>

#include "support/fake_dialog_controls.h"
#include "support/focus_watch.h"
#include "support/table_environment.h"
#include "support/window_text.h"
#include "windows/dialogs/get_pass_dlg.h"
#include "windows/dialogs/settings_transport_dlg.h"
#include "windows/dialogs/transport_form.h"

namespace {

TEST(TransportForm, ControlsTakeInputOnlyForTheChannelsSwitchedOn) {
  const std::set<int> mail = {1026, 1027, 1028, 1029, 1036, 1034, 1210, 1211, 1212};
  std::set<int> login = mail, separate = mail;
  login.insert({1030, 1219});
  separate.erase(1211);
  const struct { std::set<int> checked, enabled; } cases[] = {
      {{}, {}}, {{1029, 1212}, {}}, {{1025}, mail}, {{1025, 1029}, login}, {{1025, 1212}, separate},
      {{1032}, {1033, 1038}}, {{1037}, {1033, 1038}}, {{1035}, {1033, 1038, 1087}}, {{1040}, {1043, 1044, 1046, 1220}},
  };
  for (const auto& c : cases) {
    FakeDialogControls controls;
    controls.checked = c.checked;
    EnableTransportControls(controls);
    for (int id : {1026, 1027, 1028, 1029, 1030, 1219, 1036, 1034, 1210, 1211, 1212, 1033, 1038, 1087, 1043, 1044,
                   1046, 1220})
      EXPECT_EQ(controls.enabled.at(id), c.enabled.count(id) > 0) << id << " with " << c.checked.size();
  }
}

// Every text and box shown from settings comes back into fresh settings.
TEST(TransportForm, OkKeepsEveryTextAndBoxShown) {
  TTransportSettings shown;
  shown.SMTPServer = "smtp", shown.Port = "2525", shown.SenderAddress = "from@x", shown.MailLogin = "login";
  shown.ZenkEmailsVsClientCodesFile = "emails.txt", shown.ZenkUIDsVsClientCodesFile = "uids.txt";
  shown.MC2ZDirectories = "C:\\mc2z", shown.DSN = "dsn", shown.DBLogin = "dblogin", shown.DBTable = "Calls";
  shown.NotifEnabledAtStart = false, shown.NotifyByEmail = false, shown.IsAuthorisationUsed = true;
  shown.UseBlindCopy = true, shown.SendSeparateEmails = true, shown.NotifyByTraderMsg = true;
  shown.NotifyByMC2Z = true, shown.NotifyBySMS = true, shown.NeedSaveToDB = true;
  FakeDialogControls controls;
  FillTransportControls(shown, controls);
  TTransportSettings kept;
  TakeTransportControls(controls, kept);
  EXPECT_EQ(kept.SMTPServer + kept.Port + kept.SenderAddress + kept.MailLogin, "smtp2525from@xlogin");
  EXPECT_EQ(kept.ZenkEmailsVsClientCodesFile + kept.ZenkUIDsVsClientCodesFile + kept.MC2ZDirectories,
            "emails.txtuids.txtC:\\mc2z");
  EXPECT_EQ(kept.DSN + kept.DBLogin + kept.DBTable, "dsndbloginCalls");
  EXPECT_EQ(std::vector<bool>({kept.NotifEnabledAtStart, kept.NotifyByEmail, kept.IsAuthorisationUsed,
                               kept.UseBlindCopy, kept.SendSeparateEmails, kept.NotifyByTraderMsg,
                               kept.NotifyByMC2Z, kept.NotifyBySMS, kept.NeedSaveToDB}),
            std::vector<bool>({false, false, true, true, true, true, true, true, true}));
}

// The user empties both limits and the UID file, types copy addresses,
// switches the database journal on and sets its password; OK asks about the
// UID file twice: Cancel keeps the dialog open on that edit, OK closes it.
TEST(TransportDialog, ShowsTheSettingsAndTakesTheEditsOnOK) {
  TableEnvironment env;
  TTransportSettings live;
  live.SMTPServer = "smtp.example";
  live.MinTime = 90;
  live.MinParamChange = 0.25;
  live.CopyEmails = {"a@x", "b@y"};
  live.NotifyByMC2Z = true;
  live.ZenkUIDsVsClientCodesFile = "uids.txt";
  CVantrelSettingsTransportDlg dialog(live);
  char before[MAX_PATH] = {}, after[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  std::vector<std::string> shown, asked;
  bool focusOnUidFile = false, databaseEnabled = false;
  FocusWatch focus;
  DialogDriver edit([&](HWND window) {
    for (int id : {1026, 1065, 1066, 1210, 1046, 1033}) shown.push_back(ItemText(window, id));
    for (int id : {1065, 1066, 1033}) SetDlgItemTextA(window, id, "");
    SetDlgItemTextA(window, 1210, " c@z ,d@w");
    CheckDlgButton(window, 1040, BST_CHECKED);
    DialogDriver::Press(window, 1040);
    databaseEnabled = IsWindowEnabled(GetDlgItem(window, 1043));
    DialogDriver password([](HWND entry) {
      for (int id : {1220, 1221}) SetDlgItemTextA(entry, id, "dbpw");
      CheckDlgButton(entry, 1222, BST_CHECKED);
      DialogDriver refusal([](HWND box) { DialogDriver::Press(box, IDCANCEL); });  // none expected
      DialogDriver::Press(entry, IDOK);
      if (IsWindowVisible(entry)) DialogDriver::Press(entry, IDCANCEL);
    });
    DialogDriver::Press(window, 1220);
    DialogDriver browse([](HWND files) {
      SetDlgItemTextA(files, 0x47c, "C:\\windows\\win.ini");
      DialogDriver::Press(files, IDOK);
    });
    DialogDriver::Press(window, 1034);
    shown.push_back(ItemText(window, 1036));
    for (int answer : {IDCANCEL, IDOK}) {
      DialogDriver question([&, answer](HWND box) {
        asked.push_back(ItemText(box, 0xFFFF));
        DialogDriver::Press(box, answer);
      });
      FocusWatch::Forget();
      DialogDriver::Press(window, IDOK);
      if (answer == IDCANCEL) focusOnUidFile = FocusWatch::Saw(GetDlgItem(window, 1033)) && IsWindowVisible(window);
    }
  });
  ASSERT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"smtp.example", "90", "0.250000", "a@x, b@y", "MCalls", "uids.txt",
                                             "C:\\windows\\win.ini"}));
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before) << "the chosen file's folder does not become the current one";
  EXPECT_TRUE(databaseEnabled);
  EXPECT_EQ(asked, std::vector<std::string>(2, "Без указания файла с соответствиями кодов клиентов и UID рассылка "
                                                "работать не будет. Продолжить?"));
  EXPECT_TRUE(focusOnUidFile);
  const TTransportSettings& edited = dialog.Settings();
  EXPECT_EQ(edited.MinTime, 90) << "an empty edit keeps it";
  EXPECT_EQ(edited.MinParamChange, 0.0);
  EXPECT_EQ(edited.CopyEmails, (StringList{"c@z", "d@w"}));
  EXPECT_TRUE(edited.NeedSaveToDB && edited.NotifyByMC2Z);
  EXPECT_EQ(edited.DBTable + edited.ZenkUIDsVsClientCodesFile + edited.SMTPServer, "MCalls" "" "smtp.example");
  EXPECT_EQ(CVantrelGetPassDlg(IDS_DB_PASSWORD_LABEL, edited.DBPassword).DecodePassword(), "dbpw");
  EXPECT_EQ(live.ZenkUIDsVsClientCodesFile, "uids.txt") << "the live settings are the caller's to change";
}

}  // namespace
