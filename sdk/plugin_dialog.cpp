#include "sdk/plugin_dialog.h"

#include "sdk/host_call.h"
#include "sdk/modal_loops.h"
#include "sdk/plugin_thread_state.h"

namespace {

// The dialog manager's procedure: every message is left to the bound
// object, which sees them first through its window procedure.
INT_PTR CALLBACK AnswerFalse(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), 1);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK PluginDialogWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = dynamic_cast<CZPluginDialog*>(CZPluginChildWnd::GetWindowObject(hwnd));
  if (!dialog) return 0;
  CWindowUse use(dialog);
  return dialog->DialogProc(message, wParam, lParam);
}

CZPluginDialog::CZPluginDialog(const char* title, UINT templateId, uint32_t kind)
    : CZPluginChildWnd(title, kind), templateId_(templateId) {
  SetTitle(title);
  if (g_pPluginModule) g_pPluginModule->RegisterDialog(this);
}

CZPluginDialog::~CZPluginDialog() {
  if (g_pPluginModule) g_pPluginModule->UnregisterDialog(this, false);
  if (dialogWindow_ && IsWindow(dialogWindow_)) Unbind(dialogWindow_);
}

void CZPluginDialog::SetTitle(const char* title) {
  title_[0] = 0;
  if (title) lstrcpynA(title_, title, sizeof title_);
}

// A destroyed window's handle may be given to a new window: the binding
// tells whether it is still this dialog's.
bool CZPluginDialog::HasLiveWindow() const {
  return dialogWindow_ != nullptr && GetWindowObject(dialogWindow_) == this;
}

void CZPluginDialog::AttachDialogWindow(HWND window, WNDPROC oldProcedure) {
  dialogWindow_ = window;
  oldDialogProcedure_ = oldProcedure;
}

BOOL CZPluginDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_SETFOCUS && dialogWindow_) SetFocus(dialogWindow_);
  return CZPluginChildWnd::OnMessage(message, wParam, lParam, result);
}

int CZPluginDialog::OnCreate(CREATESTRUCTA* create) {
  int result = CZPluginChildWnd::OnCreate(create);
  if (result == -1) return result;
  RemoveCreateHook();
  if (!InstallCreateHook(this, PluginDialogCreateHook, PluginDialogWndProc)) return result;
  HWND dialog = g_pPluginModule
                    ? g_pPluginModule->CreateModelessDialog(static_cast<WORD>(templateId_), AnswerFalse, window_)
                    : nullptr;
  if (!dialog) {
    RemoveCreateHook();
    return result;
  }
  RECT client;
  GetClientRect(dialog, &client);

  LONG style = GetWindowLongA(window_, GWL_STYLE) & ~(WS_MAXIMIZE | WS_THICKFRAME | WS_MAXIMIZEBOX);
  SetWindowLongA(window_, GWL_STYLE, style);
  SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT adjusted = {0, 0, client.right, client.bottom};
  AdjustWindowRectEx(&adjusted, style, FALSE, GetWindowLongA(window_, GWL_EXSTYLE));

  // The frame takes the size of the dialog it holds.
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(window_, &placement);
  RECT& normal = placement.rcNormalPosition;
  normal.right = normal.left - adjusted.left + adjusted.right + 1;
  normal.bottom = normal.top - adjusted.top + adjusted.bottom - GetSystemMetrics(SM_CYCAPTION) + 1;
  SetWindowPlacement(window_, &placement);

  SetWindowPos(dialog, nullptr, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  HostCall<39>(dialog);
  RemoveCreateHook();
  SetFocus(dialog);
  return result;
}

bool CZPluginDialog::CreateModeless(const char* className, UINT templateId) {
  if (templateId) templateId_ = templateId;
  modal_ = false;
  Create(className, nullptr, 0x50CF0000, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0);
  return window_ != nullptr;
}

void CZPluginDialog::EndDialog(INT_PTR result) {
  HostCall<40>(dialogWindow_);
  if (modal_) modalEnd_.End(dialogWindow_, result);
  else Destroy();
}

INT_PTR CZPluginDialog::DoModal(HWND parent) {
  modal_ = true;
  if (!InstallCreateHook(this, PluginDialogCreateHook, PluginDialogWndProc)) {
    modal_ = false;
    return -1;
  }
  modalEnd_.Start();
  if (g_pPluginModule) g_pPluginModule->RunDialog(templateId_, AnswerFalse, parent);
  RemoveCreateHook();
  modal_ = false;
  // Done ended the dialog: whatever was pressed after, nothing is applied.
  return PluginIsDone() ? IDCANCEL : modalEnd_.Result();
}

bool CZPluginDialog::OnDialogQuery(int, int) { return false; }

void CZPluginDialog::ApplyHostFont() {
  HWND frame = window_ ? window_ : dialogWindow_;
  if (!frame || !g_pPluginModule) return;
  auto font = static_cast<LPARAM>(g_pPluginModule->GetHostUiInfo()[5]);
  EnumChildWindows(frame, SetFontOfChild, font);
}

void CZPluginDialog::OnDialogNotification(int, int, int, int) {}

LRESULT CZPluginDialog::SendItemMessage(int controlId, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(dialogWindow_, controlId, message, wParam, lParam);
}

INT_PTR CZPluginDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = dialogWindow_;
  WNDPROC old = oldDialogProcedure_;
  switch (message) {
    case WM_NOTIFY:
      OnNotify(wParam, lParam);
      return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_INITDIALOG:
      if (old) CallWindowProcA(old, dialog, message, wParam, lParam);
      return OnInitDialog(wParam, lParam);
    case WM_COMMAND:
      return OnCommand(wParam, lParam) ? 0 : 1;
  }
  if (old) return CallWindowProcA(old, dialog, message, wParam, lParam);
  return DefWindowProcA(dialog, message, wParam, lParam);
}

BOOL CZPluginDialog::OnCommand(WPARAM wParam, LPARAM) {
  return OnCommandId(LOWORD(wParam), HIWORD(wParam), 0) != 0;
}

void CZPluginDialog::RefreshHostFont(int, int) { ApplyHostFont(); }

int CZPluginDialog::OnCommandId(int id, int, int) {
  if (id == IDOK) return OnOK();
  if (id == IDCANCEL) return OnCancel();
  return 0;
}

int CZPluginDialog::OnOK() {
  if (!modal_) return 0;
  EndDialog(1);
  return 1;
}

int CZPluginDialog::OnCancel() {
  EndDialog(2);
  return 1;
}

int CZPluginDialog::OnInitDialog(WPARAM, LPARAM) {
  if (title_[0]) SetWindowTextA(dialogWindow_, title_);
  return 1;
}

void CZPluginDialog::OnNotify(WPARAM, LPARAM) {}
