#include "host/standin/scenario.h"

#include "host/standin/scenario_file.h"
#include "host/standin/scenario_sections.h"
#include "host/standin/standin_host.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
// The security parameters the host quotes by name (host function 43).
constexpr const char* kParameterNames[] = {"last",       "prevprice", "offer",    "bid",
                                           "theorprice", "steppricet", "buydepo", "selldepo",
                                           "clstate",    "crossrate"};

// "\n" in a one-line INI value stands for a line break.
std::string Unescape(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      result += "\r\n";
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// "order" is the stand-in's order form; otherwise fields written
// "NAME:FLAGS[:MAXLENGTH[:DEFAULT]]", separated by ";".
std::vector<FormFieldSpec> FormFieldList(const std::string& text) {
  if (text == "order") return OrderFormFields();
  std::vector<FormFieldSpec> fields;
  for (const std::string& item : SplitList(text, ';')) {
    const std::vector<std::string> parts = SplitList(item, ':');
    FormFieldSpec field;
    field.name = parts[0];
    if (parts.size() > 1) field.flags = static_cast<uint32_t>(std::strtoul(parts[1].c_str(), nullptr, 0));
    if (parts.size() > 2) field.maxLength = static_cast<int16_t>(std::atoi(parts[2].c_str()));
    if (parts.size() > 3) field.defaultValue = parts[3];
    fields.push_back(field);
  }
  return fields;
}

}  // namespace

bool LoadScenario(const std::string& path, StandInHost& host, ScenarioHost* hostSettings) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  ScenarioFile file(path);
  if (hostSettings != nullptr) {
    const std::string version = file.Text("Host", "Version", "7.0");
    hostSettings->versionMajor = std::atoi(version.c_str());
    const size_t point = version.find('.');
    hostSettings->versionMinor = point == std::string::npos ? 0 : std::atoi(version.c_str() + point + 1);
  }
  if (const uint32_t date = file.Number("Host", "Date")) host.SetDate(static_cast<int>(date));
  host.SetAcceptDialogs(file.Number("Host", "AcceptDialogs") != 0);
  host.Exchange().SetRefusing(file.Number("Exchange", "Refuse") != 0);
  host.Exchange().SetExchangeCode(file.Text("Exchange", "Code", "EXCH"));

  ForEachNumbered(file, "Class", [&](const std::string& section, int) {
    ClassSpec fields;
    fields.code = file.Text(section, "Code");
    fields.flags = file.Number(section, "Flags");
    fields.flags2 = file.Number(section, "Flags2");
    fields.id = static_cast<int32_t>(file.Number(section, "Id", 1));
    host.Records().AddClass(fields);
  });
  ForEachNumbered(file, "Form", [&](const std::string& section, int) {
    FormSpec fields;
    fields.flags = file.Number(section, "Flags");
    fields.flagByte = static_cast<uint8_t>(file.Number(section, "FlagByte", 1));
    fields.value = static_cast<int32_t>(file.Number(section, "Value", 1));
    fields.fields = FormFieldList(file.Text(section, "Fields"));
    host.Records().AddForm(host.Records().FindClass(file.Text(section, "Class")), fields);
  });
  ForEachNumbered(file, "Security", [&](const std::string& section, int) {
    SecuritySpec fields;
    fields.classCode = file.Text(section, "Class");
    fields.code = file.Text(section, "Code");
    fields.id = static_cast<int32_t>(file.Number(section, "Id", 1));
    fields.type = static_cast<uint16_t>(file.Number(section, "Type"));
    fields.flagByte = static_cast<uint8_t>(file.Number(section, "FlagByte"));
    fields.name = file.Text(section, "Name");
    fields.shortName = file.Text(section, "ShortName");
    fields.currency = file.Text(section, "Currency");
    fields.baseAsset = file.Text(section, "BaseAsset");
    fields.trading = static_cast<int32_t>(file.Number(section, "Trading"));
    fields.priceStep = file.Real(section, "PriceStep");
    fields.priceDecimals = static_cast<int16_t>(file.Number(section, "Decimals"));
    fields.valueDivisor = static_cast<int32_t>(file.Number(section, "ValueDivisor"));
    fields.contractUnits = static_cast<int32_t>(file.Number(section, "ContractUnits"));
    const int index = host.Records().AddSecurity(fields);
    for (const char* name : kParameterNames) {
      double value;
      if (file.Real(section, name, &value)) host.Market().SetParameter(index, name, value);
    }
  });
  ForEachNumbered(file, "Spot", [&](const std::string& section, int) {
    SpotSpec fields;
    fields.firm = file.Text(section, "Firm");
    fields.client = file.Text(section, "Client");
    fields.boardTag = file.Text(section, "BoardTag");
    fields.currency = file.Text(section, "Currency");
    fields.value40 = file.Real(section, "Value40");
    fields.value48 = file.Real(section, "Value48");
    fields.value56 = file.Real(section, "Value56");
    fields.value64 = file.Real(section, "Value64");
    fields.status = static_cast<int32_t>(file.Number(section, "Status"));
    host.Records().AddSpot(fields);
  });
  ForEachNumbered(file, "Firm", [&](const std::string& section, int) {
    FirmSpec fields;
    fields.name = file.Text(section, "Name");
    const std::string textFile = file.Text(section, "TextFile");
    fields.text = textFile.empty() ? Unescape(file.Text(section, "Text"))
                                 : ReadWholeFile(file.Neighbour(textFile));
    fields.ready = static_cast<int32_t>(file.Number(section, "Ready", 1));
    host.Records().AddFirm(fields);
    if (!fields.name.empty()) host.Feed().firms.push_back(fields.name);
  });
  ForEachNumbered(file, "ClientValue", [&](const std::string& section, int) {
    ClientValue value;
    value.value = file.Real(section, "Value");
    value.result = static_cast<int>(file.Number(section, "Result"));
    host.Market().SetClientValue(file.Text(section, "Firm"), file.Text(section, "Client"),
                                 static_cast<int>(file.Number(section, "Number")), value);
  });
  host.Market().SetRefreshWords(file.Number("Refresh", "WordA"), file.Number("Refresh", "WordB"));
  std::istringstream accepted(file.Text("Refresh", "Accepted"));
  for (std::string text; std::getline(accepted, text, ',');)
    if (!text.empty()) host.Market().AcceptEntry(text);
  ForEachNumbered(file, "Option", [&](const std::string& section, int) {
    host.SetOption(static_cast<int>(file.Number(section, "Category")),
                   static_cast<int>(file.Number(section, "Id")), file.Number(section, "Value"));
  });
  LoadClientSections(file, host);
  LoadSteps(file, host);
  return true;
}
