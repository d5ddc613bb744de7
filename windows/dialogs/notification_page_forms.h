// The pages of the notification settings dialog as their controls show the
// module's settings: per risk parameter the levels, whether margin calls
// are sent, the daily schedule and the subject and body templates. Each page
// is a constant description; filling a page and taking it back run over
// IDialogControls, so what a page shows and keeps is checked without a window.
#pragma once

#include <string>
#include <vector>

#include "module/settings/module_settings.h"
#include "windows/dialogs/control_bindings.h"

enum NotificationControl : int {
  kNotificationTree = 1181,
  kConsiderFiltersBox = 1190,
  // Every template: the body may be taken from a file instead of typed in.
  kBodyFromFileBox = 1206,
  kBodyFileEdit = 1097,
  kBodyFileBrowse = 1098,
  // The two template sub-pages of a tabbed page.
  kMainTemplatePage = 119,
  kSecondTemplatePage = 120,
  kSubPageTopicEdit = 1185,
  kSubPageBodyEdit = 1186,
  kSeparateTemplateBox = 1201,
};

// One subject and body template of a margin-call kind, and where it shows:
// on the page itself or on a template sub-page under a tab.
struct TTemplateForm {
  int subPage;  // the sub-page's template; 0: the page itself
  const char* tabText;
  int topicEdit;
  int bodyEdit;
  std::string TModuleSettings::*topic;
  std::string TModuleSettings::*body;
  std::string TModuleSettings::*file;
  // A second template is used only when this flag says so; null for the first.
  bool TModuleSettings::*separate;
  // Replaces the separate-text box's caption of the sub-page; null keeps it.
  const char* separateText;
};

// Controls that take input only while one of the boxes is ticked.
struct TEnableRule {
  std::vector<int> boxes;
  std::vector<int> controls;
};

// A drop-down list of risk-table columns whose selected column is the field.
struct TColumnChoice {
  int combo;
  int TModuleSettings::*field;
  std::vector<TControlItem> (*items)();
  // A stored column that is not offered shows the first one instead.
  bool firstWhenUnknown;
  // Controls that mean nothing while no column is chosen.
  std::vector<int> needColumn;
};

struct TNotificationPage {
  int templateId;
  int scheduleKind;  // 0: the page has no schedule
  int scheduleEdit;
  const char* scheduleRefusal;
  std::vector<TCheckBinding<TModuleSettings>> checks;
  std::vector<TNumberBinding<TModuleSettings>> numbers;
  std::vector<TRadioGroupBinding<TModuleSettings>> radios;
  std::vector<TColumnChoice> columns;
  std::vector<TEnableRule> rules;  // the schedule edit's rule first
  int tabs;                        // the tab control of a page with template sub-pages; 0 none
  std::vector<TTemplateForm> templates;
};

// Every page, in ascending template order: the order in which OK takes them.
const std::vector<TNotificationPage>& NotificationPages();
// The page of a template id; null for an id without a page.
const TNotificationPage* FindNotificationPage(int templateId);
// The template of a page shown on a sub-page; null when the page has none there.
const TTemplateForm* FindTemplateForm(const TNotificationPage& page, int subPage);

// The risk-table columns an arbitrary parameter may watch, and the two margin
// levels, by title in byte order, each with its column id as data.
std::vector<TControlItem> ArbitraryParamColumns();
std::vector<TControlItem> MarginLevelColumns();

// The page's own controls, then which of them take input. Template sub-pages
// are filled on their own.
void FillNotificationPage(const TNotificationPage& page, const TModuleSettings& settings, IDialogControls& controls);
void UpdateNotificationPage(const TNotificationPage& page, IDialogControls& controls);
// What OK keeps from the page's own controls. A schedule that is not a list
// of times of day refuses the page: false, the schedule left as it was.
bool TakeNotificationPage(const TNotificationPage& page, const IDialogControls& controls, TModuleSettings& settings);

void FillTemplateForm(const TTemplateForm& form, const TModuleSettings& settings, IDialogControls& controls);
void UpdateTemplateForm(const TTemplateForm& form, IDialogControls& controls);
// A body taken from a file is read from that file now.
void TakeTemplateForm(const TTemplateForm& form, const IDialogControls& controls, TModuleSettings& settings);
