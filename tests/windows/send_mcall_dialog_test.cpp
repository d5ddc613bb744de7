// The margin-call text dialog: what it shows, what it keeps on each button,
// and texts longer than a rich edit takes by default.
#include <gtest/gtest.h>

#include <richedit.h>

#include <string>

#include "support/table_environment.h"
#include "windows/dialogs/send_mcall_dlg.h"

namespace {

std::string ControlText(HWND dialog) {
  std::string text(GetWindowTextLengthA(GetDlgItem(dialog, 1048)) + 1, '\0');
  GetDlgItemTextA(dialog, 1048, &text[0], static_cast<int>(text.size()));
  text.resize(text.size() - 1);
  return text;
}

TEST(SendMarginCallDialog, ShowsTheTextUnderTheClientsTitleAndKeepsTheEditOnSend) {
  TableEnvironment env;
  CVantrelSendMCallDlg dialog("C001", "Уважаемый клиент C001");
  std::string shown;
  DialogDriver edit([&](HWND window) {
    shown = ControlText(window);
    SetDlgItemTextA(window, 1048, "Пополните счет до 18:00");
    DialogDriver::Press(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(env.Host().Frame()), 1);
  EXPECT_EQ(edit.Caption(), "Отправка маржин-колла клиенту C001");
  EXPECT_EQ(shown, "Уважаемый клиент C001");
  EXPECT_EQ(dialog.GetText(), "Пополните счет до 18:00");
}

TEST(SendMarginCallDialog, CancelKeepsTheTextAsBuiltAndAnEmptiedTextIsKeptEmpty) {
  TableEnvironment env;
  CVantrelSendMCallDlg dialog("", "Текст");
  dialog.SetTitle("Отправка маржин-колла клиентам из таблицы");
  DialogDriver cancel([](HWND window) {
    SetDlgItemTextA(window, 1048, "другой");
    DialogDriver::Press(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(env.Host().Frame()), 2);
  EXPECT_EQ(cancel.Caption(), "Отправка маржин-колла клиентам из таблицы");
  EXPECT_EQ(dialog.GetText(), "Текст");
  DialogDriver empty([](HWND window) {
    SetDlgItemTextA(window, 1048, "");
    DialogDriver::Press(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(env.Host().Frame()), 1);
  EXPECT_EQ(dialog.GetText(), "");
}

// 100 000 characters, past the 32 KB a rich edit takes unless told: shown,
// typed after and kept whole.
TEST(SendMarginCallDialog, ATextPastThirtyTwoKilobytesIsShownAndKeptWhole) {
  TableEnvironment env;
  std::string text;
  for (int line = 0; line < 1000; ++line) text += std::string(99, 'a' + line % 26) + ".";
  CVantrelSendMCallDlg dialog("A1", text);
  size_t shown = 0;
  LRESULT limit = 0;
  DialogDriver typing([&](HWND window) {
    shown = ControlText(window).size();
    limit = SendDlgItemMessageA(window, 1048, EM_GETLIMITTEXT, 0, 0);
    SendDlgItemMessageA(window, 1048, EM_SETSEL, -1, -1);
    SendDlgItemMessageA(window, 1048, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(" Konec."));
    DialogDriver::Press(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(env.Host().Frame()), 1);
  EXPECT_EQ(shown, 100000u);
  EXPECT_EQ(limit, CVantrelSendMCallDlg::kTextCapacity);
  EXPECT_EQ(dialog.GetText(), text + " Konec.");
}

}  // namespace
