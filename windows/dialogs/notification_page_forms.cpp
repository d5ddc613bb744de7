#include "windows/dialogs/notification_page_forms.h"

#include <algorithm>

#include "module/settings/body_templates.h"
#include "module/settings/profile_section.h"
#include "windows/tables/table_columns.h"

namespace {

using S = TModuleSettings;

constexpr double kAsIs = 1.0;
constexpr double kPercent = 100.0;
constexpr int kNoColumn = -1;
// As long a path as the file dialog gives (MAX_PATH - 1 characters).
constexpr size_t kBodyFileCapacity = MAX_PATH - 1;

constexpr char kFundsSufficiencyRefusal[] = "Ошибка в расписании рассылки оповещения об уровне достаточности средств.";

std::vector<TControlItem> ByTitle(std::vector<TControlItem> items) {
  std::sort(items.begin(), items.end(), [](const TControlItem& a, const TControlItem& b) {
    return std::lexicographical_compare(a.text.begin(), a.text.end(), b.text.begin(), b.text.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  });
  return items;
}

bool IsMarginLevelColumn(int id) { return id == 22 || id == 23; }

// The sufficiency pages for all positions and for open positions differ only
// in their fields and schedule.
TNotificationPage FundsSufficiencyPage(int templateId, int kind, double S::*warning, double S::*critical,
                                       bool S::*sendWarning, bool S::*sendCritical, bool S::*holdByClgo,
                                       double S::*clgoValue, bool S::*warnSchedule, bool S::*critSchedule,
                                       std::string S::*topic, std::string S::*body, std::string S::*file,
                                       bool S::*separate, std::string S::*topic2, std::string S::*body2,
                                       std::string S::*file2) {
  return {templateId,
          kind,
          1058,
          kFundsSufficiencyRefusal,
          {{1017, sendWarning}, {1018, sendCritical}, {1191, holdByClgo}, {1057, warnSchedule}, {1060, critSchedule}},
          {{1021, warning, kTrimmedDecimals, kAsIs},
           {1022, critical, kTrimmedDecimals, kAsIs},
           {1192, clgoValue, kTrimmedDecimals, kAsIs}},
          {},
          {},
          {{{1057, 1060}, {1058}}, {{1191}, {1192}}},
          1187,
          {{kMainTemplatePage, "Шаблон для опасного уровня", kSubPageTopicEdit, kSubPageBodyEdit, topic, body, file,
            nullptr, nullptr},
           {kSecondTemplatePage, "Шаблон для критического уровня", kSubPageTopicEdit, kSubPageBodyEdit, topic2, body2,
            file2, separate, nullptr}}};
}

// Each page: template, schedule kind, schedule edit, refusal; check boxes,
// numbers, radio groups, column lists, enable rules; tab control, templates.
std::vector<TNotificationPage> BuildPages() {
  std::vector<TNotificationPage> pages;
  pages.push_back(
      {107,
       1,
       1059,
       "Ошибка в расписании рассылки оповещения об отрицательном остатке свободных средств.",
       {{1014, &S::SendLowFundsMsg}, {1061, &S::UseLFSchedule}},
       {},
       {},
       {},
       {{{1061}, {1059}}},
       0,
       {{0, nullptr, 1015, 1016, &S::LowFundsTopic, &S::LowFundsBody, &S::LowFundsFile, nullptr, nullptr}}});
  pages.push_back(FundsSufficiencyPage(108, 2, &S::SFRWarningLevel, &S::SFRCriticalLevel, &S::SendSFRWarningMsg,
                                       &S::SendSFRCriticalMsg, &S::DontSendSFRifCLGO, &S::ValCLGOforSFR,
                                       &S::UseSFRWarnSchedule, &S::UseSFRCritSchedule, &S::SFRTopic, &S::SFRBody,
                                       &S::SFRFile, &S::UseSFRTemplate2, &S::SFRTopic2, &S::SFRBody2, &S::SFRFile2));
  pages.push_back({109,
                   3,
                   1062,
                   "Ошибка в расписании рассылки оповещения об уровне коэффициента ликвидности ГО.",
                   {{1053, &S::SendCLGOMsg}, {1081, &S::CLGOUseVMAI}, {1056, &S::UseCLGOSchedule}},
                   {{1050, &S::CLGOLevel, kTrimmedDecimals, kAsIs}},
                   {{&S::CLGOLimitType, {{1073, 1}, {1074, 2}}, 2}},
                   {},
                   {{{1056}, {1062}}},
                   0,
                   {{0, nullptr, 1052, 1051, &S::CLGOTopic, &S::CLGOBody, &S::CLGOFile, nullptr, nullptr}}});
  pages.push_back({110,
                   5,
                   1072,
                   "Ошибка в расписании рассылки оповещения по композитному критерию.",
                   {{1070, &S::SendMLMsg}, {1071, &S::UseMLSchedule}},
                   {{1069, &S::MLLevel, kTrimmedDecimals, kAsIs}},
                   {},
                   {},
                   {{{1071}, {1072}}},
                   0,
                   {{0, nullptr, 1067, 1068, &S::MLTopic, &S::MLBody, &S::MLFile, nullptr, nullptr}}});
  pages.push_back({111,
                   4,
                   1080,
                   "Ошибка в расписании рассылки оповещения об уровне ожидаемого коэффициента ликвидности ГО.",
                   {{1078, &S::SendECLGOMsg}, {1079, &S::UseECLGOSchedule}},
                   {{1077, &S::ECLGOLevel, kTrimmedDecimals, kAsIs}},
                   {},
                   {},
                   {{{1079}, {1080}}},
                   0,
                   {{0, nullptr, 1076, 1075, &S::ECLGOTopic, &S::ECLGOBody, &S::ECLGOFile, nullptr, nullptr}}});
  pages.push_back({112,
                   6,
                   1091,
                   "Ошибка в расписании рассылки оповещения по произвольному параметру.",
                   {{1092, &S::OnlyUnitedPos}, {1094, &S::SendUPMsg}, {1095, &S::UseUPSchedule}},
                   {{1090, &S::UPLevel, kTrimmedDecimals, kAsIs}},
                   {},
                   {{1093, &S::UPParam, ArbitraryParamColumns, true, {1088, 1089, 1092, 1094, 1095}}},
                   {{{1095}, {1091}}},
                   0,
                   {{0, nullptr, 1088, 1089, &S::UPTopic, &S::UPBody, &S::UPFile, nullptr, nullptr}}});
  pages.push_back(
      {117,
       7,
       1179,
       "Ошибка в расписании рассылки оповещения по уровню маржи.",
       {{1176, &S::ConsiderQualClient}, {1178, &S::SendML2Msg}, {1180, &S::UseML2Schedule}},
       {{1174, &S::ML2Level, kTrimmedDecimals, kPercent}, {1177, &S::ML2LevelQual, kTrimmedDecimals, kPercent}},
       {},
       {{1175, &S::ML2Param, MarginLevelColumns, false, {}}},
       {{{1180}, {1179}}, {{1176}, {1177}}},
       1184,
       {{kMainTemplatePage, "Шаблон для неквалифицированных клиентов", kSubPageTopicEdit, kSubPageBodyEdit,
         &S::ML2Topic, &S::ML2Body, &S::ML2File, nullptr, nullptr},
        {kSecondTemplatePage, "Шаблон для квалифицированных клиентов", kSubPageTopicEdit, kSubPageBodyEdit,
         &S::ML2Topic2, &S::ML2Body2, &S::ML2File2, &S::UseML2Template2,
         "Задавать отдельный текст шаблона для квалифицированных клиентов"}}});
  pages.push_back({124, 0, 0, nullptr, {{1209, &S::AlwaysAllowManualSending}}, {}, {}, {}, {}, 0, {}});
  pages.push_back(FundsSufficiencyPage(126, 9, &S::SFRWarningLevel_fp, &S::SFRCriticalLevel_fp,
                                       &S::SendSFRWarningMsg_fp, &S::SendSFRCriticalMsg_fp, &S::DontSendSFRifCLGO_fp,
                                       &S::ValCLGOforSFR_fp, &S::UseSFRWarnSchedule_fp, &S::UseSFRCritSchedule_fp,
                                       &S::SFRTopic_fp, &S::SFRBody_fp, &S::SFRFile_fp, &S::UseSFRTemplate2_fp,
                                       &S::SFRTopic2_fp, &S::SFRBody2_fp, &S::SFRFile2_fp));
  return pages;
}

// A body is held with "\n" line ends; a multi-line edit shows "\r\n".
std::string ToEditLines(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n') shown += '\r';
    if (c != '\r') shown += c;
  }
  return shown;
}

std::string FromEditLines(const std::string& text) {
  std::string kept = text;
  kept.erase(std::remove(kept.begin(), kept.end(), '\r'), kept.end());
  return kept;
}

bool AnyChecked(const std::vector<int>& boxes, const IDialogControls& controls) {
  return std::any_of(boxes.begin(), boxes.end(), [&](int id) { return controls.Checked(id); });
}

bool Offers(const std::vector<TControlItem>& items, int data) {
  return std::any_of(items.begin(), items.end(), [&](const TControlItem& item) { return item.data == data; });
}

}  // namespace

