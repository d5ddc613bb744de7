#include "sdk/message_box.h"

#include "sdk/entry_guard.h"

#include "sdk/modal_loops.h"

namespace {
constexpr char kImplProperty[] = "CZMessageBox";
constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr SIZE_T kTemplateBytes = 1024;

CZMessageBoxImpl* ImplOf(HWND dialog) { return static_cast<CZMessageBoxImpl*>(GetPropA(dialog, kImplProperty)); }

INT_PTR BoxMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* impl = reinterpret_cast<CZMessageBoxImpl*>(lParam);
      SetPropA(dialog, kImplProperty, impl);
      impl->Layout(dialog);
      return 0;  // the default button has the focus already
    }
    case WM_DESTROY:
      if (CZMessageBoxImpl* impl = ImplOf(dialog)) impl->ForgetDialog();
      RemovePropA(dialog, kImplProperty);
      return 0;
    case WM_COMMAND: {
      CZMessageBoxImpl* impl = ImplOf(dialog);
      if (HIWORD(wParam) != 0 || impl == nullptr) return 0;
      const int id = LOWORD(wParam);
      if (!impl->EndsWith(id)) return 1;
      if (id == IDOK) impl->OnOK();
      EndDialog(dialog, id);
      return 1;
    }
    default:
      return 0;
  }
}

INT_PTR CALLBACK MessageBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardBoundary("message box", INT_PTR(0), [&] { return BoxMessage(dialog, message, wParam, lParam); });
}
}  // namespace

CZMessageBox::CZMessageBox(const char* text, const char* caption, UINT type,
                           const TMessageBoxButtons* customButtons)
    : m_impl(new CZMessageBoxImpl(text, caption, type, customButtons)) {}

CZMessageBox::~CZMessageBox() { delete m_impl; }

// The box is an empty dialog template filled in when it opens.
INT_PTR CZMessageBox::Show(HWND parent) {
  if (PluginIsDone()) return IDCANCEL;
  HGLOBAL memory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kTemplateBytes);
  if (memory == nullptr) return -1;
  auto* dialogTemplate = static_cast<DLGTEMPLATE*>(GlobalLock(memory));
  dialogTemplate->style = kBoxStyle;
  dialogTemplate->x = 10;
  dialogTemplate->y = 10;
  dialogTemplate->cx = 100;
  dialogTemplate->cy = 100;
  INT_PTR result;
  {
    CModalLoop loop;
    result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, parent, MessageBoxDialogProc,
                                     reinterpret_cast<LPARAM>(m_impl));
  }
  GlobalUnlock(memory);
  GlobalFree(memory);
  return PluginIsDone() ? IDCANCEL : result;
}

INT_PTR CZMessageBox::ShowMessage(HWND parent, const char* text, const char* caption, UINT type) {
  return CZMessageBox(text, caption, type).Show(parent);
}

INT_PTR CZMessageBox::ShowMessage(HWND parent, const char* text, const char* caption, UINT type,
                                  const TMessageBoxButtons& buttons) {
  return CZMessageBox(text, caption, type, &buttons).Show(parent);
}
