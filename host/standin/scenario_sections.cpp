#include "host/standin/client_generator.h"
#include "host/standin/scenario_file.h"
#include "host/standin/scenario_sections.h"
#include "host/standin/standin_host.h"

#include <algorithm>

namespace {
int32_t Signed(const ScenarioFile& file, const std::string& section, const char* key) {
  return static_cast<int32_t>(file.Number(section, key));
}

std::vector<int32_t> NumberList(const std::string& text) {
  std::vector<int32_t> numbers;
  for (const std::string& item : SplitList(text, ','))
    numbers.push_back(static_cast<int32_t>(std::strtol(item.c_str(), nullptr, 0)));
  return numbers;
}

// Keys "ParamID" (portfolio 0) and "ParamID@PORTFOLIO" give host function 202's answers.
void LoadParameters(const ScenarioFile& file, const std::string& section, const std::string& firm,
                    const std::string& client, ClientModel& clients) {
  for (const std::string& key : file.Keys(section)) {
    if (key.size() <= 5 || _strnicmp(key.c_str(), "Param", 5) != 0) continue;
    char* end = nullptr;
    const long id = std::strtol(key.c_str() + 5, &end, 10);
    if (end == key.c_str() + 5) continue;
    long portfolio = 0;
    if (*end == '@') portfolio = std::strtol(end + 1, &end, 10);
    if (*end != '\0') continue;
    clients.SetParameter(firm, client, portfolio, id, file.Real(section, key.c_str()));
  }
}

LimitSpec ReadLimit(const ScenarioFile& file, const std::string& section) {
  LimitSpec limit;
  limit.id = Signed(file, section, "Id");
  limit.firm = file.Text(section, "Firm");
  limit.account = file.Text(section, "Account");
  limit.type = static_cast<int16_t>(Signed(file, section, "Type"));
  limit.coefficient = file.Real(section, "Coefficient");
  limit.dayStart = file.Real(section, "DayStart");
  limit.netPosition = file.Real(section, "NetPosition");
  limit.planned = file.Real(section, "Planned");
  limit.realVariationMargin = file.Real(section, "RealVM");
  limit.interimBase = file.Real(section, "InterimBase");
  limit.netPositionOpen = file.Real(section, "NetPositionOpen");
  limit.deduction112 = file.Real(section, "Deduction112");
  limit.deduction120 = file.Real(section, "Deduction120");
  return limit;
}

PositionSpec ReadPosition(const ScenarioFile& file, const std::string& section) {
  PositionSpec position;
  position.id = Signed(file, section, "Id");
  position.firm = file.Text(section, "Firm");
  position.account = file.Text(section, "Account");
  position.security = file.Text(section, "Security");
  position.quantity = Signed(file, section, "Quantity");
  position.variationMargin = file.Real(section, "VariationMargin");
  return position;
}

GeneratedClientsSpec ReadGenerator(const ScenarioFile& file) {
  const char* section = "GeneratedClients";
  GeneratedClientsSpec wanted;
  wanted.count = static_cast<int>(file.Number(section, "Count"));
  wanted.seed = file.Number(section, "Seed", 1);
  wanted.firms = SplitList(file.Text(section, "Firms"), ',');
  wanted.futures = SplitList(file.Text(section, "Futures"), ',');
  wanted.options = SplitList(file.Text(section, "Options"), ',');
  wanted.boardTag = file.Text(section, "BoardTag", "EQTV");
  wanted.currency = file.Text(section, "Currency", "SUR");
  wanted.unitedEvery = static_cast<int>(file.Number(section, "UnitedEvery", 4));
  wanted.riskyEvery = static_cast<int>(file.Number(section, "RiskyEvery", 10));
  wanted.firstLimitId = Signed(file, section, "FirstLimitId");
  if (wanted.firstLimitId == 0) wanted.firstLimitId = 1;
  wanted.firstPositionId = Signed(file, section, "FirstPositionId");
  if (wanted.firstPositionId == 0) wanted.firstPositionId = 100001;
  return wanted;
}
}  // namespace

void LoadClientSections(const ScenarioFile& file, StandInHost& host) {
  ClientModel& clients = host.Clients();
  ForEachNumbered(file, "Account", [&](const std::string& section, int) {
    const std::string firm = file.Text(section, "Firm");
    const std::string account = file.Text(section, "Account");
    const std::string clientCode = file.Text(section, "ClientCode");
    if (clientCode.empty()) return;  // not united: the host resolves nothing
    clients.SetClientCode(firm, account, clientCode);
    double qualified;
    if (file.Real(section, "Qualified", &qualified)) clients.SetQualification(firm, clientCode, qualified);
    clients.SetPortfolios(firm, clientCode, NumberList(file.Text(section, "Portfolios")));
    LoadParameters(file, section, firm, clientCode, clients);
  });
  ForEachNumbered(file, "Limit", [&](const std::string& section, int) {
    if (file.Number(section, "Start", 1) != 0)
      host.Feed().startRecords.push_back(BuildLimit(ReadLimit(file, section)));
  });
  ForEachNumbered(file, "Position", [&](const std::string& section, int) {
    if (file.Number(section, "Start", 1) != 0)
      host.Feed().startRecords.push_back(BuildPosition(ReadPosition(file, section)));
  });
  if (file.HasSection("GeneratedClients")) GenerateClients(ReadGenerator(file), host);
}

