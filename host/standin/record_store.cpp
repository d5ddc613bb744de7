#include "host/standin/record_store.h"

#include "sdk/host_data_records.h"

#include <cstring>

namespace {
using namespace host::record;

constexpr int kPositionKind = 9;

template <typename T>
void Put(std::vector<uint8_t>& record, int offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

void PutText(std::vector<uint8_t>& record, int offset, int capacity, const std::string& text) {
  const size_t length = text.size() < static_cast<size_t>(capacity - 1) ? text.size() : capacity - 1;
  std::memcpy(record.data() + offset, text.data(), length);
}
}  // namespace

int RecordStore::AddClass(const ClassSpec& fields) {
  Bytes record(kClassSize, 0);
  Put<int32_t>(record, kClassId, fields.id);
  PutText(record, kClassCode, 13, fields.code);
  Put<uint32_t>(record, kClassFlags, fields.flags);
  Put<uint32_t>(record, kClassFlags2, fields.flags2);
  m_classes.push_back(record);
  m_forms.emplace_back();
  m_formSpecs.emplace_back();
  return static_cast<int>(m_classes.size()) - 1;
}

int RecordStore::AddForm(int classIndex, const FormSpec& fields) {
  if (classIndex < 0 || classIndex >= static_cast<int>(m_forms.size())) return -1;
  Bytes form(kFormSize, 0);
  Put<uint32_t>(form, kFormFlags, fields.flags);
  form[kFormFlagByte] = fields.flagByte;
  Put<int32_t>(form, kFormValue, fields.value);
  if (!fields.fields.empty()) {
    using namespace form_field;
    m_fieldArrays.emplace_back();
    for (const FormFieldSpec& given : fields.fields) {
      Bytes& field = m_fieldRecords.emplace_back(kRecordSize, 0);
      PutText(field, kName, kNameCapacity, given.name);
      PutText(field, kDefault, kDefaultCapacity, given.defaultValue);
      Put<uint32_t>(field, kFlags, given.flags);
      Put<int16_t>(field, kMaxLength, given.maxLength);
      m_fieldArrays.back().push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(field.data())));
    }
    Put<uint32_t>(form, kFormFieldArray, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_fieldArrays.back().data())));
    Put<int32_t>(form, kFormFieldCount, static_cast<int32_t>(fields.fields.size()));
  }
  m_formSpecs[classIndex].push_back(fields);
  m_forms[classIndex].push_back(form);
  return static_cast<int>(m_forms[classIndex].size()) - 1;
}

int RecordStore::AddSecurity(const SecuritySpec& fields) {
  Bytes record(kSecuritySize, 0);
  Put<uint16_t>(record, kSecurityType, fields.type);
  record[kSecurityFlagByte] = fields.flagByte;
  Put<int32_t>(record, kSecurityId, fields.id);
  PutText(record, kSecurityCode, kSecurityCodeCapacity, fields.code);
  PutText(record, kSecurityName, kSecurityShortName - kSecurityName, fields.name);
  PutText(record, kSecurityShortName, kSecurityCurrency - kSecurityShortName, fields.shortName);
  PutText(record, kSecurityCurrency, kSecurityCurrencyCapacity, fields.currency);
  Put<int16_t>(record, kSecurityPriceDecimals, fields.priceDecimals);
  Put<int64_t>(record, kSecurityValueDivisor, fields.valueDivisor);
  Put<int64_t>(record, kSecurityContractUnits, fields.contractUnits);
  PutText(record, kSecurityBaseAsset, kSecurityBaseAssetCapacity, fields.baseAsset);
  Put<int32_t>(record, kSecurityTrading, fields.trading);
  Put<double>(record, kSecurityPriceStep, fields.priceStep);
  Put<int16_t>(record, kSecurityClassIndex, static_cast<int16_t>(FindClass(fields.classCode)));
  m_securities.push_back(record);
  return static_cast<int>(m_securities.size()) - 1;
}

int RecordStore::AddSpot(const SpotSpec& fields) {
  Bytes record(kSpotSize, 0);
  Put<double>(record, kSpotValue40, fields.value40);
  Put<double>(record, kSpotValue48, fields.value48);
  Put<double>(record, kSpotValue56, fields.value56);
  Put<double>(record, kSpotValue64, fields.value64);
  Put<int32_t>(record, kSpotStatus, fields.status);
  m_spots.push_back(record);
  m_spotKeys.push_back(fields);
  return static_cast<int>(m_spots.size()) - 1;
}

int RecordStore::AddFirm(const FirmSpec& fields) {
  m_firmSpecs.push_back(fields);
  Bytes record(kFirmSettingsSize, 0);
  Put<const char*>(record, kFirmSettingsText, m_firmSpecs.back().text.c_str());
  PutText(record, kFirmSettingsName, kFirmNameCapacity, fields.name);
  Put<int32_t>(record, kFirmSettingsReady, fields.ready);
  m_firms.push_back(record);
  return static_cast<int>(m_firms.size()) - 1;
}

