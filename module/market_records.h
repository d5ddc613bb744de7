// The host's class (kind 2) and security (kind 3) records: lookups by index
// and by code, the kind tests of a security, and the transaction forms of a
// class. A record is the host's own memory, read by byte offset; a missing
// record (null pointer, id -1, index -1) gives null.
#pragma once

#include <cstdint>

const uint8_t* GetClassInfoByIndex(int classIndex);
const uint8_t* GetSecurityInfoByIndex(int securityIndex);
const uint8_t* FindClassByCode(const char* classCode);
const uint8_t* FindSecurityByCode(const char* securityCode);
// The first security of that code in a class whose flags hold every bit of
// the include mask and none of the exclude mask; an include mask of 0 finds
// nothing. Its index goes through securityIndex when that is not null.
const uint8_t* FindSecurityInClasses(const char* securityCode, uint32_t includeMask,
                                     uint32_t excludeMask, int* securityIndex);
// Index of the first usable transaction form of the class whose flags hold
// every bit of the mask, or -1.
int FindTransactionForm(int classIndex, uint32_t mask);

// Fields of the records; the record must not be null.
const char* ClassCodeOf(const uint8_t* classRecord);
uint32_t ClassFlagsOf(const uint8_t* classRecord);
const char* SecurityCodeOf(const uint8_t* security);
const char* SecurityCurrencyOf(const uint8_t* security);
int SecurityClassIndexOf(const uint8_t* security);

// Kind tests; a null security gives false.
bool IsDerivativeSecurity(const uint8_t* security);
bool IsOptionSecurity(const uint8_t* security);
bool IsFuturesSecurity(const uint8_t* security);
// An option by its class code or, in another class, by its code's month letter.
bool IsOptionClass(const uint8_t* security);
// The same test of a derivative with its class record already at hand;
// false for a null class.
bool IsOptionClassOf(const uint8_t* security, const uint8_t* classRecord);

// The host marks a record it has reset with -111 and -333 at offsets 88 and 92.
bool IsResetMarked(const void* hostRecord);
