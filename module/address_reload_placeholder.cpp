#include "module/vantrel_module.h"

// filled at merge
void CVantrelModule::ReloadAddressFiles() {}
