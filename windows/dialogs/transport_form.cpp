#include "windows/dialogs/transport_form.h"

#include "windows/dialogs/control_bindings.h"

#include <cstdio>
#include <cstdlib>

namespace {

const TTextBinding<TTransportSettings> kTextControls[] = {
    {kSmtpServerEdit, &TTransportSettings::SMTPServer},
    {kPortEdit, &TTransportSettings::Port},
    {kSenderEdit, &TTransportSettings::SenderAddress},
    {kMailLoginEdit, &TTransportSettings::MailLogin},
    {kEmailsFileEdit, &TTransportSettings::ZenkEmailsVsClientCodesFile},
    {kUidsFileEdit, &TTransportSettings::ZenkUIDsVsClientCodesFile},
    {kMc2zDirectoriesEdit, &TTransportSettings::MC2ZDirectories},
    {kDsnEdit, &TTransportSettings::DSN},
    {kDbLoginEdit, &TTransportSettings::DBLogin},
    {kDbTableEdit, &TTransportSettings::DBTable},
};

const TCheckBinding<TTransportSettings> kCheckControls[] = {
    {kNotifEnabledAtStartBox, &TTransportSettings::NotifEnabledAtStart},
    {kNotifyByEmailBox, &TTransportSettings::NotifyByEmail},
    {kAuthorisationBox, &TTransportSettings::IsAuthorisationUsed},
    {kBlindCopyBox, &TTransportSettings::UseBlindCopy},
    {kSeparateEmailsBox, &TTransportSettings::SendSeparateEmails},
    {kTraderMsgBox, &TTransportSettings::NotifyByTraderMsg},
    {kMc2zBox, &TTransportSettings::NotifyByMC2Z},
    {kSmsBox, &TTransportSettings::NotifyBySMS},
    {kSaveToDbBox, &TTransportSettings::NeedSaveToDB},
};

const int kMailControls[] = {kSmtpServerEdit, kPortEdit,         kSenderEdit,    kAuthorisationBox,
                             kEmailsFileEdit, kEmailsFileBrowse, kCopyEmailsEdit, kBlindCopyBox,
                             kSeparateEmailsBox};
const int kDatabaseControls[] = {kDsnEdit, kDbLoginEdit, kDbTableEdit, kDbPasswordButton};

// MinTime with all bits set means "not set".
const unsigned kMinTimeNotSet = ~0u;

}  // namespace

void FillTransportControls(const TTransportSettings& settings, IDialogControls& controls) {
  FillAll(kTextControls, settings, controls);
  FillAll(kCheckControls, settings, controls);
  controls.SetText(kDbTableEdit, settings.GetDBTable());
  controls.SetText(kCopyEmailsEdit, JoinWithComma(settings.CopyEmails));
  char number[64] = "";
  const unsigned minTime = static_cast<unsigned>(settings.MinTime);
  if (minTime != kMinTimeNotSet) snprintf(number, sizeof number, "%u", minTime);
  controls.SetText(kMinTimeEdit, number);
  snprintf(number, sizeof number, "%f", settings.MinParamChange);
  controls.SetText(kMinParamChangeEdit, number);
}

void EnableTransportControls(IDialogControls& controls) {
  const bool mail = controls.Checked(kNotifyByEmailBox);
  for (int id : kMailControls) controls.Enable(id, mail);
  const bool login = mail && controls.Checked(kAuthorisationBox);
  controls.Enable(kMailLoginEdit, login);
  controls.Enable(kMailPasswordButton, login);
  if (mail && controls.Checked(kSeparateEmailsBox)) controls.Enable(kBlindCopyBox, false);
  const bool mc2z = controls.Checked(kMc2zBox);
  const bool uids = mc2z || controls.Checked(kTraderMsgBox) || controls.Checked(kSmsBox);
  controls.Enable(kUidsFileEdit, uids);
  controls.Enable(kUidsFileBrowse, uids);
  controls.Enable(kMc2zDirectoriesEdit, mc2z);
  const bool database = controls.Checked(kSaveToDbBox);
  for (int id : kDatabaseControls) controls.Enable(id, database);
}

void TakeTransportControls(const IDialogControls& controls, TTransportSettings& settings) {
  TakeAll(kTextControls, controls, settings);
  TakeAll(kCheckControls, controls, settings);
  const std::string minTime = controls.Text(kMinTimeEdit);
  if (!minTime.empty()) settings.MinTime = static_cast<int>(std::atol(minTime.c_str()));
  settings.MinParamChange = std::atof(controls.Text(kMinParamChangeEdit).c_str());
  settings.SetCopyEmails(controls.Text(kCopyEmailsEdit));
}

bool UidFileMissing(const TTransportSettings& settings) {
  return settings.ZenkUIDsVsClientCodesFile.empty() &&
         (settings.NotifyByTraderMsg || settings.NotifyByMC2Z || settings.NotifyBySMS);
}
