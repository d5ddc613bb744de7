// The closing settings dialog opened by menu command 40073 in the module's
// process under Xvfb, driven with messages: patterns and schedule entries
// edited through their own dialogs, OK putting the copy in force (deleted
// patterns renumbering the risk tables), Cancel leaving the module's
// settings as they were.
#include "closing_orders_fixture.h"
#include "resources/resource_ids.h"
#include "support/window_text.h"
#include "windows/tables/risk_params_table.h"

#include <functional>
#include <memory>

namespace {

enum : int {
  kAvailable = 1151, kUsed = 1152, kAdd = 1147, kUp = 1145, kActualize = 1157, kNotTraded = 1158, kHidden = 1159,
  kSpread = 1118, kComment = 1119, kPatterns = 1115, kAddPattern = 1114, kEditPattern = 1116, kDeletePattern = 1117,
  kSchedule = 1202, kBaseAssets = 1226, kNames = 1156, kAddEntry = 1122, kDeleteEntry = 1124, kAutoClose = 1199, kPatternName = 1117, kEntryTime = 1203,
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
  void RunCommand(const std::function<void(HWND)>& action) {
    DialogDriver driver(action);
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false), 1);
    ASSERT_TRUE(driver.Ran());
    EXPECT_EQ(driver.Caption(), "Настройки закрытия позиций");
  }
  // Presses a button and answers the dialog or box it opens.
  static void PressAnswered(HWND dialog, int button, const std::function<void(HWND)>& answer) {
    DialogDriver driver(answer);
    DialogDriver::Press(dialog, button);
    EXPECT_TRUE(driver.Ran()) << button;
  }
  static std::string Items(HWND dialog, int id) {
    std::string items;
    for (int index = 0; index < static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0)); ++index) {
      char text[128] = {};
      SendDlgItemMessageA(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
      items += (index ? "," : "") + std::string(text);
    }
    return items;
  }
  static void Select(HWND dialog, int id, const char* text) {
    const LRESULT index = SendDlgItemMessageA(dialog, id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(text));
    if (id == kPatterns)
      SendDlgItemMessageA(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else
      SendDlgItemMessageA(dialog, id, LB_SETSEL, TRUE, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static std::string ScheduleRows(HWND dialog) {
    HWND list = GetDlgItem(dialog, kSchedule);
    std::string rows;
    for (int cell = 0; cell < 3 * static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++cell) {
      char text[64] = {};
      LVITEMA item = {};
      item.iSubItem = cell % 3, item.pszText = text, item.cchTextMax = sizeof text;
      SendMessageA(list, LVM_GETITEMTEXTA, cell / 3, reinterpret_cast<LPARAM>(&item));
      rows += (cell == 0 ? "" : cell % 3 ? "|" : ",") + std::string(text);
    }
    return rows;
  }
  // The module's patterns, default and the patterns of its schedule entries.
  std::string Patterns() {
    const TClosingSettings& closing = module.Closing();
    std::string text;
    for (const auto& pattern : closing.Patterns) text += pattern->PatternName + (pattern->Deleted ? "*," : ",");
    text += " default " + std::to_string(closing.DefaultPattern) + ", entries";
    for (const TScheduleEntry& entry : closing.AutoCloseSchedule) text += " " + std::to_string(entry.PatternIndex);
    return text;
  }
  std::string Decimal(const char* whole, const char* fraction) {
    return whole + std::string(1, module.DecimalSeparator()) + fraction;
  }
};

// The unseen OLD1 is counted and kept; a halted security is warned of
// until the list is brought up to date from the host's positions; LGZ6
// added and moved up is kept in the user's order; a comment takes letters
// up to the 34 characters the host keeps of an order's comment.
TEST_F(ClosingSettingsWindowTest, TheCommandOpensTheDialogAndOkPutsTheEditsInForce) {
  SecuritySpec halted;
  halted.classCode = "SPBFUT", halted.code = "HLZ6", halted.type = 4, halted.trading = -1;
  halted.shortName = "Остановлен";
  host.Records().AddSecurity(halted);
  for (const char* code : {"GDZ6", "HLZ6", "XXZ6", "RIZ6"}) {
    PositionSpec position;
    position.firm = "FIRM1", position.account = "ACC1", position.security = code;
    host.Records().AddPosition(BuildPosition(position).bytes);
  }
  module.Closing().SecsForClosing = {"SiZ6", "HLZ6", "OLD1", "RIZ6"};
  module.Closing().ShowSecNamesInDlg = true;
  std::string shown, actualized, usedAfter;
  RunCommand([&](HWND dialog) {
    shown = Items(dialog, kAvailable) + " | " + Items(dialog, kUsed) + " | " + ItemText(dialog, kNotTraded) + " | " +
            ItemText(dialog, kHidden) + " | " + ItemText(dialog, kSpread);
    DialogDriver::Press(dialog, kActualize);
    actualized = Items(dialog, kUsed) + " | " + ItemText(dialog, kNotTraded);
    Select(dialog, kAvailable, "LGZ6");
    DialogDriver::Press(dialog, kAdd);
    DialogDriver::Press(dialog, kUp);
    usedAfter = Items(dialog, kUsed);
    SetDlgItemTextA(dialog, kSpread, Decimal("2", "75").c_str());
    HWND comment = GetDlgItem(dialog, kComment);
    SetWindowTextA(comment, "");
    for (int n = 0; n < 4; ++n)
      for (const char* key = "Закрытие-7-"; *key != 0; ++key)
        SendMessageA(comment, WM_CHAR, static_cast<unsigned char>(*key), 0);
    CheckDlgButton(dialog, kAutoClose, BST_CHECKED);
    DialogDriver::Press(dialog, kAutoClose);
    DialogDriver::Press(dialog, IDOK);
  });
  // Not XXZ6 of a system class; codes where the host has no short name.
  EXPECT_EQ(shown, "RIZ6,RIH7,SiZ6,RI100000BL6,GDZ6,LGZ6,NFZ6,EuZ6,NGZ6,BRZ6,Остановлен | SiZ6,Остановлен,RIZ6 | "
                   "Имеются инструменты, торговля по которым не производится! | "
                   "Сохраняются, но не показаны (нет в терминале): 1 | " + Decimal("1", "50"));
  EXPECT_EQ(actualized, "SiZ6,RIZ6,GDZ6 | ");
  EXPECT_EQ(usedAfter, "SiZ6,RIZ6,LGZ6,GDZ6");
  const TClosingSettings& closing = module.Closing();
  EXPECT_EQ(closing.SecsForClosing, (StringList{"SiZ6", "RIZ6", "LGZ6", "GDZ6", "OLD1"}));
  EXPECT_DOUBLE_EQ(closing.Spread, 2.75);
  EXPECT_EQ(closing.Comment, "Закрытие-7-Закрытие-7-Закрытие-7-З");
  EXPECT_TRUE(closing.UseAutoClose);
}

// Switching to base assets empties both chosen lists, unseen ones too, and
// leaves what was typed in the fields alone.
// The available securities can be searched as soon as the dialog is open:
// the search panel stands over the list, and typing filters it.
TEST_F(ClosingSettingsWindowTest, TheSearchPanelIsThereWhenTheDialogOpens) {
  std::string shown, filtered;
  RunCommand([&](HWND dialog) {
    HWND panel = FindWindowExA(dialog, nullptr, "SearchListBoxClass_Plugin", nullptr);
    HWND edit = FindWindowExA(panel, nullptr, "Edit", nullptr);
    RECT panelPlace = {}, listPlace = {};
    GetWindowRect(panel, &panelPlace);
    GetWindowRect(GetDlgItem(dialog, kAvailable), &listPlace);
    shown = std::string(IsWindowVisible(panel) ? "panel shown" : "panel hidden") +
            (listPlace.top > panelPlace.top ? ", the list below it" : ", the list under it");
    for (const char* key = "ri"; *key != 0; ++key) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*key), 0);
    filtered = Items(dialog, kAvailable);
    DialogDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(shown, "panel shown, the list below it");
  EXPECT_EQ(filtered, "RIZ6,RIH7,RI100000BL6") << "the securities holding \"ri\" in any case";
}

TEST_F(ClosingSettingsWindowTest, SwitchingToBaseAssetsStartsTheChoiceAfresh) {
  std::string shown;
  bool namesEnabled = true;
  RunCommand([&](HWND dialog) {
    SetDlgItemTextA(dialog, kSpread, "3");
    CheckDlgButton(dialog, kBaseAssets, BST_CHECKED);
    DialogDriver::Press(dialog, kBaseAssets);
    shown = Items(dialog, kAvailable) + " | " + Items(dialog, kUsed) + " | " + ItemText(dialog, kHidden) + " | " +
            ItemText(dialog, kSpread);
    namesEnabled = IsWindowEnabled(GetDlgItem(dialog, kNames)) != FALSE;
    Select(dialog, kAvailable, "RTS");
    DialogDriver::Press(dialog, kAdd);
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(shown, "BR,Eu,GOLD,NG,RTS,Si |  |  | 3");
  EXPECT_FALSE(namesEnabled);
  const TClosingSettings& closing = module.Closing();
  EXPECT_TRUE(closing.UseBaseActive);
  EXPECT_EQ(closing.BaseActiveForClosing, StringList{"RTS"});
  EXPECT_TRUE(closing.SecsForClosing.empty());
  EXPECT_DOUBLE_EQ(closing.Spread, 3);
}

// "Шаблон 1" deleted, "Шаблон 2" added, "Ночной" renamed, an entry added:
// at OK the deleted pattern leaves, the table bound to "Ночной" follows it
// to index 1 and the entry of the deleted one names none.
TEST_F(ClosingSettingsWindowTest, PatternsEditedThroughTheirDialogsAreRenumberedAtOk) {
  auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(OpenRiskTable());
  ASSERT_NE(table, nullptr);
  table->SetPatternIndex(2);
  std::string question, newName, shown;
  RunCommand([&](HWND dialog) {
    Select(dialog, kPatterns, "Шаблон 1");
    PressAnswered(dialog, kDeletePattern, [&](HWND box) {
      question = ItemText(box, 0xFFFF);
      DialogDriver::Press(box, IDOK);
    });
    PressAnswered(dialog, kAddPattern, [&](HWND pattern) {
      newName = ItemText(pattern, kPatternName);
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
    shown = Items(dialog, kPatterns) + " | " + ScheduleRows(dialog);
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(question, "Вы действительно хотите удалить шаблон \"Шаблон 1\"?");
  EXPECT_EQ(newName, "Шаблон 2");
  EXPECT_EQ(shown, "Основной [Основной],Вечерний,Шаблон 2 | 10:00|Вечерний|Да,11:40||Нет,18:45|Основной|Да");
  EXPECT_EQ(Patterns(), "Основной,Вечерний,Шаблон 2, default 0, entries 1 -1 0");
  EXPECT_EQ(table->GetPatternIndex(), 1);
}

// With a preparation window open the command asks first: Cancel opens
// nothing and keeps the window; OK closes it and opens the dialog. There
// the default pattern, bound to a table, is deleted after both questions,
// an entry is deleted and the used list emptied; Cancel keeps it all.
TEST_F(ClosingSettingsWindowTest, CancelLeavesTheModulesSettingsAsTheyWere) {
  auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(OpenRiskTable());
  ASSERT_NE(table, nullptr);
  table->SetPatternIndex(0);
  ASSERT_EQ(module.OpenPrepOrdersDlg(ClientShortOfTarget("ACC1"), pattern), 1);
  std::vector<std::string> questions;
  auto confirm = [&](HWND box) {
    questions.push_back(ItemText(box, 0xFFFF));
    DialogDriver::Press(box, IDOK);
  };
  std::unique_ptr<DialogDriver> next, second;
  auto edit = [&](HWND dialog) {
    DialogDriver::Press(dialog, 1150);  // "Очистить"
    SetDlgItemTextA(dialog, kSpread, "9");
    Select(dialog, kPatterns, "Основной [Основной]");
    PressAnswered(dialog, kDeletePattern, [&](HWND box) {
      confirm(box);
      second = std::make_unique<DialogDriver>(confirm);
    });
    ListView_SetSelectionMark(GetDlgItem(dialog, kSchedule), 0);
    DialogDriver::Press(dialog, kDeleteEntry);
    DialogDriver::Press(dialog, IDCANCEL);
  };
  for (int answer : {IDCANCEL, IDOK}) {
    DialogDriver box([&](HWND window) {
      questions.push_back(ItemText(window, 0xFFFF));
      DialogDriver::Press(window, answer);
      next = std::make_unique<DialogDriver>(edit);
    });
    module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false);
    EXPECT_EQ(Windows().size(), answer == IDOK ? 0u : 1u);
  }
  const std::string prepQuestion =
      "У вас открыто одно или несколько окон с заявками по закрытию позиций. Перед открытием диалога настроек "
      "закрытия позиций эти окна будут автоматически закрыты. Продолжить?";
  EXPECT_EQ(questions, (std::vector<std::string>{
                           prepQuestion, prepQuestion, "Вы собираетесь удалить основной шаблон. Продолжить?",
                           "Данный шаблон используется в одной или более таблиц риск-параметров. Продолжить?"}));
  EXPECT_EQ(module.Closing().SecsForClosing, (StringList{"SiZ6", "OLD1", "RIZ6"}));
  EXPECT_DOUBLE_EQ(module.Closing().Spread, 1.5);
  EXPECT_EQ(Patterns(), "Основной,Шаблон 1,Ночной, default 0, entries 2 1");
  EXPECT_EQ(table->GetPatternIndex(), 0);
}

}  // namespace
