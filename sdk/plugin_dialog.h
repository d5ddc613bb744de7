// A dialog template shown modally through the host or modelessly inside a
// host frame window.
#pragma once

#include "sdk/modal_end.h"
#include "sdk/plugin_child_wnd.h"

class CZPluginDialog : public CZPluginChildWnd {
 public:
  CZPluginDialog(const char* title, UINT templateId, uint32_t kind);
  ~CZPluginDialog() override;

  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  int OnCreate(CREATESTRUCTA* create) override;

  virtual bool CreateModeless(const char* className, UINT templateId);
  virtual void EndDialog(INT_PTR result);
  // The code the dialog's own EndDialog gave; IDCANCEL when the modal loop
  // ended otherwise.
  virtual INT_PTR DoModal(HWND parent);
  virtual bool OnDialogQuery(int a, int b);
  virtual void ApplyHostFont();
  virtual void OnDialogNotification(int a, int b, int c, int d);
  virtual LRESULT SendItemMessage(int controlId, UINT message, WPARAM wParam, LPARAM lParam);
  virtual INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  virtual void RefreshHostFont(int a, int b);
  virtual int OnCommandId(int id, int code, int third);
  virtual int OnOK();
  virtual int OnCancel();
  virtual int OnInitDialog(WPARAM wParam, LPARAM lParam);
  virtual void OnNotify(WPARAM wParam, LPARAM lParam);
  using CZPluginChildWnd::OnNotify;

  // The title set as the dialog's text when it opens; at most 511
  // characters are kept.
  void SetTitle(const char* title);
  const char* GetTitle() const { return title_; }
  HWND GetDialogWindow() const { return dialogWindow_; }
  // The dialog's window exists and is still this dialog's.
  bool HasLiveWindow() const;
  UINT GetTemplateId() const { return templateId_; }
  bool IsModal() const { return modal_; }

  // Called by the dialog creation hook when it binds the dialog window.
  void AttachDialogWindow(HWND window, WNDPROC oldProcedure);

 private:
  HWND dialogWindow_ = nullptr;
  UINT templateId_;
  WNDPROC oldDialogProcedure_ = nullptr;
  char title_[512] = {};
  bool modal_ = false;
  CModalEnd modalEnd_;
};

// Window procedure of every bound dialog window.
LRESULT CALLBACK PluginDialogWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
