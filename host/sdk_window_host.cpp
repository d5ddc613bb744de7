#include "host/sdk_window_host.h"

const char kHostFrameClassName[] = "HostWindow";

namespace {

SdkWindowHost* g_current = nullptr;

// The message the host sends to every plug-in window when it saves its layout.
const UINT kSaveWindowMessage = 4025;

SdkWindowHost& Host() { return *g_current; }
TableServices& Services() { return g_current->Services(); }
WindowStateStore& Store() { return g_current->Store(); }

LRESULT __stdcall DefaultChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcA(hwnd, message, wParam, lParam);
}
HWND __stdcall CreateFrameFn(HINSTANCE instance, const char* className, const char* caption,
                             const WINDOWPLACEMENT* placement, DWORD style, LPARAM extra) {
  return Host().CreateFrame(instance, className, caption, placement, style, extra);
}
void __stdcall ActivateFrameFn(HWND frame) { Host().ActivateFrame(frame); }
HMENU __stdcall BeginContextMenuFn() { return Host().BeginContextMenu(); }
void __stdcall EndContextMenuFn(HWND window) { Host().EndContextMenu(window); }
void __stdcall RegisterDialogFn(HWND dialog) { Host().RegisterDialog(dialog); }
void __stdcall UnregisterDialogFn(HWND dialog) { Host().UnregisterDialog(dialog); }

void __stdcall BeginSectionFn(uint32_t a, uint32_t b) { Store().BeginSection(a, b); }
void __stdcall EndSectionFn() { Store().EndSection(); }
void __stdcall WindowSavedFn(uint32_t value) { Store().AfterWindowSaved(value); }
void __stdcall WriteBytesFn(const void* data, uint32_t length) { Store().Write(data, length); }
int __stdcall ReadBytesFn(void* data, uint32_t length) { return Store().Read(data, length) ? 1 : 0; }
void __stdcall WriteStringFn(const char* text) { Store().WriteString(text); }
int __stdcall ReadStringFn(char* buffer) { return Store().ReadString(buffer) ? 1 : 0; }

void __stdcall ReportErrorFn(const char* text, int) { Services().ReportError(text); }
void __stdcall DefaultBlockFn(void* block) { Services().FillDefaultBlock(block); }
int __stdcall StartTableFn(void* callbacks, int flag) { return Services().StartTableService(callbacks, flag); }
void __stdcall InitTableBlockFn(uint32_t* block) { Services().InitTableBlock(block); }
int __stdcall StopTableFn(uint32_t* block) { return Services().StopTableService(block); }
void __stdcall SaveTableSettingsFn(uint32_t* block, int) { Services().SaveTableSettings(block); }
void __stdcall LoadTableSettingsFn(uint32_t* block) { Services().LoadTableSettings(block); }
void __stdcall ReportTableRowFn(uint32_t* block, void* row, int operation) {
  Services().ReportTableRow(block, row, operation);
}
void __stdcall RegisterListFn(int32_t* id, void*, void*, void*, void*, void*, const void* settings, uint32_t length) {
  Services().RegisterList(id, settings, length);
}
void __stdcall RegisterListDefaultFn(int32_t* id, void*, void*, void*, void*, void*, void* block) {
  Services().RegisterList(id, block, block ? 532 : 0);
}
int __stdcall StartListFn(int id, int flag, const char* caption, char* error, int size) {
  return Services().StartList(id, flag, caption, error, size);
}
int __stdcall StopListFn(int id, int* wasRunning, char* error, int size) {
  return Services().StopList(id, wasRunning, error, size);
}
void __stdcall ListClearedFn(int id, int, int, int, char*, int) { Services().ListCleared(id); }
void __stdcall ReleaseListFn(int id) { Services().ReleaseList(id); }
int __stdcall ReportListRowFn(int id, int line, int operation, char* error, int size) {
  return Services().ReportListRow(id, line, operation, error, size);
}
int __stdcall ListRunningFn(int id) { return Services().ListRunning(id); }
int __stdcall RestartAfterRestoreFn(int id) { return Services().RestartAfterRestore(id); }
int __stdcall StartOnMessageFn(int id) { return Services().StartOnMessage(id); }
int __stdcall ListSettingsFn(int id, void** data, uint32_t* length) {
  return Services().GetListSettings(id, data, length);
}
void __stdcall FreeListSettingsFn(void* data) { Services().FreeListSettings(data); }
void __stdcall ReleaseTable175Fn(uint32_t* block) { Services().ReleaseTable(175, block); }
void __stdcall ReleaseTable176Fn(uint32_t* block) { Services().ReleaseTable(176, block); }
int __stdcall ListDialogFn(void* view, int, HWND table, void* dimensions, void*, void* cell, char* error, int size) {
  return Services().RunListDialog(view, table, dimensions, cell, error, size);
}

template <typename F>
uintptr_t Entry(F function) { return reinterpret_cast<uintptr_t>(function); }

}  // namespace

SdkWindowHost::SdkWindowHost() {
  g_current = this;
  WNDCLASSA wc = {};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!GetClassInfoA(instance, kHostFrameClassName, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostFrameClassName;
    RegisterClassA(&wc);
  }
}

SdkWindowHost::~SdkWindowHost() {
  if (pendingMenu_) DestroyMenu(pendingMenu_);
  if (g_current == this) g_current = nullptr;
}

