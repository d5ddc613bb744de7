#include "module/vantrel_module.h"

#include "resources/resource_ids.h"

CVantrelModule* g_pModule = nullptr;

namespace {
// Context-menu commands of the tables and the closing-orders window; each
// gets a host command id at initialisation.
constexpr int kContextCommands[] = {
    40005, 40006, 40007, 40085, 40008, 40009, 40010, 40011, 40080, 40012,
    40013, 40014, 40086, 40015, 40016, 40017, 40018, 40082, 40049, 40070,
    40072, 40083, 40075, 40076, 40077, 40078, 40084, 40079};
}  // namespace

CVantrelModule::CVantrelModule(HINSTANCE instance) : CZenkPluginModule(instance) {}

CVantrelModule::~CVantrelModule() {
  if (m_moduleMenu != nullptr) {
    DeleteMenuItems(m_moduleMenu);
    DestroyMenu(m_moduleMenu);
    m_moduleMenu = nullptr;
  }
}

bool CVantrelModule::CheckHostCompatibility(uint32_t hostVersion, uint32_t hostValue2,
                                            int* errorCode, char* errorText, int errorTextSize) {
  if (hostVersion == kHostVersion) return true;
  return CZenkPluginModule::CheckHostCompatibility(hostVersion, hostValue2, errorCode, errorText,
                                                   errorTextSize);
}

bool CVantrelModule::AddMenus() {
  HMENU menu = LoadMenuA(GetInstance(), MAKEINTRESOURCEA(IDR_PLUGIN_MENU));
  if (menu == nullptr) return false;
  m_moduleMenu = menu;
  return CZenkPluginModule::AddMenus();
}

void CVantrelModule::RegisterCommands() {
  for (int ownId : kContextCommands) {
    const int hostId = CallHost<9>();
    if (hostId > 0) RegisterCommandId(hostId, ownId);
  }
  auto resources = static_cast<HINSTANCE>(CallHost<25>(host::kResourceModule));
  m_contextBitmaps[0] = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_HOST_CONTEXT_1));
  m_contextBitmaps[1] = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_HOST_CONTEXT_2));
}
