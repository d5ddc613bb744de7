// Files the manager names, with the module in this process and its dialogs
// under Xvfb: a path as long as the file dialog gives is used whole by every
// route that takes one, and a filter or address file that cannot be opened
// is an error in the log and, where the manager's action read it, a message
// (the tables then show every client). The file dialog leaves the current
// folder, against which the address files' relative paths are read.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "resources/resource_ids.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/notification_tree.h"
#include "windows/tables/risk_params_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
enum : int {
  kFromFileBox = 1129, kFilePathEdit = 1130, kBrowseButton = 1131, kReloadButton = 1132,
  kGeneralFromFileBox = 1096, kGeneralFilePathEdit = 1097, kGeneralReloadButton = 1099,
  kBodyFromFileBox = 1206, kBodyFileEdit = 1097, kFileDialogName = 1148,
};

void Click(HWND window, int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }

// Answers with OK every box captioned "Внимание" that opens while it lives,
// keeping their texts in order.
class AttentionBoxes {
 public:
  AttentionBoxes() : timer_(SetTimer(nullptr, 0, 30, OnTimer)) { current_ = this; }
  ~AttentionBoxes() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  const std::vector<std::string>& Told() const { return told_; }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    char name[32] = {}, caption[64] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(name, "#32770") != 0 || lstrcmpA(caption, "Внимание") != 0 || !IsWindowVisible(window))
      return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr || current_ == nullptr) return;
    char text[1024] = {};
    HWND label = FindWindowExA(box, nullptr, "Static", nullptr);
    while (label != nullptr && GetWindowTextLengthA(label) == 0) label = FindWindowExA(box, label, "Static", nullptr);
    if (label != nullptr) GetWindowTextA(label, text, sizeof text);
    current_->told_.push_back(text);
    DialogDriver::Press(box, IDOK);
  }

  UINT_PTR timer_;
  std::vector<std::string> told_;
  static AttentionBoxes* current_;
};
AttentionBoxes* AttentionBoxes::current_ = nullptr;

// The terminal with three clients of firm F1 (trading accounts ACC1 to ACC3,
// which are their codes) and the module started in it; the log takes errors.
struct Terminal {
  Terminal() {
    EXPECT_TRUE(host.CreateFrame("test host", true));
    int code = 0;
    char text[256];
    EXPECT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), plugin.Callbacks(), "", CVantrelModule::kHostVersion,
                                      0, &code, text, sizeof text));
    plugin.SendUiInfo();
    g_pModule = &module;
    module.Settings().TraceLogLevel = 1;
    module.Settings().RecalcRiskParamsInterval = 0;
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>());
    module.Closing().DefaultPattern = 0;
    int32_t id = 0;
    for (const char* account : {"ACC1", "ACC2", "ACC3"}) {
      const std::vector<uint8_t> limit = LimitRecord({"F1", account, ++id, 0, 0, 1000});
      module.OnHostCommand(1, kLimitRecordCode, limit.data(), static_cast<uint32_t>(limit.size()));
    }
    module.OnHostEvent(4, "F1", 0, 0);
  }
  ~Terminal() {
    while (!module.Tables().empty()) DestroyWindow(module.Tables().front()->GetHwnd());
    module.OnModuleStop();
    g_pModule = nullptr;
  }

  // A new table through the module, its dialog answered by the action.
  CVantrelFutRiskParamsTable* OpenTable(const DialogDriver::Action& action = [](HWND dialog) {
    DialogDriver::Press(dialog, IDOK);
  }) {
    const size_t before = module.Tables().size();
    DialogDriver driver(action);
    module.CreateTable(kRiskTableType, false, 0, nullptr, 0);
    return module.Tables().size() > before ? dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back())
                                           : nullptr;
  }
  void Edit(CVantrelFutRiskParamsTable* table, const DialogDriver::Action& action) {
    DialogDriver driver(action);
    table->OnMenuCommand(kCommandEditTable, 0, 0);
  }
  void RunCommand(int command, const DialogDriver::Action& action) {
    DialogDriver driver(action);
    module.OnMenuCommand(host.Frame(), command, false);
  }
  // The clients the table shows, as "ACC1 ACC2".
  static std::string Shown(CVantrelFutRiskParamsTable* table) {
    if (table == nullptr) return "no table";
    std::string shown;
    CZPluginTableView* view = table->GetView();
    for (int line = 1; line < view->GetRowCount(); ++line)
      shown += std::string(shown.empty() ? "" : " ") + static_cast<TClientRiskRecord*>(view->GetRowObject(line))->account;
    return shown;
  }
  std::string Errors() const { return LogMessages(ReadFileBytes(folder.File("VantrelFM.log")), "ERROR"); }

  CleanHostProgramFolder folder;
  StandInHost host;
  PluginLibrary plugin{host};
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

