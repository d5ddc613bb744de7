// Host commands, private messages, the host's list and table services, and
// the list's command notifications of a test table.
#include <gtest/gtest.h>

#include "sdk/modal_loops.h"
#include "support/table_environment.h"
#include "support/window_text.h"
#include "test_table.h"

namespace table_test {
namespace {

class TableCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.Services().SetOn(true);
    table_ = OpenTestTable(env_, {&a_, &b_});
    ASSERT_NE(table_, nullptr);
    env_.Services().ClearLog();
  }

  LRESULT Command(int id) { return SendMessageA(table_->GetHwnd(), WM_COMMAND, id, 0); }
  LRESULT ListCommand(int code, int column, int source = -1, int target = -1) {
    ZListCommandRecord record = {nullptr, 0, static_cast<uint32_t>(code), {}, 1, column, {}, source, target};
    return SendMessageA(table_->GetHwnd(), ZLIST_WM_COMMAND, code, reinterpret_cast<LPARAM>(&record));
  }
  // Where the first line of the host services' log that starts so stands; -1 if none.
  int Logged(const std::string& prefix) {
    const auto& log = env_.Services().Log();
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
  }
  // Rebuilds the list, so that it takes host options set since its creation.
  void EditTableWithoutChanges() {
    DialogDriver ok([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    Command(kCommandEditTable);
    ASSERT_TRUE(ok.Ran());
  }
  // Drags a column's header onto another column, or away from the list.
  void DragHeader(int column, int onto = -1) {
    HWND list = ListOf(table_);
    Drag(list, ColumnCentre(list, column), 5, ColumnCentre(list, onto < 0 ? column : onto), onto < 0 ? 3000 : 5);
  }
  bool ListServiceRunning() { return env_.Services().ListServiceRunning(table_->GetView()->ListServiceId()); }

  TableEnvironment env_;
  TestRow a_{"Бета", 5, 1.5, 20240131, 93000, 10}, b_{"Альфа", 7, 2.5};
  TestTable* table_ = nullptr;
};

int IndexOfData(HWND listBox, int id) {
  const int n = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i)
    if (SendMessageA(listBox, LB_GETITEMDATA, i, 0) == id) return i;
  return -1;
}

void SelectOnly(HWND dialog, int control, int id) {
  HWND box = GetDlgItem(dialog, control);
  SendMessageA(box, LB_SETSEL, FALSE, -1);
  SendMessageA(box, LB_SETSEL, TRUE, IndexOfData(box, id));
}

TEST_F(TableCommandsTest, EditCommandRebuildsColumnsAndKeepsWidthsAndRows) {
  const int clientWidthBefore = GetColumnWidth(ListOf(table_), 1);
  std::string name;
  bool fixedListed = true;
  int shownAtStart = 0;
  bool upEnabled = false;  // by a changed selection in the shown columns, and not before
  DialogDriver edit([&](HWND dialog) {
    name = ItemText(dialog, 1001);
    fixedListed = IndexOfData(GetDlgItem(dialog, 1002), 0) >= 0 || IndexOfData(GetDlgItem(dialog, 1007), 0) >= 0;
    shownAtStart = static_cast<int>(SendDlgItemMessageA(dialog, 1007, LB_GETCOUNT, 0, 0));
    SetDlgItemTextA(dialog, 1001, "Новое имя");
    SelectOnly(dialog, 1007, kAmount);
    upEnabled = IsWindowEnabled(GetDlgItem(dialog, 1008)) != 0;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1007)));
    upEnabled = !upEnabled && IsWindowEnabled(GetDlgItem(dialog, 1008));
    DialogDriver::Press(dialog, 1005);  // hide
    SelectOnly(dialog, 1002, kNote);
    DialogDriver::Press(dialog, 1003);  // show
    SelectOnly(dialog, 1007, kNote);
    DialogDriver::Press(dialog, 1008);  // up, before Объём
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(Command(kCommandEditTable), 0) << "the command is handled";
  EXPECT_EQ(edit.Caption() + "/" + name, "Редактирование таблицы/Тестовая таблица");
  EXPECT_FALSE(fixedListed) << "the fixed column is in neither list";
  EXPECT_EQ(shownAtStart, 6);
  EXPECT_TRUE(upEnabled);
  EXPECT_EQ(HeaderTitles(table_),
            (std::vector<std::string>{"№", "Клиент", "Кол-во", "Дата", "Время", "Примечание", "Объём"}));
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 1), clientWidthBefore);
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 5), 16 * env_.TextCharWidth()) << "a newly shown column: its default";
  EXPECT_EQ(GetNRows(ListOf(table_)), 3) << "rows filled again";
  EXPECT_EQ(WindowText(table_->GetHwnd()), "Новое имя");
  EXPECT_EQ(g_pTableBeingCreated, nullptr);
}

