// The plug-in callback table: stdcall entries without a `this` that find the
// module through the SDK's singleton and call one of its operations. Every
// entry checks the singleton, so a host that calls after the module is gone
// gets the neutral answer instead of a crash, and nothing that fails inside
// an entry reaches the host.
#include "sdk/entry_guard.h"
#include "sdk/plugin_module.h"

namespace {
CZenkPluginModule* Module() { return g_pPluginModule; }

BOOL __stdcall Entry1() {
  return GuardBoundary("entry 1", FALSE, [] { return Module() && Module()->OnHostQuery(); });
}
LRESULT __stdcall Entry2(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardBoundary("entry 2", LRESULT(0), [&] {
    return Module() ? Module()->RouteCommand(window, message, wParam, lParam) : 0;
  });
}
BOOL __stdcall Entry3() {
  return GuardBoundary("entry 3", FALSE, [] { return Module() && Module()->OnModuleDone(); });
}
void __stdcall Entry4(const uint32_t* info) {
  GuardBoundary("entry 4", [&] {
    if (Module()) Module()->SetHostUiInfo(info);
  });
}
int __stdcall Entry5(uint32_t a, const char* caption, uint32_t b, uint32_t c, uint32_t d) {
  return GuardBoundary("entry 5", 0, [&] {
    return Module() ? Module()->RestoreWindow(a, caption, b, c, d) : 0;
  });
}
int __stdcall Entry6(int hostCommandId, char* buffer, int size) {
  return GuardBoundary("entry 6", 1, [&] {
    if (!Module()) return 1;
    const int ownId = Module()->FindCommandId(hostCommandId);
    if (ownId == -1) return 1;
    return Module()->LoadResString(ownId, buffer, size);
  });
}
void __stdcall Entry7() {
  GuardBoundary("entry 7", [] {
    if (Module()) Module()->OnModuleStop();
  });
}
void __stdcall Entry8() {
  GuardBoundary("entry 8", [] {
    if (Module()) Module()->OnHostNotificationA();
  });
}
void __stdcall Entry9(uint32_t value) {
  GuardBoundary("entry 9", [&] {
    if (Module()) Module()->OnHostNotificationB(value);
  });
}
void __stdcall Entry10(uint32_t a, uint32_t b) {
  GuardBoundary("entry 10", [&] {
    if (Module()) Module()->OnHostNotificationC(a, b);
  });
}
void __stdcall Entry11(uint32_t value) {
  GuardBoundary("entry 11", [&] {
    if (Module()) Module()->OnHostNotificationD(value);
  });
}
void __stdcall Entry12(const uint32_t* values) {
  GuardBoundary("entry 12", [&] {
    if (Module() && values) Module()->OnHostNotificationE(values[0], values[2], values[1]);
  });
}
void __stdcall Entry14() {
  GuardBoundary("entry 14", [] {
    if (Module()) Module()->OnHostNotificationG();
  });
}
void __stdcall Entry15() {
  GuardBoundary("entry 15", [] {
    if (Module()) Module()->OnHostNotificationF();
  });
}
BOOL __stdcall Entry22(uint32_t value, uint32_t code, const void* data, uint32_t size) {
  return GuardBoundary("entry 22", FALSE, [&] {
    return Module() && Module()->OnHostCommand(value, code, data, size);
  });
}
BOOL __stdcall Entry23(uint32_t value) {
  return GuardBoundary("entry 23", FALSE,
                       [&] { return Module() && Module()->OnHostQueryRecord(value); });
}
void __stdcall Entry24(uint32_t value) {
  GuardBoundary("entry 24", [&] {
    if (Module()) Module()->OnHostNotificationH(value);
  });
}
int __stdcall Entry25(uint32_t event, const char* name, uint32_t p3, uint32_t p4) {
  return GuardBoundary("entry 25", 0, [&] {
    return Module() ? Module()->OnHostEvent(event, name, p3, p4) : 0;
  });
}
void __stdcall Entry26() {
  GuardBoundary("entry 26", [] {
    if (Module()) Module()->RequestQuoteParams();
  });
}
void __stdcall Entry27(uint32_t a, uint32_t b) {
  GuardBoundary("entry 27", [&] {
    if (Module()) Module()->OnHostNotificationI(a, b);
  });
}
int __stdcall Entry28(uint32_t a, uint32_t b, uint32_t c) {
  return GuardBoundary("entry 28", 0, [&] {
    return Module() ? Module()->OnHostQueryValue(a, b, c) : 0;
  });
}
void __stdcall Entry29(uint32_t a, uint32_t b) {
  GuardBoundary("entry 29", [&] {
    if (Module()) Module()->OnTimerTick(a, b);
  });
}
int __stdcall Entry30(uint32_t code, uint32_t* value, uint32_t x) {
  return GuardBoundary("entry 30", 0, [&] {
    return Module() ? Module()->GetPluginParam(code, value, x) : 0;
  });
}

// Each entry is stored with the exact type the host calls it with.
template <int N>
uint32_t EntryAddress(typename host::CallbackSig<N>::Fn fn) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(fn));
}
}  // namespace

void CZenkPluginModule::FillCallbackTable() {
  uint32_t* table = m_callbacks;
  std::fill(table, table + host::kCallbackCount, 0u);
  table[0] = host::kCallbackTableBytes;
  table[1] = EntryAddress<1>(Entry1);
  table[2] = EntryAddress<2>(Entry2);
  table[3] = EntryAddress<3>(Entry3);
  table[4] = EntryAddress<4>(Entry4);
  table[5] = EntryAddress<5>(Entry5);
  table[6] = EntryAddress<6>(Entry6);
  table[7] = EntryAddress<7>(Entry7);
  table[8] = EntryAddress<8>(Entry8);
  table[9] = EntryAddress<9>(Entry9);
  table[10] = EntryAddress<10>(Entry10);
  table[11] = EntryAddress<11>(Entry11);
  table[12] = EntryAddress<12>(Entry12);
  table[14] = EntryAddress<14>(Entry14);
  table[15] = EntryAddress<15>(Entry15);
  table[22] = EntryAddress<22>(Entry22);
  table[23] = EntryAddress<23>(Entry23);
  table[24] = EntryAddress<24>(Entry24);
  table[25] = EntryAddress<25>(Entry25);
  table[26] = EntryAddress<26>(Entry26);
  table[27] = EntryAddress<27>(Entry27);
  table[28] = EntryAddress<28>(Entry28);
  table[29] = EntryAddress<29>(Entry29);
  table[30] = EntryAddress<30>(Entry30);
}