// A file of that content whose path is exactly length characters long.
std::string FileWithPathOf(const CTempFolder& temp, size_t length, const std::string& content) {
  const std::string folder = temp.Path() + "\\" + std::string(length - temp.Path().size() - 12, 'd');
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\filter.ini";
  WriteFileBytes(path, content);
  EXPECT_EQ(path.size(), length);
  return path;
}

std::string Unreadable(const std::string& path) {
  return (path.empty() ? "Файл фильтра клиентов не указан." : "Файл фильтра клиентов не открывается:\n" + path) +
         "\n\nФильтр клиентов пуст: в таблице показываются все клиенты.";
}
const char kTooLong[] = "Путь к файлу фильтра длиннее 259 символов: фильтр из этого файла не читается.";

// The path each route is given: a file allowing ACC1 and ACC2 under a path
// of 259 characters, the most the file dialog gives; a file that does not
// exist; a path of 600 characters; none; a folder.
enum class EPath { kLongest, kMissing, kTooLong, kNone, kFolder };

// Each route from the manager's action to the file: what the tables show
// (or the body read) afterwards, what the manager was told, how many errors
// were logged naming the file.
TEST(ChosenFiles, EachRouteUsesTheWholePathAndTellsOfAFileItCannotRead) {
  CTempFolder temp;
  const std::string allowing = "[AllowedClients]\r\nACC1, F1=\r\nACC2, F1=\r\n";
  const std::string paths[] = {FileWithPathOf(temp, MAX_PATH - 1, allowing), temp.File("missing.ini"),
                               "C:\\" + std::string(597, 'p'), "", temp.Path()};
  using Route = std::function<std::string(Terminal&, const std::string&)>;
  const auto ownFile = [](const std::string& path) {
    return [path](HWND dialog) {
      Click(dialog, kFromFileBox);
      SetDlgItemTextA(dialog, kFilePathEdit, path.c_str());  // as "..." puts it
    };
  };
  const Route tableOk = [&](Terminal& t, const std::string& path) {
    CVantrelFutRiskParamsTable* table = t.OpenTable();
    t.Edit(table, [&](HWND dialog) {
      ownFile(path)(dialog);
      DialogDriver::Press(dialog, IDOK);
    });
    return Terminal::Shown(table);
  };
  const Route newTable = [&](Terminal& t, const std::string& path) {
    return Terminal::Shown(t.OpenTable([&](HWND dialog) {
      ownFile(path)(dialog);
      DialogDriver::Press(dialog, IDOK);
    }));
  };
  const Route reloadThenOk = [&](Terminal& t, const std::string& path) {
    CVantrelFutRiskParamsTable* table = t.OpenTable();
    t.Edit(table, [&](HWND dialog) {
      ownFile(path)(dialog);
      Click(dialog, kReloadButton);
      DialogDriver::Press(dialog, IDOK);
    });
    return Terminal::Shown(table);
  };
  const Route restored = [&](Terminal& t, const std::string& path) {
    CVantrelFutRiskParamsTable* table = t.OpenTable();
    table->SetFilterFromFile(true);
    table->Filter().FilterFilePath = path;
    t.host.SdkWindows().SaveLayout(t.host.MdiClient());
    DestroyWindow(table->GetHwnd());
    t.host.SdkWindows().RestoreLayout(t.plugin.Callbacks());
    t.module.UpdateRiskTables();
    return Terminal::Shown(dynamic_cast<CVantrelFutRiskParamsTable*>(t.module.Tables().back()));
  };
  const auto general = [](int button) {
    return [button](Terminal& t, const std::string& path) {
      CVantrelFutRiskParamsTable* table = t.OpenTable();
      t.RunCommand(ID_GENERAL_SETTINGS, [&](HWND dialog) {
        Click(dialog, kGeneralFromFileBox);
        SetDlgItemTextA(dialog, kGeneralFilePathEdit, path.c_str());
        if (button == kGeneralReloadButton) Click(dialog, kGeneralReloadButton);
        DialogDriver::Press(dialog, button == kGeneralReloadButton ? IDCANCEL : IDOK);
      });
      return Terminal::Shown(table);
    };
  };
  const Route newTableOfGeneralFile = [&](Terminal& t, const std::string& path) {
    t.module.Settings().NeedReadFilterFromFile = true;
    t.module.Settings().FilterFileName = path;
    return Terminal::Shown(t.OpenTable());
  };
  // The risk tables read the general file again; the message would not be
  // about the table the manager made.
  const Route newOrdersTable = [&](Terminal& t, const std::string& path) {
    t.module.Settings().NeedReadFilterFromFile = true;
    t.module.Settings().FilterFileName = path;
    t.RunCommand(ID_CLOSING_ORDERS_TABLE, [](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    return t.module.Tables().size() == 1 ? "an orders table" : "none";
  };
  const Route bodyFile = [&](Terminal& t, const std::string& path) {
    t.RunCommand(ID_NOTIFICATION_SETTINGS, [&](HWND dialog) {
      HWND page = OpenNotificationPage(dialog, 107);
      CheckDlgButton(page, kBodyFromFileBox, BST_CHECKED);
      SetDlgItemTextA(page, kBodyFileEdit, path.c_str());
      DialogDriver::Press(dialog, IDOK);
    });
    return t.module.Settings().LowFundsBody;
  };
  const Route uidFile = [&](Terminal& t, const std::string& path) {
    t.module.Transport().NotifyByMC2Z = true;
    t.module.Transport().ZenkUIDsVsClientCodesFile = path;
    t.RunCommand(ID_TRANSPORT_SETTINGS, [](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    return std::to_string(t.module.MarginCalls().Addresses().size()) + " clients with addresses";
  };
  const std::string uidFileTold = "Не открывается файл с соответствиями кодов клиентов и UID:\n" +
                                  paths[1] + "\n\nСообщения трейдера, MC2Z и SMS клиентам не отправляются.\n";
  const struct {
    const char* name;
    Route route;
    EPath path;
    std::string shown;
    std::vector<std::string> told;
    int errors;
  } rows[] = {
      {"the table's OK", tableOk, EPath::kLongest, "ACC1 ACC2", {}, 0},
      {"the table's OK", tableOk, EPath::kMissing, "ACC1 ACC2 ACC3", {Unreadable(paths[1])}, 1},
      {"the table's OK", tableOk, EPath::kFolder, "ACC1 ACC2 ACC3", {Unreadable(paths[4])}, 1},
      {"a new table", newTable, EPath::kLongest, "ACC1 ACC2", {}, 0},
      {"a new table", newTable, EPath::kMissing, "ACC1 ACC2 ACC3", {Unreadable(paths[1])}, 1},
      {"a new table", newTable, EPath::kNone, "ACC1 ACC2 ACC3", {Unreadable("")}, 1},
      {"the table's reload, then OK", reloadThenOk, EPath::kLongest, "ACC1 ACC2", {}, 0},
      // Told once, by the reload; the OK reads the file again.
      {"the table's reload, then OK", reloadThenOk, EPath::kMissing, "ACC1 ACC2 ACC3", {Unreadable(paths[1])}, 2},
      {"a restored table", restored, EPath::kMissing, "ACC1 ACC2 ACC3", {}, 1},
      {"the general OK", general(IDOK), EPath::kLongest, "ACC1 ACC2", {}, 0},
      {"the general OK", general(IDOK), EPath::kMissing, "ACC1 ACC2 ACC3", {Unreadable(paths[1])}, 1},
      {"the general reload", general(kGeneralReloadButton), EPath::kMissing, "ACC1 ACC2 ACC3",
       {Unreadable(paths[1])}, 1},
      {"a new table of the general file", newTableOfGeneralFile, EPath::kLongest, "ACC1 ACC2", {}, 0},
      {"a new table of the general file", newTableOfGeneralFile, EPath::kMissing, "ACC1 ACC2 ACC3",
       {Unreadable(paths[1])}, 1},
      {"a new table of the general file", newTableOfGeneralFile, EPath::kTooLong, "ACC1 ACC2 ACC3", {kTooLong}, 1},
      {"a new orders table", newOrdersTable, EPath::kMissing, "an orders table", {}, 1},
      {"page 107's body file", bodyFile, EPath::kLongest, "[AllowedClients]\nACC1, F1=\nACC2, F1=\n", {}, 0},
      {"the UID file", uidFile, EPath::kMissing, "0 clients with addresses", {uidFileTold}, 1},
  };
  for (const auto& row : rows) {
    const std::string& path = paths[static_cast<int>(row.path)];
    SCOPED_TRACE(std::string(row.name) + ", a path of " + std::to_string(path.size()) + " characters");
    Terminal terminal;
    AttentionBoxes boxes;
    EXPECT_EQ(row.route(terminal, path), row.shown);
    EXPECT_EQ(boxes.Told(), row.told);
    std::istringstream errors(terminal.Errors());
    int naming = 0;
    for (std::string line; std::getline(errors, line);) naming += line.find(path.substr(0, 64)) != std::string::npos;
    EXPECT_EQ(naming, row.errors) << terminal.Errors();
  }
}

// With "uids.txt", a relative name, a browse in the table dialog then OK in
// the mailing settings (which reads the address files again) leaves the
// UIDs: a margin call sent by hand still writes its message file.
TEST(ChosenFiles, ABrowseInTheTableDialogLeavesTheFolderTheAddressFilesAreReadIn) {
  CTempFolder temp;
  WriteFileBytes(temp.File("uids.txt"), "ACC1=17\r\n");
  const std::string calls = temp.File("calls");
  CreateDirectoryA(calls.c_str(), nullptr);
  char kept[MAX_PATH] = {}, afterBrowse[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, kept);
  ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
  {
    Terminal t;
    t.module.Transport().NotifyByMC2Z = true;
    t.module.Transport().MC2ZDirectories = calls;
    t.module.Transport().ZenkUIDsVsClientCodesFile = "uids.txt";
    CVantrelFutRiskParamsTable* table = t.OpenTable();
    ASSERT_NE(table, nullptr);
    std::string chosen;
    t.Edit(table, [&](HWND dialog) {
      Click(dialog, kFromFileBox);
      DialogDriver browse([](HWND files) {
        SetDlgItemTextA(files, kFileDialogName, "C:\\windows\\win.ini");
        DialogDriver::Press(files, IDOK);
      });
      Click(dialog, kBrowseButton);
      char path[MAX_PATH] = {};
      GetDlgItemTextA(dialog, kFilePathEdit, path, sizeof path);
      chosen = path;
      DialogDriver::Press(dialog, IDCANCEL);
    });
    GetCurrentDirectoryA(MAX_PATH, afterBrowse);
    AttentionBoxes boxes;
    t.RunCommand(ID_TRANSPORT_SETTINGS, [](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    t.module.SendMarginCall(1, t.module.Clients().Find("F1", "ACC1"), 0.0, "Пополните счет", false);
    EXPECT_EQ(chosen, "C:\\windows\\win.ini");
    EXPECT_EQ(std::string(afterBrowse), temp.Path());
    EXPECT_EQ(TakeMessageFiles(calls), std::vector<std::string>{"UID=17|Пополните счет"});
    EXPECT_TRUE(boxes.Told().empty());
    EXPECT_EQ(t.Errors(), "");
  }
  SetCurrentDirectoryA(kept);
}

// The table reloads another filter file in its dialog and a recalculation
// shows that file's clients; Cancel puts the filter and the rows back at
// once.
TEST(ChosenFiles, CancelAfterAReloadPutsTheTablesRowsBackAtOnce) {
  CTempFolder temp;
  const std::string own = temp.File("own.ini"), other = temp.File("other.ini");
  WriteFileBytes(own, "[AllowedClients]\r\nACC1, F1=\r\n");
  WriteFileBytes(other, "[AllowedClients]\r\nACC2, F1=\r\nACC3, F1=\r\n");
  Terminal t;
  CVantrelFutRiskParamsTable* table = t.OpenTable([&](HWND dialog) {
    Click(dialog, kFromFileBox);
    SetDlgItemTextA(dialog, kFilePathEdit, own.c_str());
    DialogDriver::Press(dialog, IDOK);
  });
  ASSERT_EQ(Terminal::Shown(table), "ACC1");
  std::string whileOpen;
  t.Edit(table, [&](HWND dialog) {
    SetDlgItemTextA(dialog, kFilePathEdit, other.c_str());
    Click(dialog, kReloadButton);
    t.module.UpdateRiskTables();
    whileOpen = Terminal::Shown(table);
    DialogDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(whileOpen, "ACC2 ACC3");
  EXPECT_EQ(Terminal::Shown(table), "ACC1");
  EXPECT_EQ(table->Filter().FilterFilePath, own);
}

}  // namespace
