// The host's records that the plug-in reads through host functions 32 to 36:
// classes (kind 2), their transaction forms, securities (kind 3), clients'
// positions (kind 9), spot-market positions (kind 12) and firms' settings objects (kind 14), laid
// out byte for byte as the host keeps them.
#pragma once

#include "sdk/host_api.h"

#include <cstdint>
#include <list>
#include <string>
#include <vector>

struct ClassSpec {
  std::string code;
  uint32_t flags = 0;
  uint32_t flags2 = 0;
  int32_t id = 1;  // -1 marks an empty slot
};

// A field of a transaction form: its name in the transaction, the flags that
// tell the plug-in which value it takes, its longest value (the comment's)
// and the value of a field that no flag names.
struct FormFieldSpec {
  std::string name;
  uint32_t flags = 0;
  int16_t maxLength = 0;
  std::string defaultValue = {};
};

struct FormSpec {
  uint32_t flags = 0;
  uint8_t flagByte = 1;
  int32_t value = 1;
  std::vector<FormFieldSpec> fields = {};
};

// The stand-in's order form: an action field by default value, then client
// code, account, class, security, operation, price, quantity, type and a
// comment of at most 20 characters.
std::vector<FormFieldSpec> OrderFormFields();

struct SecuritySpec {
  std::string classCode;
  std::string code;
  int32_t id = 1;
  uint16_t type = 0;  // 4 = derivative
  uint8_t flagByte = 0;
  std::string name = {};
  std::string shortName = {};
  std::string currency = {};
  std::string baseAsset = {};
  int32_t trading = 0;
  double priceStep = 0.0;
  int16_t priceDecimals = 0;
  int64_t valueDivisor = 0;
  int64_t contractUnits = 0;
};

// A client's spot-market position; the key is what host function 149 asks.
struct SpotSpec {
  std::string firm, client, boardTag, currency;
  double value40 = 0.0, value48 = 0.0, value56 = 0.0, value64 = 0.0;
  int32_t status = 0;
};

struct FirmSpec {
  std::string name = {};
  std::string text;
  int32_t ready = 1;
};

class RecordStore {
 public:
  // Each returns the new record's index.
  int AddClass(const ClassSpec& fields);
  int AddForm(int classIndex, const FormSpec& fields);
  int AddSecurity(const SecuritySpec& fields);
  int AddSpot(const SpotSpec& fields);
  int AddFirm(const FirmSpec& fields);
  // A client's position record (kind 9) as the host lists it.
  int AddPosition(const std::vector<uint8_t>& record);
  void Clear();

  int Count(int kind) const;
  // Null for an unknown kind, a wrong record size or an index out of range.
  uint8_t* Record(int kind, int recordSize, int index);
  int FindSecurity(const std::string& code, const std::string& classCode) const;
  // Index of the first security of that code in any class, or -1.
  int FindSecurityByCode(const std::string& code) const;
  // Index of the spot record of the key, or -1.
  int FindSpot(const std::string& firm, const std::string& client, const std::string& boardTag,
               const std::string& currency) const;
  // Null when the host has no settings text for the firm.
  const std::string* FirmText(const std::string& firm) const;
  int FormCount(int classIndex) const;
  uint8_t* Form(int classIndex, int recordSize, int subIndex);
  // Null for a form the host does not have.
  const FormSpec* FormFields(int classIndex, int subIndex) const;
  int FindClass(const std::string& code) const;

 private:
  using Bytes = std::vector<uint8_t>;
  std::vector<Bytes> m_classes;
  std::vector<std::vector<Bytes>> m_forms;
  std::vector<std::vector<FormSpec>> m_formSpecs;
  // The form records point at these; list nodes never move.
  std::list<Bytes> m_fieldRecords;
  std::list<std::vector<uint32_t>> m_fieldArrays;
  std::vector<Bytes> m_securities;
  std::vector<Bytes> m_spots;
  std::vector<SpotSpec> m_spotKeys;
  std::vector<Bytes> m_firms;
  std::vector<Bytes> m_positions;
  std::list<FirmSpec> m_firmSpecs;  // the records point at these texts
};
