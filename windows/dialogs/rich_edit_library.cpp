#include "windows/dialogs/rich_edit_library.h"

#include <windows.h>

void LoadRichEditLibrary() {
  static bool loaded = false;
  if (!loaded) loaded = LoadLibraryA("riched20.dll") != nullptr;
}
