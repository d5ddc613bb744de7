#include "windows/tables/host_filter_choice.h"

#include "sdk/host_call.h"
#include "sdk/modal_loops.h"

void ChooseHostFilter(HWND dialog, int box, const char* title, host::ItemList* items, host::FilterSelection* filter,
                      bool fromBox) {
  if (!fromBox || IsDlgButtonChecked(dialog, box) == BST_CHECKED) {
    // The host's dialog runs its loop over the table's: the host may be
    // done with the plug-in meanwhile.
    CModalLoop hostDialog;
    HostCall<50>(dialog, title, items, filter);
  } else {
    HostCall<54>(filter);
  }
  if (PluginIsDone()) return;
  // A filter left empty in the host's dialog clears its box again.
  CheckDlgButton(dialog, box, HostCall<53>(filter) != 0 ? BST_CHECKED : BST_UNCHECKED);
}
