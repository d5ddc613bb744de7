// The transport settings as the controls of the transport settings dialog
// show them: which control edits which field, and which controls take input
// for the channels that are switched on.
#pragma once

#include "module/settings/transport_settings.h"
#include "windows/dialogs/dialog_controls.h"

enum TransportControl {
  kNotifEnabledAtStartBox = 1064, kMinTimeEdit = 1065, kMinParamChangeEdit = 1066,
  kNotifyByEmailBox = 1025, kSmtpServerEdit = 1026, kPortEdit = 1027, kSenderEdit = 1028,
  kAuthorisationBox = 1029, kMailLoginEdit = 1030, kMailPasswordButton = 1219,
  kEmailsFileEdit = 1036, kEmailsFileBrowse = 1034, kCopyEmailsEdit = 1210, kBlindCopyBox = 1211,
  kSeparateEmailsBox = 1212, kTraderMsgBox = 1032, kMc2zBox = 1035, kSmsBox = 1037,
  kUidsFileEdit = 1033, kUidsFileBrowse = 1038, kMc2zDirectoriesEdit = 1087, kSaveToDbBox = 1040,
  kDsnEdit = 1043, kDbLoginEdit = 1044, kDbTableEdit = 1046, kDbPasswordButton = 1220,
};

void FillTransportControls(const TTransportSettings& settings, IDialogControls& controls);
// Run at the start and after each click on a check box that switches a
// channel or an option of one.
void EnableTransportControls(IDialogControls& controls);
// What OK keeps: an empty minimal time keeps the one set before.
void TakeTransportControls(const IDialogControls& controls, TTransportSettings& settings);
// Trader messages, message files and SMS find their receivers only through
// the UID file.
bool UidFileMissing(const TTransportSettings& settings);
