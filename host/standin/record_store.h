// The host's records that the plug-in reads through host functions 32 to 36:
// classes (kind 2), their transaction forms and securities (kind 3), laid out
// byte for byte as the host keeps them.
#pragma once

#include "sdk/host_api.h"

#include <cstdint>
#include <string>
#include <vector>

struct ClassSpec {
  std::string code;
  uint32_t flags = 0;
  uint32_t flags2 = 0;
  int32_t id = 1;  // -1 marks an empty slot
};

struct FormSpec {
  uint32_t flags = 0;
  uint8_t flagByte = 1;
  int32_t value = 1;
};

struct SecuritySpec {
  std::string classCode;
  std::string code;
  int32_t id = 1;
};

class RecordStore {
 public:
  // Each returns the new record's index.
  int AddClass(const ClassSpec& spec);
  int AddForm(int classIndex, const FormSpec& spec);
  int AddSecurity(const SecuritySpec& spec);
  void Clear();

  int Count(int kind) const;
  // Null for an unknown kind, a wrong record size or an index out of range.
  uint8_t* Record(int kind, int recordSize, int index);
  int FormCount(int classIndex) const;
  uint8_t* Form(int classIndex, int recordSize, int subIndex);
  int FindClass(const std::string& code) const;

 private:
  using Bytes = std::vector<uint8_t>;
  std::vector<Bytes> m_classes;
  std::vector<std::vector<Bytes>> m_forms;
  std::vector<Bytes> m_securities;
};
