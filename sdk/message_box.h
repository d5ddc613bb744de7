// CZMessageBox: the SDK's message box, a modal dialog built at run time in
// the host's font, with the captions of its buttons from the plug-in's string
// table and, when the caller gives them, buttons of the caller's own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TMessageBoxButton {
  UINT stringId;  // the caption in the plug-in's string table
  int commandId;  // what Show returns when the button is pressed
};
using TMessageBoxButtons = std::vector<TMessageBoxButton>;

// Captions of the standard buttons and the caption of a box given none.
enum : UINT {
  IDS_MSGBOX_ERROR = 9,
  IDS_MSGBOX_ABORT = 12,
  IDS_MSGBOX_RETRY = 13,
  IDS_MSGBOX_IGNORE = 14,
  IDS_MSGBOX_OK = 15,
  IDS_MSGBOX_CANCEL = 16,
  IDS_MSGBOX_YES = 17,
  IDS_MSGBOX_NO = 18,
  IDS_MSGBOX_HELP = 19,
};

// Control ids of the box's icon and text.
enum : int { kMessageBoxIconId = 10, kMessageBoxTextId = 11 };

class CZMessageBoxImpl {
 public:
  // Empty custom buttons, like none, leave the standard set of the type.
  CZMessageBoxImpl(const char* text, const char* caption, UINT type,
                   const TMessageBoxButtons* customButtons);
  virtual ~CZMessageBoxImpl();
  // Called when OK is pressed, before the box closes.
  virtual void OnOK();

  // Lays the dialog out when it opens.
  void Layout(HWND dialog);
  // A command of a button; false when the box stays open.
  bool EndsWith(int commandId) const;

  HWND GetDialog() const { return m_dialog; }
  void ForgetDialog() { m_dialog = nullptr; }
  const std::string& GetText() const { return m_text; }
  const std::string& GetCaption() const { return m_caption; }
  const TMessageBoxButtons& GetButtons() const { return m_buttons; }
  bool HasCancel() const { return m_hasCancel; }
  int DefaultButtonIndex() const;

 private:
  RECT PlaceIcon(HWND dialog) const;
  RECT PlaceText(HWND dialog, HFONT font, int iconWidth, int iconHeight) const;
  int PlaceButtons(HWND dialog, HFONT font, int top, int* clientWidth) const;

  HWND m_dialog = nullptr;
  std::string m_text;
  std::string m_caption;
  UINT m_type;
  TMessageBoxButtons m_buttons;
  bool m_hasCancel = false;
};

class CZMessageBox {
 public:
  CZMessageBox(const char* text, const char* caption, UINT type,
               const TMessageBoxButtons* customButtons = nullptr);
  CZMessageBox(const CZMessageBox&) = delete;
  CZMessageBox& operator=(const CZMessageBox&) = delete;
  virtual ~CZMessageBox();

  // Runs the box modally; the command id of the button that closed it.
  INT_PTR Show(HWND parent);

  static INT_PTR ShowMessage(HWND parent, const char* text, const char* caption, UINT type);
  static INT_PTR ShowMessage(HWND parent, const char* text, const char* caption, UINT type,
                             const TMessageBoxButtons& buttons);

 private:
  CZMessageBoxImpl* m_impl;
};