TEST_F(TableCommandsTest, CancelledEditRestartsTheServicesItStopped) {
  Command(kCommandListService);
  Command(kCommandTableService);
  DialogDriver cancel([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
  Command(kCommandEditTable);
  ASSERT_TRUE(cancel.Ran());
  EXPECT_TRUE(ListServiceRunning() && table_->GetView()->TableServiceOn());
  EXPECT_EQ(ColumnIds(table_).size(), 7u);
  EXPECT_EQ(g_pCurrentTableView, nullptr);
}

TEST_F(TableCommandsTest, ServiceCommandsAndMessagesReachTheHostServicesListServiceFirst) {
  SendMessageA(table_->GetHwnd(), WM_TABLE_LIST_SERVICE, 0, 0);
  SendMessageA(table_->GetHwnd(), WM_TABLE_TABLE_SERVICE, 0, 0);
  EXPECT_FALSE(ListServiceRunning() || table_->GetView()->TableServiceOn()) << "messages leave services not asking";
  env_.Services().SetRestartFlags(false, true);
  TestTable* asking = OpenTestTable(env_);
  ASSERT_NE(asking, nullptr);
  const int id = asking->GetView()->ListServiceId();
  EXPECT_EQ(SendMessageA(asking->GetHwnd(), WM_TABLE_LIST_SERVICE, 0, 0), 1);
  EXPECT_TRUE(env_.Services().ListServiceRunning(id)) << "4044 starts a service that asks for it";
  EXPECT_EQ(SendMessageA(asking->GetHwnd(), WM_TABLE_LIST_SERVICE_STOP, 0, 0), 1);
  EXPECT_FALSE(env_.Services().ListServiceRunning(id));
  EXPECT_EQ(SendMessageA(asking->GetHwnd(), WM_TABLE_TABLE_SERVICE, 0, 0), 1);
  EXPECT_TRUE(asking->GetView()->TableServiceOn()) << "4045 starts a table service that asks for it";
  Command(kCommandListService);
  EXPECT_GE(Logged("165 "), 0) << "list service started";
  Command(kCommandTableService);
  EXPECT_GE(Logged("83 columns №|Клиент|Кол-во|Сумма|Дата|Время|Объём"), 0);
  Command(kCommandListDialog);
  EXPECT_GE(Logged("177 3 1 7 Клиент"), 0);
  env_.Services().ClearLog();
  SendMessageA(table_->GetHwnd(), WM_TABLE_START_SERVICES, 0, 0);
  EXPECT_LT(Logged("165 "), Logged("83 "));
  EXPECT_GE(Logged("165 "), 0);
}

// The host's list dialog runs its loop over the table's: when the host is
// done with the plug-in there, the dialog is ended with the plug-in's own
// boxes.
TEST_F(TableCommandsTest, DoneEndsTheHostsListDialog) {
  env_.Services().SetListDialogShown(true);
  bool openAfterDone = false;
  DialogDriver done([&](HWND box) {
    env_.Module().OnModuleDone();
    openAfterDone = IsWindowVisible(box) != FALSE;
    if (openAfterDone) DialogDriver::Press(box, IDOK);
  });
  Command(kCommandListDialog);
  EXPECT_EQ(done.Caption(), "Список");
  EXPECT_FALSE(openAfterDone);
  EXPECT_EQ(CModalLoop::Running(), 0);
}

TEST_F(TableCommandsTest, RowChangesAreReportedToRunningServices) {
  Command(kCommandListService);
  Command(kCommandTableService);
  TestRow c{"Гамма", 1, 1};  // line 3, after Альфа and Бета
  // Each step: what the list service is told, and what the table service is, if anything.
  const struct { int operation; const char *list, *table; } steps[] = {{kRowInsert, "169 3 1", "88 1 1"}, {kRowInsert, "169 3 3", nullptr}, {kRowDelete, "169 3 2", "88 1 3"}};
  for (const auto& step : steps) {
    env_.Services().ClearLog();
    table_->UpsertRow(&c, -1, step.operation, nullptr);
    EXPECT_GE(Logged(step.list), 0) << step.list;
    if (step.table) {
      EXPECT_GE(Logged(step.table), 0) << step.table;
    }
  }
  env_.Services().FailNextRowReport("отказ");
  table_->UpsertRow(&c, -1, kRowInsert, nullptr);
  ASSERT_FALSE(env_.Services().Errors().empty());
  EXPECT_EQ(env_.Services().Errors().back(), "отказ");
  EXPECT_FALSE(ListServiceRunning()) << "a failed report stops the list service";
}

TEST_F(TableCommandsTest, ListCommandsOutsideTheColumnsOrOfTheFixedColumnAreRefused) {
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_QUERY, 0), 0) << "the fixed column is not answered";
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_QUERY, 1), 0) << "text";
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_QUERY, 2), 1) << "integer";
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_QUERY, 7), 0) << "past the columns";
  const std::vector<int> before = ColumnIds(table_);
  const int moves[][2] = {{0, 3}, {3, 0}, {2, 7}, {-5, 2}};
  for (const auto& move : moves) {
    EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_MOVED, -1, move[0], move[1]), 0) << move[0];
    EXPECT_FALSE(table_->GetView()->MoveColumn(move[0], move[1])) << move[0];
  }
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_REMOVED, -1, 0), 0);
  EXPECT_EQ(ListCommand(ZLIST_CMD_COLUMN_REMOVED, -1, 99), 0);
  EXPECT_EQ(ColumnIds(table_), before);
}

