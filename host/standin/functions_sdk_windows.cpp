// Host functions of plug-in windows, their saved layout and the table
// services: 6, 16, 17, 19, 20, 31, 39, 40, 45, 59 to 65, 81, 83 to 88 and
// 163 to 177.
#include <string>

#include "host/standin/sdk_window_host.h"
#include "host/standin/standin_host.h"

namespace {
StandInHost& Host() { return *StandInHost::Current(); }
SdkWindowHost& Windows() { return Host().SdkWindows(); }
TableServices& Services() { return Host().SdkWindows().Services(); }
WindowStateStore& Store() { return Host().SdkWindows().Store(); }

LRESULT __stdcall DefaultChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HostFrameDefaultProc(window, message, wParam, lParam);
}
HWND __stdcall CreateFrame(HINSTANCE, const char* className, const char* caption, const WINDOWPLACEMENT* placement,
                           DWORD style, LPARAM extra) {
  Host().Log().Record(16, className ? className : "");
  return Windows().CreateFrame(Host().MdiClient(), caption, placement, style, extra);
}
void __stdcall ActivateFrame(HWND frame) {
  Host().Log().Record(17);
  Windows().ActivateFrame(Host().MdiClient(), frame);
}
HMENU __stdcall BeginContextMenu() { return Windows().BeginContextMenu(); }
void __stdcall EndContextMenu(HWND window) { Windows().EndContextMenu(window); }
// The host keeps table captions as they are.
void __stdcall TableCaption(char*, HWND) { Host().Log().Record(31); }
void __stdcall RegisterDialog(HWND dialog) { Windows().RegisterDialog(dialog); }
void __stdcall UnregisterDialog(HWND dialog) { Windows().UnregisterDialog(dialog); }
void __stdcall ReportError(const char* text, int) { Services().ReportError(text); }

void __stdcall BeginSection(uint32_t a, uint32_t b) { Store().BeginSection(a, b); }
void __stdcall EndSection() { Store().EndSection(); }
void __stdcall WindowSaved(uint32_t value) { Store().AfterWindowSaved(value); }
void __stdcall WriteBytes(const void* data, uint32_t length) { Store().Write(data, length); }
int __stdcall ReadBytes(void* data, uint32_t length) { return Store().Read(data, length) ? 1 : 0; }
void __stdcall WriteString(const char* text) { Store().WriteString(text); }
int __stdcall ReadString(char* buffer) { return Store().ReadString(buffer) ? 1 : 0; }

void __stdcall DefaultBlock(void* block) { Services().FillDefaultBlock(block); }
int __stdcall StartTable(void* callbacks, int flag) { return Services().StartTableService(callbacks, flag); }
void __stdcall InitTableBlock(uint32_t* block) { Services().InitTableBlock(block); }
int __stdcall StopTable(uint32_t* block) { return Services().StopTableService(block); }
void __stdcall SaveTableSettings(uint32_t* block, int) { Services().SaveTableSettings(block); }
void __stdcall LoadTableSettings(uint32_t* block) { Services().LoadTableSettings(block); }
void __stdcall ReportTableRow(uint32_t* block, void* row, int operation) {
  Services().ReportTableRow(block, row, operation);
}
void __stdcall RegisterList(int32_t* id, void*, void*, void*, void*, void*, const void* settings, uint32_t length) {
  Services().RegisterList(id, settings, length);
}
void __stdcall RegisterListDefault(int32_t* id, void*, void*, void*, void*, void*, void* block) {
  Services().RegisterList(id, block, block ? 532 : 0);
}
int __stdcall StartList(int id, int flag, char* caption, char* error, int size) {
  return Services().StartList(id, flag, caption, error, size);
}
int __stdcall StopList(int id, int* wasRunning, char* error, int size) {
  return Services().StopList(id, wasRunning, error, size);
}
void __stdcall ListCleared(int id, int, int, int, char*, int) { Services().ListCleared(id); }
void __stdcall ReleaseList(int id) { Services().ReleaseList(id); }
int __stdcall ReportListRow(int id, int line, int operation, char* error, int size) {
  return Services().ReportListRow(id, line, operation, error, size);
}
int __stdcall ListRunning(int id) { return Services().ListRunning(id); }
int __stdcall RestartAfterRestore(int id) { return Services().RestartAfterRestore(id); }
int __stdcall StartOnMessage(int id) { return Services().StartOnMessage(id); }
int __stdcall ListSettings(int id, void** data, uint32_t* length) { return Services().GetListSettings(id, data, length); }
void __stdcall FreeListSettings(void* data) { Services().FreeListSettings(data); }
void __stdcall ReleaseTableFirst(uint32_t* block) { Services().ReleaseTable(175, block); }
void __stdcall ReleaseTableSecond(uint32_t* block) { Services().ReleaseTable(176, block); }
int __stdcall ListDialog(void* view, int, HWND table, void* dimensions, void*, void* cell, char* error, int size) {
  return Services().RunListDialog(view, table, dimensions, cell, error, size);
}
}  // namespace

void InstallSdkWindowFunctions(StandInHost& host) {
  host.Install<6>(DefaultChildProc);
  host.Install<16>(CreateFrame);
  host.Install<17>(ActivateFrame);
  host.Install<19>(BeginContextMenu);
  host.Install<20>(EndContextMenu);
  host.Install<31>(TableCaption);
  host.Install<39>(RegisterDialog);
  host.Install<40>(UnregisterDialog);
  host.Install<45>(ReportError);
  host.Install<59>(BeginSection);
  host.Install<60>(EndSection);
  host.Install<61>(WindowSaved);
  host.Install<62>(WriteBytes);
  host.Install<63>(ReadBytes);
  host.Install<64>(WriteString);
  host.Install<65>(ReadString);
  host.Install<81>(DefaultBlock);
  host.Install<83>(StartTable);
  host.Install<84>(InitTableBlock);
  host.Install<85>(StopTable);
  host.Install<86>(SaveTableSettings);
  host.Install<87>(LoadTableSettings);
  host.Install<88>(ReportTableRow);
  host.Install<163>(RegisterList);
  host.Install<164>(RegisterListDefault);
  host.Install<165>(StartList);
  host.Install<166>(StopList);
  host.Install<167>(ListCleared);
  host.Install<168>(ReleaseList);
  host.Install<169>(ReportListRow);
  host.Install<170>(ListRunning);
  host.Install<171>(RestartAfterRestore);
  host.Install<172>(StartOnMessage);
  host.Install<173>(ListSettings);
  host.Install<174>(FreeListSettings);
  host.Install<175>(ReleaseTableFirst);
  host.Install<176>(ReleaseTableSecond);
  host.Install<177>(ListDialog);
}
