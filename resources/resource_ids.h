// Identifiers of the plug-in's resources and menu commands, shared by the
// resource script and the code.
#pragma once

#define IDR_PLUGIN_MENU 102

#define ID_RISK_PARAMS_TABLE 40001
#define ID_GENERAL_SETTINGS 40002
#define ID_TRANSPORT_SETTINGS 40003
#define ID_CALC_SETTINGS 40004
#define ID_NOTIFICATION_SWITCH 40071
#define ID_CLOSING_SETTINGS 40073
#define ID_CLOSING_ORDERS_TABLE 40074
#define ID_NOTIFICATION_SETTINGS 40081

// Bitmaps of the host's resource module used by the risk table's context menu.
#define IDB_HOST_CONTEXT_1 2515
#define IDB_HOST_CONTEXT_2 2516