std::vector<TControlItem> ArbitraryParamColumns() {
  TableSchema columns;
  BuildRiskColumns(columns);
  std::vector<TControlItem> items;
  for (const auto& column : columns)
    if (column.first != 0 && !IsMarginLevelColumn(column.first) && !TableColumnInfo::IsTextType(column.second))
      items.push_back({column.second.title, column.first});
  return ByTitle(items);
}

std::vector<TControlItem> MarginLevelColumns() {
  return ByTitle({{RiskColumnTitle(22), 22}, {RiskColumnTitle(23), 23}});
}

const std::vector<TNotificationPage>& NotificationPages() {
  static const std::vector<TNotificationPage> pages = BuildPages();
  return pages;
}

const TNotificationPage* FindNotificationPage(int templateId) {
  for (const TNotificationPage& page : NotificationPages())
    if (page.templateId == templateId) return &page;
  return nullptr;
}

const TTemplateForm* FindTemplateForm(const TNotificationPage& page, int subPage) {
  for (const TTemplateForm& form : page.templates)
    if (form.subPage == subPage) return &form;
  return nullptr;
}

// The schedule shows even while it is not used, so that OK, which always
// takes it back, keeps it as it was.
void FillNotificationPage(const TNotificationPage& page, const TModuleSettings& settings, IDialogControls& controls) {
  for (const auto& binding : page.checks) Fill(binding, settings, controls);
  for (const auto& binding : page.numbers) Fill(binding, settings, controls);
  for (const auto& binding : page.radios) Fill(binding, settings, controls);
  for (const TColumnChoice& choice : page.columns) {
    const std::vector<TControlItem> items = choice.items();
    controls.SetItems(choice.combo, items);
    const int stored = settings.*choice.field;
    const bool showFirst = choice.firstWhenUnknown && !items.empty() && !Offers(items, stored);
    controls.SelectItemData(choice.combo, showFirst ? items.front().data : stored);
  }
  if (page.scheduleKind != 0) controls.SetText(page.scheduleEdit, settings.FormatNotifSchedule(page.scheduleKind));
  if (const TTemplateForm* form = FindTemplateForm(page, 0)) FillTemplateForm(*form, settings, controls);
  UpdateNotificationPage(page, controls);
}

