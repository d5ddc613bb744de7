// The stored form of a password is "#PS1" followed by hex digits: the password
// XORed with a key stream, then four check bytes. The key stream comes from the
// caller's class name and label and from the computer and user names, so a
// stored form copied to another computer or user no longer turns back.
// This keeps passwords out of sight in info.ini; it is no cipher.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "sdk/ps_api.h"

namespace {

const char kMarker[] = "#PS1";
const size_t kMarkerLength = sizeof kMarker - 1;

enum Failure { kNone = 0, kDamaged = 1, kBufferTooSmall = 2 };
thread_local int t_lastFailure = kNone;

std::string LocalIdentity() {
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
  DWORD computerSize = sizeof computer;
  GetComputerNameA(computer, &computerSize);
  char user[257] = "";
  DWORD userSize = sizeof user;
  GetUserNameA(user, &userSize);
  return std::string(computer) + '\n' + user;
}

class KeyStream {
 public:
  KeyStream(const char* className, const char* label) {
    uint32_t hash = 2166136261u;  // FNV-1a over every part of the key
    const std::string key = std::string(className ? className : "") + '\n' + (label ? label : "") +
                            '\n' + LocalIdentity();
    for (unsigned char c : key) hash = (hash ^ c) * 16777619u;
    m_state = hash ? hash : 1;
  }
  uint8_t Next() {  // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return static_cast<uint8_t>(m_state >> 24);
  }

 private:
  uint32_t m_state;
};

// Four bytes that tell a good deciphering from one with another key.
std::string CheckBytes(const std::string& clear) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : clear) hash = (hash ^ c) * 16777619u;
  return std::string{static_cast<char>(hash), static_cast<char>(hash >> 8),
                     static_cast<char>(hash >> 16), static_cast<char>(hash >> 24)};
}

std::string Encipher(KeyStream key, const std::string& clear) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out = kMarker;
  const std::string bytes = clear + CheckBytes(clear);
  for (unsigned char c : bytes) {
    const uint8_t b = c ^ key.Next();
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Decipher(KeyStream key, const std::string& stored, std::string& clear) {
  const std::string hex = stored.substr(kMarkerLength);
  if (hex.size() < 8 || hex.size() % 2) return false;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>((high << 4 | low) ^ key.Next());
  }
  clear = bytes.substr(0, bytes.size() - 4);
  return bytes.substr(bytes.size() - 4) == CheckBytes(clear);
}

int Fail(int failure) {
  t_lastFailure = failure;
  return 0;
}

}  // namespace

extern "C" int __stdcall fn_3(const char* className, const char* label, const char* text,
                              int textLength, char* buffer, int* bufferSize) {
  if (!buffer || !bufferSize || *bufferSize <= 0 || textLength < 0 || (!text && textLength))
    return Fail(kBufferTooSmall);
  const std::string input(text ? text : "", textLength);
  const KeyStream key(className, label);
  std::string output;
  int result = 1;
  if (!input.empty() && input[0] == '$') {
    output = Encipher(key, input.substr(1));
  } else if (input.compare(0, kMarkerLength, kMarker) == 0) {
    if (!Decipher(key, input, output)) return Fail(kDamaged);
    result = PS_ENCIPHERED;
  } else {
    output = input;
  }
  if (output.size() + 1 > static_cast<size_t>(*bufferSize)) return Fail(kBufferTooSmall);
  std::memcpy(buffer, output.c_str(), output.size() + 1);
  *bufferSize = static_cast<int>(output.size());
  t_lastFailure = kNone;
  return result;
}

extern "C" int __stdcall fn_1(int* result, char* buffer, int bufferSize) {
  static const char* const reasons[] = {
      "", "The stored password is damaged or was enciphered on another computer or user",
      "The password does not fit into the buffer"};
  if (result) *result = t_lastFailure;
  if (!buffer || bufferSize <= 0 || t_lastFailure == kNone) return 0;
  std::strncpy(buffer, reasons[t_lastFailure], bufferSize - 1);
  buffer[bufferSize - 1] = '\0';
  return 1;
}

static_assert(std::is_same<decltype(&fn_3), PsTransformFn>::value, "fn_3 as callers declare it");
static_assert(std::is_same<decltype(&fn_1), PsLastErrorFn>::value, "fn_1 as callers declare it");