int RecordStore::AddPosition(const std::vector<uint8_t>& record) {
  m_positions.push_back(record);
  m_positions.back().resize(host_data::kPositionSize);
  return static_cast<int>(m_positions.size()) - 1;
}

void RecordStore::Clear() {
  m_classes.clear();
  m_forms.clear();
  m_formSpecs.clear();
  m_fieldRecords.clear();
  m_fieldArrays.clear();
  m_securities.clear();
  m_spots.clear();
  m_spotKeys.clear();
  m_firms.clear();
  m_firmSpecs.clear();
  m_positions.clear();
}

int RecordStore::Count(int kind) const {
  if (kind == kClassKind) return static_cast<int>(m_classes.size());
  if (kind == kSecurityKind) return static_cast<int>(m_securities.size());
  if (kind == kSpotKind) return static_cast<int>(m_spots.size());
  if (kind == kFirmSettingsKind) return static_cast<int>(m_firms.size());
  if (kind == kPositionKind) return static_cast<int>(m_positions.size());
  return 0;
}

uint8_t* RecordStore::Record(int kind, int recordSize, int index) {
  std::vector<Bytes>* records = nullptr;
  if (kind == kClassKind && recordSize == kClassSize) records = &m_classes;
  if (kind == kSecurityKind && recordSize == kSecuritySize) records = &m_securities;
  if (kind == kSpotKind && recordSize == kSpotSize) records = &m_spots;
  if (kind == kFirmSettingsKind && recordSize == kFirmSettingsSize) records = &m_firms;
  if (kind == kPositionKind && recordSize == static_cast<int>(host_data::kPositionSize)) records = &m_positions;
  if (records == nullptr || index < 0 || index >= static_cast<int>(records->size())) return nullptr;
  return (*records)[index].data();
}

int RecordStore::FormCount(int classIndex) const {
  if (classIndex < 0 || classIndex >= static_cast<int>(m_forms.size())) return 0;
  return static_cast<int>(m_forms[classIndex].size());
}

uint8_t* RecordStore::Form(int classIndex, int recordSize, int subIndex) {
  if (recordSize != kFormSize || subIndex < 0 || subIndex >= FormCount(classIndex)) return nullptr;
  return m_forms[classIndex][subIndex].data();
}

const FormSpec* RecordStore::FormFields(int classIndex, int subIndex) const {
  if (subIndex < 0 || subIndex >= FormCount(classIndex)) return nullptr;
  return &m_formSpecs[classIndex][subIndex];
}

std::vector<FormFieldSpec> OrderFormFields() {
  using namespace form_field;
  return {{"ACTION", 0, 0, "NEW_ORDER"}, {"CLIENT_CODE", kFirstText}, {"ACCOUNT", kAccount},
          {"CLASSCODE", form_field::kClassCode}, {"SECCODE", form_field::kSecurityCode},   {"OPERATION", kDirection},
          {"PRICE", kPrice},             {"QUANTITY", kQuantity},      {"TYPE", kLimitOrder},
          {"COMMENT", kComment, 20}};
}

int RecordStore::FindClass(const std::string& code) const {
  for (size_t index = 0; index < m_classes.size(); ++index)
    if (std::strncmp(reinterpret_cast<const char*>(m_classes[index].data() + kClassCode),
                     code.c_str(), 13) == 0)
      return static_cast<int>(index);
  return -1;
}

int RecordStore::FindSecurityByCode(const std::string& code) const {
  if (code.empty() || code.size() >= static_cast<size_t>(kSecurityCodeCapacity)) return -1;
  for (size_t index = 0; index < m_securities.size(); ++index)
    if (code == reinterpret_cast<const char*>(m_securities[index].data() + kSecurityCode))
      return static_cast<int>(index);
  return -1;
}

int RecordStore::FindSecurity(const std::string& code, const std::string& classCode) const {
  const int classIndex = FindClass(classCode);
  if (classIndex < 0) return -1;
  for (size_t index = 0; index < m_securities.size(); ++index) {
    const uint8_t* record = m_securities[index].data();
    int16_t owner;
    std::memcpy(&owner, record + kSecurityClassIndex, sizeof owner);
    if (owner == classIndex &&
        std::strncmp(reinterpret_cast<const char*>(record + kSecurityCode), code.c_str(),
                     kSecurityCodeCapacity) == 0)
      return static_cast<int>(index);
  }
  return -1;
}

int RecordStore::FindSpot(const std::string& firm, const std::string& client,
                          const std::string& boardTag, const std::string& currency) const {
  for (size_t index = 0; index < m_spotKeys.size(); ++index) {
    const SpotSpec& key = m_spotKeys[index];
    if (key.firm == firm && key.client == client && key.boardTag == boardTag &&
        key.currency == currency)
      return static_cast<int>(index);
  }
  return -1;
}

const std::string* RecordStore::FirmText(const std::string& firm) const {
  for (const FirmSpec& fields : m_firmSpecs)
    if (fields.name == firm) return &fields.text;
  return nullptr;
}
