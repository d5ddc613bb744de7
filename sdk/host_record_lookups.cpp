// Lookups over the host's class records (kind 2), their transaction forms and
// the security records (kind 3). Every field is read by offset from the host's
// own record layout.
#include "sdk/host_record_fields.h"
#include "sdk/plugin_module.h"

#include <cstring>

namespace {
using namespace host::record;

const uint8_t* ClassRecord(const CZenkPluginModule& module, int index) {
  auto* record = static_cast<const uint8_t*>(module.CallHost<33>(kClassKind, kClassSize, index));
  return record != nullptr && Read<int32_t>(record, kClassId) != -1 ? record : nullptr;
}

const uint8_t* SecurityRecord(const CZenkPluginModule& module, int index) {
  auto* record =
      static_cast<const uint8_t*>(module.CallHost<33>(kSecurityKind, kSecuritySize, index));
  return record != nullptr && Read<int32_t>(record, kSecurityId) != -1 ? record : nullptr;
}

// Index of the first used class record that `match` accepts, or -1.
template <typename Match>
int FindClass(const CZenkPluginModule& module, Match match) {
  const int count = module.CallHost<32>(kClassKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* record = ClassRecord(module, index);
    if (record != nullptr && match(record)) return index;
  }
  return -1;
}

// Index of the first transaction form of a class that `match` accepts, or -1.
template <typename Match>
int FindForm(const CZenkPluginModule& module, int classIndex, Match match) {
  const int count = module.CallHost<35>(classIndex);
  for (int sub = 0; sub < count; ++sub) {
    auto* form = static_cast<const uint8_t*>(module.CallHost<36>(classIndex, kFormSize, sub));
    if (form != nullptr && match(form)) return sub;
  }
  return -1;
}

template <typename Match>
int FindSecurity(const CZenkPluginModule& module, Match match) {
  const int count = module.CallHost<32>(kSecurityKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* record = SecurityRecord(module, index);
    if (record != nullptr && match(record)) return index;
  }
  return -1;
}

const uint8_t* ClassOfSecurity(const CZenkPluginModule& module, const uint8_t* security) {
  const int classIndex = Read<int16_t>(security, kSecurityClassIndex);
  return classIndex < 0 ? nullptr : ClassRecord(module, classIndex);
}

bool FormUsable(const uint8_t* form) {
  return Read<int32_t>(form, kFormValue) != 0 && form[kFormFlagByte] != 0;
}

auto ClassContains(uint32_t mask) {
  return [mask](const uint8_t* record) { return ContainsMask(Read<uint32_t>(record, kClassFlags), mask); };
}
auto FormContains(uint32_t subMask) {
  return [subMask](const uint8_t* form) { return ContainsMask(Read<uint32_t>(form, kFormFlags), subMask); };
}
}  // namespace

const uint8_t* CZenkPluginModule::FindHostSubRecord(uint32_t mask, uint32_t subMask) {
  if (!m_initialised) return nullptr;
  const int count = CallHost<32>(kClassKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* record = ClassRecord(*this, index);
    if (record == nullptr || !ClassContains(mask)(record)) continue;
    const int sub = FindForm(*this, index, FormContains(subMask));
    if (sub == -1) continue;
    auto* form = static_cast<const uint8_t*>(CallHost<36>(index, kFormSize, sub));
    return FormUsable(form) ? form : nullptr;
  }
  return nullptr;
}

bool CZenkPluginModule::HasHostSubRecord(int recordIndex, uint32_t subMask) {
  if (!m_initialised || recordIndex == -1) return false;
  const int sub = FindForm(*this, recordIndex, FormContains(subMask));
  if (sub == -1) return false;
  return FormUsable(static_cast<const uint8_t*>(CallHost<36>(recordIndex, kFormSize, sub)));
}

int CZenkPluginModule::FindHostRecordIndex(uint32_t mask) {
  return m_initialised ? FindClass(*this, ClassContains(mask)) : -1;
}

bool CZenkPluginModule::HasHostRecord(uint32_t mask) { return FindHostRecordIndex(mask) != -1; }

const uint8_t* CZenkPluginModule::FindHostRecordByName(const char* name) {
  if (!m_initialised) return nullptr;
  const int index = FindClass(*this, [name](const uint8_t* record) {
    return SameFixedText(record, kClassCode, kClassCodeCapacity, name);
  });
  return index == -1 ? nullptr : ClassRecord(*this, index);
}

bool CZenkPluginModule::TestHostRecordFlags(uint32_t mask, uint32_t mask2) {
  if (!m_initialised) return false;
  const int index = FindClass(*this, [mask](const uint8_t* record) {
    return (Read<uint32_t>(record, kClassFlags) & mask) != 0;
  });
  return index != -1 && ContainsMask(Read<uint32_t>(ClassRecord(*this, index), kClassFlags2), mask2);
}

int CZenkPluginModule::FindItemRecordIndex(const char* name, const char* code) {
  if (!m_initialised) return -1;
  return FindSecurity(*this, [&](const uint8_t* security) {
    if (!SameFixedText(security, kSecurityCode, kSecurityCodeCapacity, code)) return false;
    const uint8_t* owner = ClassOfSecurity(*this, security);
    return owner != nullptr && SameFixedText(owner, kClassCode, kClassCodeCapacity, name);
  });
}

int CZenkPluginModule::FindNonReportItemIndex(uint32_t mask) {
  if (!m_initialised) return -1;
  return FindSecurity(*this, [&](const uint8_t* security) {
    const uint8_t* owner = ClassOfSecurity(*this, security);
    return owner != nullptr && !SameFixedText(owner, kClassCode, kClassCodeCapacity, "REPORT") &&
           ClassContains(mask)(owner);
  });
}

bool CZenkPluginModule::CallHostRecordService(uint32_t mask, uint32_t subMask, const char* text,
                                              int flag, char* errorBuffer, int* result) {
  const int recordIndex = FindClass(*this, ClassContains(mask));
  const int subIndex =
      recordIndex == -1 ? -1 : FindForm(*this, recordIndex, [subMask](const uint8_t* form) {
        return FormContains(subMask)(form) && Read<int32_t>(form, kFormValue) != 0;
      });
  return CallHost<48>(recordIndex, subIndex, text, flag, errorBuffer, result) == 1;
}