SdkWindowHost* SdkWindowHost::Current() { return g_current; }

void SdkWindowHost::InstallFunctions(uintptr_t* table) {
  table[6] = Entry(DefaultChildProc);
  table[16] = Entry(CreateFrameFn);
  table[17] = Entry(ActivateFrameFn);
  table[19] = Entry(BeginContextMenuFn);
  table[20] = Entry(EndContextMenuFn);
  table[39] = Entry(RegisterDialogFn);
  table[40] = Entry(UnregisterDialogFn);
  table[45] = Entry(ReportErrorFn);
  table[59] = Entry(BeginSectionFn);
  table[60] = Entry(EndSectionFn);
  table[61] = Entry(WindowSavedFn);
  table[62] = Entry(WriteBytesFn);
  table[63] = Entry(ReadBytesFn);
  table[64] = Entry(WriteStringFn);
  table[65] = Entry(ReadStringFn);
  table[81] = Entry(DefaultBlockFn);
  table[83] = Entry(StartTableFn);
  table[84] = Entry(InitTableBlockFn);
  table[85] = Entry(StopTableFn);
  table[86] = Entry(SaveTableSettingsFn);
  table[87] = Entry(LoadTableSettingsFn);
  table[88] = Entry(ReportTableRowFn);
  table[163] = Entry(RegisterListFn);
  table[164] = Entry(RegisterListDefaultFn);
  table[165] = Entry(StartListFn);
  table[166] = Entry(StopListFn);
  table[167] = Entry(ListClearedFn);
  table[168] = Entry(ReleaseListFn);
  table[169] = Entry(ReportListRowFn);
  table[170] = Entry(ListRunningFn);
  table[171] = Entry(RestartAfterRestoreFn);
  table[172] = Entry(StartOnMessageFn);
  table[173] = Entry(ListSettingsFn);
  table[174] = Entry(FreeListSettingsFn);
  table[175] = Entry(ReleaseTable175Fn);
  table[176] = Entry(ReleaseTable176Fn);
  table[177] = Entry(ListDialogFn);
}

bool SdkWindowHost::Option(int category, int id, int* value) const {
  auto it = options_.find({category, id});
  if (it == options_.end()) return false;
  if (value) *value = it->second;
  return true;
}

LRESULT CALLBACK SdkWindowHost::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcA(hwnd, message, wParam, lParam);
}

HWND SdkWindowHost::CreateFrame(HINSTANCE, const char*, const char* caption, const WINDOWPLACEMENT* placement,
                                DWORD style, LPARAM extra) {
  if (!mdiClient_) return nullptr;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  if (placement) {
    const RECT& r = placement->rcNormalPosition;
    x = r.left;
    y = r.top;
    if (r.right != static_cast<LONG>(CW_USEDEFAULT)) width = r.right - r.left + 1;
    if (r.bottom != static_cast<LONG>(CW_USEDEFAULT)) height = r.bottom - r.top + 1;
  }
  // The frame is the first window created: the plug-in's creation hook binds it.
  return CreateMDIWindowA(kHostFrameClassName, caption ? caption : "", style & ~WS_CHILD, x, y, width, height,
                          mdiClient_, GetModuleHandleA(nullptr), extra);
}

void SdkWindowHost::ActivateFrame(HWND frame) {
  ++activations_;
  if (mdiClient_ && frame) SendMessageA(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
}

HMENU SdkWindowHost::BeginContextMenu() {
  if (pendingMenu_) DestroyMenu(pendingMenu_);
  pendingMenu_ = CreatePopupMenu();
  return pendingMenu_;
}

// The stand-in shows no menu (a test cannot answer one); it counts it.
void SdkWindowHost::EndContextMenu(HWND window) {
  ++contextMenus_;
  lastMenuWindow_ = window;
  if (pendingMenu_) DestroyMenu(pendingMenu_);
  pendingMenu_ = nullptr;
}

void SdkWindowHost::RegisterDialog(HWND dialog) { dialogs_.push_back(dialog); }

void SdkWindowHost::UnregisterDialog(HWND dialog) {
  for (size_t i = 0; i < dialogs_.size(); ++i)
    if (dialogs_[i] == dialog) {
      dialogs_.erase(dialogs_.begin() + i);
      return;
    }
}

int SdkWindowHost::SaveLayout() {
  if (!mdiClient_) return 0;
  std::vector<HWND> frames;
  for (HWND child = GetWindow(mdiClient_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    frames.push_back(child);
  size_t before = store_.Records().size();
  for (size_t i = 0; i < frames.size(); ++i) SendMessageA(frames[i], kSaveWindowMessage, 0, static_cast<LPARAM>(i));
  return static_cast<int>(store_.Records().size() - before);
}

int SdkWindowHost::RestoreLayout(const uintptr_t* callbacks) {
  typedef int(__stdcall * RestoreWindowEntry)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
  auto restore = callbacks ? reinterpret_cast<RestoreWindowEntry>(callbacks[5]) : nullptr;
  if (!restore) return 0;
  int restored = 0;
  for (size_t i = 0; i < store_.Records().size(); ++i)
    if (restore(static_cast<uint32_t>(i), WindowStateStore::kRestoreTag, 0, 0, 0)) ++restored;
  return restored;
}
