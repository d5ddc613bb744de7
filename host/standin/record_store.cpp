#include "host/standin/record_store.h"

#include <cstring>

namespace {
using namespace host::record;

template <typename T>
void Put(std::vector<uint8_t>& record, int offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

void PutText(std::vector<uint8_t>& record, int offset, int capacity, const std::string& text) {
  const size_t length = text.size() < static_cast<size_t>(capacity - 1) ? text.size() : capacity - 1;
  std::memcpy(record.data() + offset, text.data(), length);
}
}  // namespace

int RecordStore::AddClass(const ClassSpec& spec) {
  Bytes record(kClassSize, 0);
  Put<int32_t>(record, kClassId, spec.id);
  PutText(record, kClassCode, 13, spec.code);
  Put<uint32_t>(record, kClassFlags, spec.flags);
  Put<uint32_t>(record, kClassFlags2, spec.flags2);
  m_classes.push_back(record);
  m_forms.emplace_back();
  return static_cast<int>(m_classes.size()) - 1;
}

int RecordStore::AddForm(int classIndex, const FormSpec& spec) {
  if (classIndex < 0 || classIndex >= static_cast<int>(m_forms.size())) return -1;
  Bytes form(kFormSize, 0);
  Put<uint32_t>(form, kFormFlags, spec.flags);
  form[kFormFlagByte] = spec.flagByte;
  Put<int32_t>(form, kFormValue, spec.value);
  m_forms[classIndex].push_back(form);
  return static_cast<int>(m_forms[classIndex].size()) - 1;
}

int RecordStore::AddSecurity(const SecuritySpec& spec) {
  Bytes record(kSecuritySize, 0);
  Put<int32_t>(record, kSecurityId, spec.id);
  PutText(record, kSecurityCode, 13, spec.code);
  Put<int16_t>(record, kSecurityClassIndex, static_cast<int16_t>(FindClass(spec.classCode)));
  m_securities.push_back(record);
  return static_cast<int>(m_securities.size()) - 1;
}

void RecordStore::Clear() {
  m_classes.clear();
  m_forms.clear();
  m_securities.clear();
}

int RecordStore::Count(int kind) const {
  if (kind == kClassKind) return static_cast<int>(m_classes.size());
  if (kind == kSecurityKind) return static_cast<int>(m_securities.size());
  return 0;
}

uint8_t* RecordStore::Record(int kind, int recordSize, int index) {
  std::vector<Bytes>* records = nullptr;
  if (kind == kClassKind && recordSize == kClassSize) records = &m_classes;
  if (kind == kSecurityKind && recordSize == kSecuritySize) records = &m_securities;
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

int RecordStore::FindClass(const std::string& code) const {
  for (size_t index = 0; index < m_classes.size(); ++index)
    if (std::strncmp(reinterpret_cast<const char*>(m_classes[index].data() + kClassCode),
                     code.c_str(), 13) == 0)
      return static_cast<int>(index);
  return -1;
}