TEST_F(TableCommandsTest, DraggingAColumnMovesItInTheListAndTheViewAndRestartsTheListService) {
  const std::vector<int> before = ColumnIds(table_);
  DragHeader(2, 4);
  EXPECT_EQ(ColumnIds(table_), before) << "columns move only when the host allows it";
  env_.Host().SetOption(6, 1, 1);
  EditTableWithoutChanges();
  Command(kCommandListService);
  ZListSortField sort = {2, 1};
  ASSERT_TRUE(ListSetSortFields(ListOf(table_), 1, &sort));
  DragHeader(2, 4);
  EXPECT_EQ(ColumnIds(table_), (std::vector<int>{kNumber, kClient, kAmount, kDate, kCount, kTime, kVolume}));
  ASSERT_EQ(ListGetSortFields(ListOf(table_), 1, &sort), 1);
  EXPECT_EQ(sort.column, 4) << "the sort field follows Кол-во";
  EXPECT_EQ(HeaderTitles(table_)[4], "Кол-во");
  EXPECT_EQ(CellText(table_, LineOf(table_, &a_), 4), "5") << "cells follow their column";
  EXPECT_FALSE(ListServiceRunning()) << "stopped while the column moves";
  env_.Pump();
  EXPECT_TRUE(ListServiceRunning()) << "restarted by the posted message";
}

TEST_F(TableCommandsTest, RemovingAColumnAsksFirstUnlessTheHostSaysNot) {
  env_.Host().SetOption(6, 1, 1);
  env_.Host().SetOption(6, 4, 1);
  EditTableWithoutChanges();
  DialogDriver no([](HWND box) { DialogDriver::Press(box, IDNO); });
  DragHeader(3);
  ASSERT_TRUE(no.Ran());
  EXPECT_EQ(no.Caption() + ": " + no.Text(),
            "Внимание: Вы уверены, что хотите удалить столбец \"Сумма\" из таблицы \"Тестовая таблица\"?");
  EXPECT_EQ(GetNColumns(ListOf(table_)) + ColumnIds(table_).size(), 14u) << "kept in the list and the view";

  env_.Host().SetOption(3, 0, 9);  // an English host
  DialogDriver yes([](HWND box) { DialogDriver::Press(box, IDYES); });
  DragHeader(3);
  ASSERT_TRUE(yes.Ran());
  EXPECT_EQ(yes.Caption() + ": " + yes.Text(),
            "Attention: Are you sure you want to remove column \"Сумма\" from table \"Тестовая таблица\"?");
  EXPECT_EQ(ColumnIds(table_), (std::vector<int>{kNumber, kClient, kCount, kDate, kTime, kVolume}));
  EXPECT_EQ(HeaderTitles(table_)[3], "Дата");

  env_.Host().SetOption(6, 4, 0);
  EditTableWithoutChanges();
  DragHeader(2);
  EXPECT_EQ(ColumnIds(table_), (std::vector<int>{kNumber, kClient, kDate, kTime, kVolume})) << "removed at once";
}

TEST_F(TableCommandsTest, RightButtonSelectsTheRowAndOpensTheContextMenu) {
  const int line = LineOf(table_, &a_), height = env_.LineHeight();
  SendMessageA(ListOf(table_), WM_RBUTTONDOWN, MK_RBUTTON,
               MAKELPARAM(ColumnCentre(ListOf(table_), 2), line * height + height / 2));
  EXPECT_EQ(table_->menuAt, std::make_pair(2, line));
  EXPECT_EQ(table_->GetView()->GetSelectedRow(), &a_);
  EXPECT_EQ(env_.Windows().ContextMenusShown(), 1);
  EXPECT_EQ(env_.Windows().LastContextMenuWindow(), table_->GetHwnd());
  // Scrolled a step (20 pixels), a click 5 pixels left of where Кол-во began hits Кол-во; the fixed column
  // stays in place.
  HWND list = ListOf(table_);
  const int x = ColumnCentre(list, 2) - GetColumnWidth(list, 2) / 2 - 5;
  MoveWindow(list, 0, 0, x + 10, 10 * height, TRUE);
  SendMessageA(list, WM_HSCROLL, SB_LINERIGHT, 0);
  for (const auto& click : {std::make_pair(x, 2), std::make_pair(2, 0)}) {
    SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(click.first, line * height + height / 2));
    EXPECT_EQ(table_->menuAt, std::make_pair(click.second, line)) << click.first;
  }
}

}  // namespace
}  // namespace table_test
