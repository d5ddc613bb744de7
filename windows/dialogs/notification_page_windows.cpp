#include "windows/dialogs/notification_page_windows.h"

#include <commctrl.h>
#include <commdlg.h>

#include "sdk/modal_loops.h"
#include "sdk/plugin_module.h"

namespace {

constexpr int kPathCapacity = 260;

// What a page or sub-page shows, handed over with its creation.
struct TPageCreation {
  const TNotificationPage* page;
  const TTemplateForm* form;
  const TModuleSettings* settings;
};

bool IsTemplateSubPage(int id) { return id == kMainTemplatePage || id == kSecondTemplatePage; }

const TNotificationPage* PageOf(HWND window) {
  const int id = GetDlgCtrlID(window);
  return FindNotificationPage(IsTemplateSubPage(id) ? GetDlgCtrlID(GetParent(window)) : id);
}

// The template whose controls the window holds; null for a page without one.
const TTemplateForm* TemplateFormOf(HWND window) {
  const TNotificationPage* page = PageOf(window);
  if (page == nullptr) return nullptr;
  const int id = GetDlgCtrlID(window);
  return FindTemplateForm(*page, IsTemplateSubPage(id) ? id : 0);
}

INT_PTR CALLBACK NotificationPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HWND CreatePageWindow(HWND parent, int templateId, const TPageCreation& creation) {
  return CreateDialogParamA(g_pPluginModule->GetInstance(), MAKEINTRESOURCEA(templateId), parent, NotificationPageProc,
                            reinterpret_cast<LPARAM>(&creation));
}

void CreateTemplateSubPages(HWND window, const TNotificationPage& page, const TModuleSettings& settings) {
  HWND tabs = GetDlgItem(window, page.tabs);
  int index = 0;
  for (const TTemplateForm& form : page.templates) {
    const TPageCreation creation = {&page, &form, &settings};
    CreatePageWindow(window, form.subPage, creation);
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(form.tabText);
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&tab));
  }
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  LayoutTabPages(window, page, 0);
}

void InitPage(HWND window, const TPageCreation& creation) {
  CDialogItemControls controls(window);
  if (creation.form != nullptr) {
    SetWindowLongPtrA(window, GWLP_ID, creation.form->subPage);
    FillTemplateForm(*creation.form, *creation.settings, controls);
    return;
  }
  SetWindowLongPtrA(window, GWLP_ID, creation.page->templateId);
  FillNotificationPage(*creation.page, *creation.settings, controls);
  if (creation.page->tabs != 0) CreateTemplateSubPages(window, *creation.page, *creation.settings);
}

bool AskBodyFile(HWND window, std::string* path) {
  char chosen[kPathCapacity] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = GetAncestor(window, GA_ROOT);
  choice.lpstrFilter = "All (*.*)\0*.*\0";
  choice.lpstrFile = chosen;
  choice.nMaxFile = kPathCapacity;
  choice.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!ChooseFileToOpen(&choice)) return false;
  *path = chosen;
  return true;
}

// Ticking the file box with no file named asks for one at once; giving
// none up leaves the body typed in.
void ChooseBodyFile(HWND window, int clicked) {
  CDialogItemControls controls(window);
  const bool ask =
      clicked == kBodyFileBrowse || (controls.Checked(kBodyFromFileBox) && controls.Text(kBodyFileEdit).empty());
  std::string path;
  if (ask && AskBodyFile(window, &path))
    controls.SetText(kBodyFileEdit, path);
  else if (ask && clicked == kBodyFromFileBox)
    controls.SetChecked(kBodyFromFileBox, false);
}

void OnPageCommand(HWND window, int id, int code) {
  if (code != BN_CLICKED && code != CBN_SELCHANGE) return;
  if (code == BN_CLICKED && (id == kBodyFromFileBox || id == kBodyFileBrowse)) ChooseBodyFile(window, id);
  CDialogItemControls controls(window);
  const int windowId = GetDlgCtrlID(window);
  const TNotificationPage* page = PageOf(window);
  if (page != nullptr && !IsTemplateSubPage(windowId))
    UpdateNotificationPage(*page, controls);
  else if (const TTemplateForm* form = TemplateFormOf(window))
    UpdateTemplateForm(*form, controls);
}

INT_PTR CALLBACK NotificationPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitPage(window, *reinterpret_cast<const TPageCreation*>(lParam));
      return FALSE;
    case WM_COMMAND:
      OnPageCommand(window, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const TNotificationPage* page = PageOf(window);
      if (header->code == TCN_SELCHANGE && page != nullptr && static_cast<int>(header->idFrom) == page->tabs)
        LayoutTabPages(window, *page, static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateNotificationPage(HWND dialog, const TNotificationPage& page, const TModuleSettings& settings) {
  const TPageCreation creation = {&page, nullptr, &settings};
  return CreatePageWindow(dialog, page.templateId, creation);
}

bool SaveNotificationPage(HWND window, const TNotificationPage& page, TModuleSettings& settings) {
  for (const TTemplateForm& form : page.templates)
    if (HWND subPage = form.subPage != 0 ? GetDlgItem(window, form.subPage) : nullptr)
      TakeTemplateForm(form, CDialogItemControls(subPage), settings);
  return TakeNotificationPage(page, CDialogItemControls(window), settings);
}

// The sub-pages keep their place in the z-order, after the page's own
// controls, so the keyboard goes from the tab control into the shown one.
void LayoutTabPages(HWND window, const TNotificationPage& page, int selected) {
  HWND tabs = GetDlgItem(window, page.tabs);
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tabs, window, reinterpret_cast<POINT*>(&area), 2);
  int index = 0;
  for (const TTemplateForm& form : page.templates) {
    HWND subPage = GetDlgItem(window, form.subPage);
    SetWindowPos(subPage, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_HIDEWINDOW | SWP_NOZORDER);
    if (index++ == selected) ShowWindow(subPage, SW_SHOW);
  }
}