void UpdateNotificationPage(const TNotificationPage& page, IDialogControls& controls) {
  for (const TEnableRule& rule : page.rules) {
    const bool on = AnyChecked(rule.boxes, controls);
    for (int id : rule.controls) controls.Enable(id, on);
  }
  for (const TColumnChoice& choice : page.columns) {
    if (choice.needColumn.empty()) continue;
    const bool chosen = controls.SelectedItemData(choice.combo).has_value();
    for (int id : choice.needColumn) controls.Enable(id, chosen);
    // The schedule edit follows its box only while the box takes input.
    if (!chosen && page.scheduleKind != 0) controls.Enable(page.scheduleEdit, false);
  }
  if (const TTemplateForm* form = FindTemplateForm(page, 0)) UpdateTemplateForm(*form, controls);
}

bool TakeNotificationPage(const TNotificationPage& page, const IDialogControls& controls, TModuleSettings& settings) {
  if (const TTemplateForm* form = FindTemplateForm(page, 0)) TakeTemplateForm(*form, controls, settings);
  for (const auto& binding : page.numbers) Take(binding, controls, settings);
  for (const auto& binding : page.checks) Take(binding, controls, settings);
  for (const auto& binding : page.radios) Take(binding, controls, settings);
  for (const TColumnChoice& choice : page.columns)
    settings.*choice.field = controls.SelectedItemData(choice.combo).value_or(kNoColumn);
  if (page.scheduleKind == 0) return true;
  return settings.ParseScheduleText(page.scheduleKind, controls.Text(page.scheduleEdit));
}

void FillTemplateForm(const TTemplateForm& form, const TModuleSettings& settings, IDialogControls& controls) {
  if (form.separate != nullptr) {
    controls.SetChecked(kSeparateTemplateBox, settings.*form.separate);
    if (form.separateText != nullptr) controls.SetText(kSeparateTemplateBox, form.separateText);
  }
  // A subject comes back from info.ini through the settings' value buffer;
  // the body goes to a file of its own and is bound by its edit only.
  controls.LimitText(form.topicEdit, kProfileValueLength);
  controls.LimitText(kBodyFileEdit, kBodyFileCapacity);
  controls.SetText(form.topicEdit, settings.*form.topic);
  controls.SetText(form.bodyEdit, ToEditLines(settings.*form.body));
  const std::string& file = settings.*form.file;
  controls.SetChecked(kBodyFromFileBox, !file.empty());
  controls.SetText(kBodyFileEdit, file);
  UpdateTemplateForm(form, controls);
}

// The body is typed in or taken from a file, never both.
void UpdateTemplateForm(const TTemplateForm& form, IDialogControls& controls) {
  const bool used = form.separate == nullptr || controls.Checked(kSeparateTemplateBox);
  const bool fromFile = controls.Checked(kBodyFromFileBox);
  controls.Enable(form.topicEdit, used);
  controls.Enable(kBodyFromFileBox, used);
  controls.Enable(form.bodyEdit, used && !fromFile);
  controls.Enable(kBodyFileEdit, used && fromFile);
  controls.Enable(kBodyFileBrowse, used && fromFile);
}

void TakeTemplateForm(const TTemplateForm& form, const IDialogControls& controls, TModuleSettings& settings) {
  if (form.separate != nullptr) settings.*form.separate = controls.Checked(kSeparateTemplateBox);
  settings.*form.topic = controls.Text(form.topicEdit);
  if (controls.Checked(kBodyFromFileBox)) {
    settings.*form.file = controls.Text(kBodyFileEdit).substr(0, kBodyFileCapacity);
    settings.*form.body = ReadBodyTemplateFile(settings.*form.file);
  } else {
    settings.*form.body = FromEditLines(controls.Text(form.bodyEdit));
    (settings.*form.file).clear();
  }
}
