// Every group of host functions the stand-in host supplies. A group is one
// file of stdcall functions with the exact signatures of sdk/host_api.h.
#include "host/standin/standin_host.h"

void InstallMenuFunctions(StandInHost& host);
void InstallWindowFunctions(StandInHost& host);
void InstallRecordFunctions(StandInHost& host);
void InstallInputFunctions(StandInHost& host);
void InstallSdkWindowFunctions(StandInHost& host);
void InstallMarketFunctions(StandInHost& host);
void InstallFilterFunctions(StandInHost& host);
void InstallClientFunctions(StandInHost& host);

void InstallHostFunctions(StandInHost& host) {
  InstallMenuFunctions(host);
  InstallWindowFunctions(host);
  InstallRecordFunctions(host);
  InstallInputFunctions(host);
  InstallSdkWindowFunctions(host);
  InstallMarketFunctions(host);
  InstallFilterFunctions(host);
  InstallClientFunctions(host);
}
