// CZPluginDialog: the base of every plug-in dialog. Dialogs register with the
// module while they exist; the module ends those still open when it is done.
#pragma once

#include "sdk/plugin_child_wnd.h"

class CZPluginDialog : public CZPluginChildWnd {
 public:
  virtual void EndDialog(int result) = 0;
};
