// The closing settings dialog opened by menu command 40073 in the module's
// process under Xvfb, driven with messages: what it shows, patterns and
// schedule entries edited through their own dialogs, OK putting the copy in
// force (deleted patterns renumbering the risk tables), Cancel leaving the
// module's settings as they were.
#include "closing_orders_fixture.h"
#include "resources/resource_ids.h"
#include "windows/tables/risk_params_table.h"

#include <functional>
#include <memory>

namespace {

enum : int {
  kAvailable = 1151, kUsed = 1152, kAdd = 1147, kUp = 1145, kHiddenNote = 1159, kSpread = 1118, kComment = 1119,
  kPatterns = 1115, kAddPattern = 1114, kEditPattern = 1116, kDeletePattern = 1117, kSchedule = 1202,
  kAddEntry = 1122, kDeleteEntry = 1124, kAutoClose = 1199, kPatternName = 1117, kEntryTime = 1203,
  kActualize = 1157, kNotTradedNote = 1158,
};

class ClosingSettingsWindowTest : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    TClosingSettings& closing = module.Closing();
    closing.SecsForClosing = {"SiZ6", "OLD1", "RIZ6"};
    closing.ShowSecNamesInDlg = false;
    closing.Spread = 1.5;
    for (const char* name : {"Основной", "Шаблон 1", "Ночной"}) {
      closing.Patterns.push_back(std::make_unique<TClosingPattern>());
      closing.Patterns.back()->PatternName = name;
    }
    closing.DefaultPattern = 0;
    closing.AddAutoCloseEntry(600, 2, 1);
    closing.AddAutoCloseEntry(700, 1, 0);
  }

  // Runs the command with the dialog answered by the action.
  void RunCommand(const std::function<void(HWND)>& action) {
    DialogDriver driver(action);
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false), 1);
    ASSERT_TRUE(driver.Ran());
    EXPECT_EQ(driver.Caption(), "Настройки закрытия позиций");
  }
  // Presses a button of the dialog and answers the dialog or box it opens.
  static void PressAnswered(HWND dialog, int button, const std::function<void(HWND)>& answer) {
    DialogDriver driver(answer);
    DialogDriver::Press(dialog, button);
    EXPECT_TRUE(driver.Ran()) << button;
  }
  static std::vector<std::string> Items(HWND dialog, int id) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
      char text[128] = {};
      SendDlgItemMessageA(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  // The user selects the item that shows text.
  static void Select(HWND dialog, int id, const char* text) {
    const LRESULT index = SendDlgItemMessageA(dialog, id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(text));
    if (id == kPatterns)
      SendDlgItemMessageA(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else
      SendDlgItemMessageA(dialog, id, LB_SETSEL, TRUE, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static std::vector<std::string> ScheduleRows(HWND dialog) {
    HWND list = GetDlgItem(dialog, kSchedule);
    std::vector<std::string> rows;
    for (int row = 0; row < static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++row) {
      std::string cells;
      for (int column = 0; column < 3; ++column) {
        char text[64] = {};
        LVITEMA item = {};
        item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        cells += (column ? "|" : "") + std::string(text);
      }
      rows.push_back(cells);
    }
    return rows;
  }
  static std::string Text(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
  std::vector<std::string> PatternNames() {
    std::vector<std::string> names;
    for (const auto& pattern : module.Closing().Patterns) names.push_back(pattern->PatternName);
    return names;
  }
  std::vector<int> EntryPatterns() {
    std::vector<int> indices;
    for (const TScheduleEntry& entry : module.Closing().AutoCloseSchedule) indices.push_back(entry.PatternIndex);
    return indices;
  }
};

// The unseen OLD1 is counted and kept; GDZ6 added and moved up is kept in
// the user's order.
TEST_F(ClosingSettingsWindowTest, TheCommandOpensTheDialogAndOkPutsTheEditsInForce) {
  std::vector<std::string> available, used, usedAfter;
  std::string hidden, spread;
  RunCommand([&](HWND dialog) {
    available = Items(dialog, kAvailable);
    used = Items(dialog, kUsed);
    hidden = Text(dialog, kHiddenNote);
    spread = Text(dialog, kSpread);
    Select(dialog, kAvailable, "GDZ6");
    DialogDriver::Press(dialog, kAdd);
    DialogDriver::Press(dialog, kUp);
    usedAfter = Items(dialog, kUsed);
    SetDlgItemTextA(dialog, kSpread, ("2" + std::string(1, module.DecimalSeparator()) + "75").c_str());
    // Letters are taken; past the 34 characters the host keeps of an
    // order's comment, keystrokes are not.
    HWND comment = GetDlgItem(dialog, kComment);
    SetWindowTextA(comment, "");
    for (int n = 0; n < 4; ++n)
      for (const char* key = "Закрытие-7-"; *key != 0; ++key)
        SendMessageA(comment, WM_CHAR, static_cast<unsigned char>(*key), 0);
    CheckDlgButton(dialog, kAutoClose, BST_CHECKED);
    DialogDriver::Press(dialog, kAutoClose);
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(available, (std::vector<std::string>{"RIZ6", "RIH7", "SiZ6", "RI100000BL6", "GDZ6", "LGZ6", "NFZ6"}))
      << "not XXZ6 of a system class";
  EXPECT_EQ(used, (std::vector<std::string>{"SiZ6", "RIZ6"}));
  EXPECT_EQ(hidden, "Сохраняются, но не показаны (нет в терминале): 1");
  EXPECT_EQ(spread, "1" + std::string(1, module.DecimalSeparator()) + "50");
  EXPECT_EQ(usedAfter, (std::vector<std::string>{"SiZ6", "GDZ6", "RIZ6"}));
  const TClosingSettings& closing = module.Closing();
  EXPECT_EQ(closing.SecsForClosing, (StringList{"SiZ6", "GDZ6", "RIZ6", "OLD1"}));
  EXPECT_DOUBLE_EQ(closing.Spread, 2.75);
  EXPECT_EQ(closing.Comment, "Закрытие-7-Закрытие-7-Закрытие-7-З");
  EXPECT_TRUE(closing.UseAutoClose);
}

// The host's short names where it has them; a halted security is warned
// of until the list is brought up to date from the host's positions.
TEST_F(ClosingSettingsWindowTest, ActualizingDropsHaltedSecuritiesAndAddsThoseOfThePositions) {
  SecuritySpec halted;
  halted.classCode = "SPBFUT", halted.code = "HLZ6", halted.type = 4, halted.trading = -1;
  halted.shortName = "Остановлен";
  host.Records().AddSecurity(halted);
  for (const char* code : {"GDZ6", "HLZ6", "XXZ6", "RIZ6"}) {
    PositionSpec position;
    position.firm = "FIRM1", position.account = "ACC1", position.security = code;
    host.Records().AddPosition(BuildPosition(position).bytes);
  }
  module.Closing().SecsForClosing = {"HLZ6", "OLD1", "RIZ6"};
  module.Closing().ShowSecNamesInDlg = true;
  std::string warning, warningAfter;
  std::vector<std::string> used, usedAfter;
  RunCommand([&](HWND dialog) {
    warning = Text(dialog, kNotTradedNote);
    used = Items(dialog, kUsed);
    DialogDriver::Press(dialog, kActualize);
    warningAfter = Text(dialog, kNotTradedNote);
    usedAfter = Items(dialog, kUsed);
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(warning, "Имеются инструменты, торговля по которым не производится!");
  EXPECT_EQ(used, (std::vector<std::string>{"Остановлен", "RIZ6"}));
  EXPECT_EQ(warningAfter, "");
  EXPECT_EQ(usedAfter, (std::vector<std::string>{"RIZ6", "GDZ6"})) << "not XXZ6 of a system class";
  EXPECT_EQ(module.Closing().SecsForClosing, (StringList{"RIZ6", "GDZ6", "OLD1"}));
}

// "Шаблон 1" deleted, "Шаблон 2" added, "Ночной" renamed, an entry added:
// at OK the deleted pattern leaves, the table bound to "Ночной" follows it
// to index 1 and the entry of the deleted one names none.
TEST_F(ClosingSettingsWindowTest, PatternsEditedThroughTheirDialogsAreRenumberedAtOk) {
  CTablePlugin* table = OpenRiskTable();
  ASSERT_NE(table, nullptr);
  auto* riskTable = dynamic_cast<CVantrelFutRiskParamsTable*>(table);
  riskTable->SetPatternIndex(2);
  std::string question, newName;
  std::vector<std::string> patterns, rows;
  RunCommand([&](HWND dialog) {
    Select(dialog, kPatterns, "Шаблон 1");
    PressAnswered(dialog, kDeletePattern, [&](HWND box) {
      question = Text(box, 0xFFFF);
      DialogDriver::Press(box, IDOK);
    });
    PressAnswered(dialog, kAddPattern, [&](HWND pattern) {
      newName = Text(pattern, kPatternName);
      DialogDriver::Press(pattern, IDOK);
    });
    Select(dialog, kPatterns, "Ночной");
    PressAnswered(dialog, kEditPattern, [](HWND pattern) {
      SetDlgItemTextA(pattern, kPatternName, "Вечерний");
      DialogDriver::Press(pattern, IDOK);
    });
    PressAnswered(dialog, kAddEntry, [](HWND entry) {
      SetDlgItemTextA(entry, kEntryTime, "18:45");
      DialogDriver::Press(entry, IDOK);
    });
    patterns = Items(dialog, kPatterns);
    rows = ScheduleRows(dialog);
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(question, "Вы действительно хотите удалить шаблон \"Шаблон 1\"?");
  EXPECT_EQ(newName, "Шаблон 2");
  EXPECT_EQ(patterns, (std::vector<std::string>{"Основной [Основной]", "Вечерний", "Шаблон 2"}));
  EXPECT_EQ(rows, (std::vector<std::string>{"10:00|Вечерний|Да", "11:40||Нет", "18:45|Основной|Да"}));
  EXPECT_EQ(PatternNames(), (std::vector<std::string>{"Основной", "Вечерний", "Шаблон 2"}));
  EXPECT_EQ(EntryPatterns(), (std::vector<int>{1, -1, 0}));
  EXPECT_EQ(module.Closing().DefaultPattern, 0);
  EXPECT_EQ(riskTable->GetPatternIndex(), 1);
}

TEST_F(ClosingSettingsWindowTest, CancelLeavesTheModulesSettingsAsTheyWere) {
  CTablePlugin* table = OpenRiskTable();
  ASSERT_NE(table, nullptr);
  dynamic_cast<CVantrelFutRiskParamsTable*>(table)->SetPatternIndex(0);
  std::vector<std::string> questions;
  std::unique_ptr<DialogDriver> second;
  auto confirm = [&](HWND box) {
    questions.push_back(Text(box, 0xFFFF));
    DialogDriver::Press(box, IDOK);
  };
  RunCommand([&](HWND dialog) {
    DialogDriver::Press(dialog, 1150);  // "Очистить"
    SetDlgItemTextA(dialog, kSpread, "9");
    Select(dialog, kPatterns, "Основной [Основной]");
    // The table bound to the pattern asks a second time.
    PressAnswered(dialog, kDeletePattern, [&](HWND box) {
      confirm(box);
      second = std::make_unique<DialogDriver>(confirm);
    });
    ListView_SetSelectionMark(GetDlgItem(dialog, kSchedule), 0);
    DialogDriver::Press(dialog, kDeleteEntry);
    DialogDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(questions, (std::vector<std::string>{
                           "Вы собираетесь удалить основной шаблон. Продолжить?",
                           "Данный шаблон используется в одной или более таблиц риск-параметров. Продолжить?"}));
  const TClosingSettings& closing = module.Closing();
  EXPECT_EQ(closing.SecsForClosing, (StringList{"SiZ6", "OLD1", "RIZ6"}));
  EXPECT_DOUBLE_EQ(closing.Spread, 1.5);
  EXPECT_EQ(PatternNames(), (std::vector<std::string>{"Основной", "Шаблон 1", "Ночной"}));
  EXPECT_FALSE(closing.Patterns[0]->Deleted);
  EXPECT_EQ(closing.DefaultPattern, 0);
  EXPECT_EQ(EntryPatterns(), (std::vector<int>{2, 1}));
}

// With a preparation window open the command asks first: Cancel opens
// nothing and keeps the window; OK closes it and opens the dialog.
TEST_F(ClosingSettingsWindowTest, OpenPreparationWindowsAreClosedOnlyWhenTheUserAgrees) {
  ASSERT_EQ(module.OpenPrepOrdersDlg(ClientShortOfTarget("ACC1"), pattern), 1);
  std::string question;
  {
    DialogDriver refuse([&](HWND box) {
      question = Text(box, 0xFFFF);
      DialogDriver::Press(box, IDCANCEL);
    });
    module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false);
  }
  EXPECT_EQ(question,
            "У вас открыто одно или несколько окон с заявками по закрытию позиций. Перед открытием диалога настроек "
            "закрытия позиций эти окна будут автоматически закрыты. Продолжить?");
  EXPECT_EQ(Windows().size(), 1u);
  bool opened = false;
  std::unique_ptr<DialogDriver> dialogDriver;
  DialogDriver agree([&](HWND box) {
    DialogDriver::Press(box, IDOK);
    dialogDriver = std::make_unique<DialogDriver>([&](HWND dialog) {
      opened = true;
      DialogDriver::Press(dialog, IDCANCEL);
    });
  });
  module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(Windows().empty());
}

}  // namespace
