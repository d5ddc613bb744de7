// What a manager types into the settings dialogs of the real VanTrel.dll in
// the stand-in host: a filter file path too long for the profile functions
// is refused by every route that reads it, with the terminal alive and the
// settings saved at unload; each text edit takes no more than info.ini gives
// back at the next start, and a long message body comes back whole.
#include <windows.h>

#include <commctrl.h>

#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/host_data/client_filter_file.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/notification_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
constexpr char kRefusal[] = "Внимание: Путь к файлу фильтра длиннее 259 символов: фильтр из этого файла не читается.";
const std::string kLongPath = "C:\\" + std::string(597, 'p');  // 600 characters

// The terminal run once with the plug-in; closing it saves the settings and
// unloads the plug-in.
class Terminal {
 public:
  bool Start() { return host.CreateFrame("test host", false) && plugin.Load() && plugin.InitEx().ok; }
  // The plug-in's menu item of that caption, the action run on the dialog
  // it opens; the dialog's caption.
  std::string Run(const std::string& caption, const DialogDriver::Action& action) {
    DialogDriver driver(action);
    EXPECT_EQ(plugin.Callback<2>(host.Frame(), WM_COMMAND, MAKEWPARAM(HostIdOf(caption), 0), 0), 1) << caption;
    return driver.Caption();
  }
  bool Close() {
    const bool done = plugin.Callback<3>();
    plugin.Unload();
    return done;
  }

  StandInHost host;
  PluginLibrary plugin{host};

 private:
  UINT HostIdOf(const std::string& caption) {
    HMENU menu = host.MenuByCaption("VanTrel FM", false);
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text - 1, MF_BYPOSITION);
      if (caption == text) return GetMenuItemID(menu, i);
    }
    return 0;
  }
};

void Click(HWND window, int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }

// The user pastes the text over the edit's content, as far as the edit takes it.
void Paste(HWND window, int id, const std::string& text) {
  SendDlgItemMessageA(window, id, EM_SETSEL, 0, -1);
  SendDlgItemMessageA(window, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string EditText(HWND window, int id) {
  HWND edit = GetDlgItem(window, id);
  std::vector<char> text(GetWindowTextLengthA(edit) + 1);
  GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
  return text.data();
}

// The message box the click opens, answered OK: "caption: text".
std::string Told(HWND window, int button) {
  DialogDriver box([](HWND message) { DialogDriver::Press(message, IDOK); });
  DialogDriver::Press(window, button);
  return box.Ran() ? box.Caption() + ": " + box.Text() : "";
}

std::string Refused(size_t length) {
  return "ERROR: the client filter file is not read, its path is " + std::to_string(length) +
         " characters long (at most 259): \"" + kLongPath.substr(0, 64) + "...\".\n";
}

// A path that fits but names no file: the filter is emptied, the log names
// the file and the manager who asked is told the table shows every client.
std::string Unread(const std::string& path) {
  return "ERROR: the client filter file \"" + path +
         "\" can not be opened: the client filter is empty, every client is shown.\n";
}
std::string UnreadTold(const std::string& path) {
  return "Внимание: Файл фильтра клиентов не открывается:\n" + path +
         "\n\nФильтр клиентов пуст: в таблице показываются все клиенты.";
}

class TypedSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteIniValue(Ini(), "Vantrel", "TraceLogLevel", "1"); }
  std::string Ini() const { return folder.File("info.ini"); }
  std::string Setting(const char* key) const { return ReadIniValue(Ini(), "Vantrel", key); }
  std::string Errors() const { return LogMessages(ReadFileBytes(folder.File("VantrelFM.log")), "ERROR"); }

  CleanHostProgramFolder folder;
};

// The profile functions take a path shorter than MAX_PATH.
TEST(ClientFilterPath, FitsBelowMaxPath) {
  for (const auto& [length, fits] : {std::pair<size_t, bool>{0, true}, {259, true}, {260, false}})
    EXPECT_EQ(ClientFilterPathFits(std::string(length, 'p')), fits) << length;
}

// The edit takes the 510 characters OK keeps; "Перезагрузить фильтр" and
// then OK, whose new path the module reads at once, are both refused and
// told, the filter left as it was. A file that does not exist is told too.
TEST_F(TypedSettingsTest, AFilterPathTooLongIsRefusedByTheReloadAndAfterOk) {
  Terminal terminal;
  ASSERT_TRUE(terminal.Start());
  std::string held;
  std::vector<std::string> told;
  EXPECT_EQ(terminal.Run("Общие настройки",
                         [&](HWND dialog) {
                           Click(dialog, 1096);
                           Paste(dialog, 1097, "C:\\no such filter.ini");
                           told.push_back(Told(dialog, 1099));
                           Paste(dialog, 1097, kLongPath);
                           held = EditText(dialog, 1097);
                           told.push_back(Told(dialog, 1099));
                           SetDlgItemTextA(dialog, 1010, "7");
                           told.push_back(Told(dialog, IDOK));
                         }),
            "Настройки");
  EXPECT_EQ(held, kLongPath.substr(0, 510));
  EXPECT_EQ(told, (std::vector<std::string>{UnreadTold("C:\\no such filter.ini"), kRefusal, kRefusal}));
  EXPECT_EQ(Errors(), Unread("C:\\no such filter.ini") + Refused(510) + Refused(510));
  EXPECT_EQ(terminal.host.Log().Count(54), 0) << "no client filter emptied by the long path";
  EXPECT_TRUE(terminal.Close());
  EXPECT_EQ(Setting("FilterFileName"), held);
  EXPECT_EQ(Setting("NeedReadFilterFromFile"), "1");
  EXPECT_EQ(Setting("RecalcRiskParamsInterval"), "7000");
}