namespace {
bool ParseNumber(const std::string& text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0';
}

// "RIZ6 last 110000; RIZ6 offer 110010": a change of a security the host does
// not have, or one not written so, is left out and reported.
std::vector<ParameterChange> ParameterChanges(const std::string& section, const std::string& text,
                                              StandInHost& host) {
  std::vector<ParameterChange> changes;
  for (const std::string& item : SplitList(text, ';')) {
    const std::vector<std::string> words = SplitList(item, ' ');
    double value = 0.0;
    if (words.size() != 3 || !ParseNumber(words[2], &value)) {
      host.Feed().problems.push_back("[" + section + "] SetParam \"" + item +
                                     "\": not \"SECURITY parameter value\"");
    } else if (host.Records().FindSecurityByCode(words[0]) < 0) {
      host.Feed().problems.push_back("[" + section + "] SetParam \"" + item +
                                     "\": no security " + words[0]);
    } else {
      changes.push_back({words[0], words[1], value});
    }
  }
  return changes;
}

// "4 MC0001; 1"
std::vector<HostEventSpec> Events(const std::string& section, const std::string& text,
                                  StandInHost& host) {
  std::vector<HostEventSpec> events;
  for (const std::string& item : SplitList(text, ';')) {
    const std::vector<std::string> words = SplitList(item, ' ');
    char* end = nullptr;
    const unsigned long number = std::strtoul(words[0].c_str(), &end, 0);
    if (*end != '\0' || words.size() > 2) {
      host.Feed().problems.push_back("[" + section + "] Event \"" + item +
                                     "\": not \"number [firm]\"");
      continue;
    }
    HostEventSpec event;
    event.number = static_cast<uint32_t>(number);
    if (words.size() > 1) event.name = words[1];
    events.push_back(event);
  }
  return events;
}
// "2 5; 3 1": the second order taken fills 5 lots, the third 1.
std::vector<std::pair<int, int64_t>> Fills(const std::string& section, const std::string& text,
                                           StandInHost& host) {
  std::vector<std::pair<int, int64_t>> fills;
  for (const std::string& item : SplitList(text, ';')) {
    const std::vector<std::string> words = SplitList(item, ' ');
    double order = 0.0, lots = 0.0;
    if (words.size() != 2 || !ParseNumber(words[0], &order) || !ParseNumber(words[1], &lots) || order < 1 ||
        lots < 1) {
      host.Feed().problems.push_back("[" + section + "] FillOrder \"" + item + "\": not \"order lots\"");
      continue;
    }
    fills.emplace_back(static_cast<int>(order), static_cast<int64_t>(lots));
  }
  return fills;
}
}  // namespace

void LoadSteps(const ScenarioFile& file, StandInHost& host) {
  std::vector<HostStep> steps;
  ForEachNumbered(file, "Step", [&](const std::string& section, int) {
    HostStep step;
    step.atMilliseconds = static_cast<int>(file.Number(section, "At"));
    step.parameters = ParameterChanges(section, file.Text(section, "SetParam"), host);
    const std::string connected = file.Text(section, "Connected");
    if (!connected.empty()) step.connected = std::atoi(connected.c_str()) != 0 ? 1 : 0;
    for (int32_t number : NumberList(file.Text(section, "PushLimit"))) {
      const std::string limit = "Limit" + std::to_string(number);
      if (file.HasSection(limit))
        step.records.push_back(BuildLimit(ReadLimit(file, limit)));
      else
        host.Feed().problems.push_back("[" + section + "] PushLimit: no [" + limit + "]");
    }
    for (int32_t number : NumberList(file.Text(section, "PushPosition"))) {
      const std::string position = "Position" + std::to_string(number);
      if (file.HasSection(position))
        step.records.push_back(BuildPosition(ReadPosition(file, position)));
      else
        host.Feed().problems.push_back("[" + section + "] PushPosition: no [" + position + "]");
    }
    for (int32_t id : NumberList(file.Text(section, "RemoveLimit")))
      step.records.push_back(BuildLimitRemoval(id));
    step.events = Events(section, file.Text(section, "Event"), host);
    const std::string menu = file.Text(section, "Menu");
    if (!menu.empty()) step.menuCommands.push_back(menu);
    const std::string selection = file.Text(section, "Select");
    if (!selection.empty()) step.selections.push_back(selection);
    const std::string contextMenu = file.Text(section, "ContextMenu");
    if (!contextMenu.empty()) step.contextMenus.push_back(contextMenu);
    for (int32_t command : NumberList(file.Text(section, "Command"))) step.windowCommands.push_back(command);
    for (int32_t command : NumberList(file.Text(section, "MenuCommand"))) step.pluginMenuCommands.push_back(command);
    step.dialogPage = static_cast<int>(file.Number(section, "DialogPage"));
    step.closeDialog = file.Number(section, "CloseDialog") != 0;
    step.fills = Fills(section, file.Text(section, "FillOrder"), host);
    for (int32_t order : NumberList(file.Text(section, "WithdrawOrder"))) step.withdrawals.push_back(order);
    const std::string refuse = file.Text(section, "Refuse");
    if (!refuse.empty()) step.refuse = std::atoi(refuse.c_str()) != 0 ? 1 : 0;
    steps.push_back(step);
  });
  std::stable_sort(steps.begin(), steps.end(), [](const HostStep& a, const HostStep& b) {
    return a.atMilliseconds < b.atMilliseconds;
  });
  for (HostStep& step : steps) host.Feed().steps.push_back(std::move(step));
}