// info.ini's path, read at the start, is refused when a risk table opens and
// reads it; the table's own file edit takes and passes the reader no more
// than 259 characters, as many as the file dialog gives, which it takes.
TEST_F(TypedSettingsTest, AFilterPathTooLongInInfoIniIsRefusedWhenATableOpens) {
  WriteIniValue(Ini(), "Vantrel", "NeedReadFilterFromFile", "1");
  WriteIniValue(Ini(), "Vantrel", "FilterFileName", kLongPath);
  Terminal terminal;
  ASSERT_TRUE(terminal.Start());
  std::string refusedAtOpen, toldByReload;
  int emptiedAtOpen = -1, emptiedByReload = -1;
  EXPECT_EQ(terminal.Run("Риск-параметры на срочном рынке",
                         [&](HWND dialog) {
                           refusedAtOpen = Errors();
                           emptiedAtOpen = terminal.host.Log().Count(54);
                           Click(dialog, 1129);
                           EXPECT_EQ(SendDlgItemMessageA(dialog, 1130, EM_GETLIMITTEXT, 0, 0), 259);
                           SetDlgItemTextA(dialog, 1130, kLongPath.c_str());
                           const int before = terminal.host.Log().Count(54);
                           toldByReload = Told(dialog, 1132);
                           emptiedByReload = terminal.host.Log().Count(54) - before;
                           DialogDriver::Press(dialog, IDCANCEL);
                         }),
            "Создание таблицы");
  EXPECT_EQ(refusedAtOpen, Refused(511));
  EXPECT_EQ(emptiedAtOpen, 0) << "the new table's filter left as it was";
  EXPECT_EQ(emptiedByReload, 1) << "the table's own file was read";
  EXPECT_EQ(toldByReload, UnreadTold(kLongPath.substr(0, 259)));
  EXPECT_EQ(Errors(), refusedAtOpen + Unread(kLongPath.substr(0, 259)));
  EXPECT_TRUE(terminal.Close());
  EXPECT_EQ(Setting("FilterFileName"), kLongPath.substr(0, 511));
  EXPECT_EQ(Setting("ConsiderFilters"), "1") << "written at unload only";
}

// Texts longer than is kept, pasted into their edits, saved at unload and
// shown again at the next start.
TEST_F(TypedSettingsTest, EachEditHoldsWhatTheNextStartGivesBack) {
  std::string body;
  for (int line = 0; line < 200; ++line) body += std::to_string(1000 + line) + std::string(104, 'b') + "\r\n";
  ASSERT_EQ(body.size(), 22000u);
  const char kGeneral[] = "Общие настройки", kNotifications[] = "Настройки оповещений";
  const struct {
    const char* command;
    int page;     // of the notification settings; 0: none
    int subPage;  // 0: the page itself
    int edit;
    std::string pasted;
    size_t kept;
  } rows[] = {
      {kGeneral, 0, 0, 1189, std::string(3000, 'l'), 510},          // LogFileName
      {kNotifications, 107, 0, 1015, std::string(600, 's'), 511},   // LowFundsTopic
      {kNotifications, 108, 120, 1185, std::string(600, 't'), 511}, // SFRTopic2
      {kNotifications, 110, 0, 1068, body, body.size()},            // MLBody
  };
  // The user picks the page in the tree; the window holding the edit.
  const auto windowOf = [](HWND dialog, int page, int subPage) {
    if (page == 0) return dialog;
    HWND window = OpenNotificationPage(dialog, page);
    return subPage != 0 ? GetDlgItem(window, subPage) : window;
  };
  // The texts the edits hold, pasted into at the first start, shown at the next.
  const auto session = [&](bool paste) {
    std::vector<std::string> held;
    Terminal terminal;
    EXPECT_TRUE(terminal.Start());
    for (const char* command : {kGeneral, kNotifications})
      terminal.Run(command, [&](HWND dialog) {
        for (const auto& row : rows) {
          if (std::string(row.command) != command) continue;
          HWND window = windowOf(dialog, row.page, row.subPage);
          if (paste) Paste(window, row.edit, row.pasted);
          held.push_back(EditText(window, row.edit));
        }
        DialogDriver::Press(dialog, IDOK);
      });
    EXPECT_TRUE(terminal.Close());
    return held;
  };
  // Texts this long are told apart by their lengths; a failure prints those.
  const std::vector<std::string> typed = session(true);
  ASSERT_EQ(typed.size(), 4u);
  for (size_t n = 0; n < typed.size(); ++n)
    EXPECT_TRUE(typed[n] == rows[n].pasted.substr(0, rows[n].kept))
        << rows[n].edit << " holds " << typed[n].size() << " characters, not " << rows[n].kept;
  EXPECT_TRUE(Setting("LogFileName") == typed[0]);
  EXPECT_TRUE(Setting("LowFundsTopic") == typed[1]);
  const std::vector<std::string> shown = session(false);
  ASSERT_EQ(shown.size(), 4u);
  for (size_t n = 0; n < typed.size(); ++n)
    EXPECT_TRUE(shown[n] == typed[n]) << rows[n].edit << " shows " << shown[n].size() << " characters of "
                                      << typed[n].size();
}
}  // namespace
