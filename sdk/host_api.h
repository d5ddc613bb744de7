// The host boundary: the host function table the host hands over, the
// plug-in callback table the plug-in fills, and the records they exchange.
// Every entry is a stdcall function with a fixed argument count; a wrong
// count corrupts the stack without a word, so each signature is declared
// once here and used by both the plug-in and the stand-in host.
#pragma once

#include <windows.h>
#include <cstdint>

namespace host {

constexpr int kFunctionCount = 221;
constexpr uint32_t kFunctionTableBytes = kFunctionCount * 4;   // 884
constexpr int kCallbackCount = 31;
constexpr uint32_t kCallbackTableBytes = kCallbackCount * 4;   // 124
constexpr int kUiInfoFields = 18;
constexpr uint32_t kUiInfoBytes = kUiInfoFields * 4;           // 72

static_assert(sizeof(void*) == 4, "the host boundary is 32-bit");

// A host list of texts (a filter handle): the plug-in owns the holder, the
// host fills it through host function 52 and empties it through 51.
struct ItemEntry {
  const char* text;
  uint32_t key;  // what host function 137 is asked about
};
struct ItemList {
  ItemEntry* entries;
  int32_t count;
};

// A filter selection of a table: positions in an item list. The array comes
// from host function 3; all four fields are zero when the selection is empty.
struct FilterSelection {
  int32_t count;
  int32_t* positions;
  uint32_t reserved1;
  uint32_t reserved2;
};

// A client parameter asked of the host (host function 202): the host answers
// the value and status 0, or leaves the value and sets a non-zero status.
struct ClientParamRequest {
  int32_t id;
  int32_t status;
  double value;
};

// Host function N is entry N of the table; FunctionSig<N>::Fn is its type.
template <int N> struct FunctionSig;

#define VANTREL_HOST_FUNCTION(N, R, ...) \
  template <> struct FunctionSig<N> { using Result = R; using Fn = R(__stdcall*)(__VA_ARGS__); }

VANTREL_HOST_FUNCTION(3, void*, uint32_t size);
VANTREL_HOST_FUNCTION(4, void, void* buffer);
VANTREL_HOST_FUNCTION(7, HMENU, const char* caption);
VANTREL_HOST_FUNCTION(8, void, const char* caption);
VANTREL_HOST_FUNCTION(9, int);
VANTREL_HOST_FUNCTION(10, void, int commandId);
VANTREL_HOST_FUNCTION(11, void, int commandId, int enable);
VANTREL_HOST_FUNCTION(12, int, int commandId);
VANTREL_HOST_FUNCTION(25, HANDLE, int kind);
VANTREL_HOST_FUNCTION(30, INT_PTR, HINSTANCE instance, int templateId, DLGPROC proc, HWND parent);
VANTREL_HOST_FUNCTION(32, int, int kind);
VANTREL_HOST_FUNCTION(33, void*, int kind, int recordSize, int index);
VANTREL_HOST_FUNCTION(34, int, int kind, int recordSize, int index, void* out);
VANTREL_HOST_FUNCTION(35, int, int classIndex);
VANTREL_HOST_FUNCTION(36, void*, int classIndex, int recordSize, int subIndex);
VANTREL_HOST_FUNCTION(41, void, int signal);
VANTREL_HOST_FUNCTION(42, int, const char* text, int fractionDigits, int totalDigits,
                      int decimalPoint, int flagA, int flagB, int reserved);
VANTREL_HOST_FUNCTION(43, void, int securityIndex, const char* name, double* value);
VANTREL_HOST_FUNCTION(44, int);
VANTREL_HOST_FUNCTION(48, int, int classIndex, int formIndex, const char* text, int flag,
                      char* errorBuffer, int* result);
VANTREL_HOST_FUNCTION(49, int);
VANTREL_HOST_FUNCTION(50, void, HWND owner, const char* title, ItemList* list, FilterSelection* filter);
VANTREL_HOST_FUNCTION(51, void, ItemList* list);
VANTREL_HOST_FUNCTION(52, uint32_t, ItemList* list, const char* text);
VANTREL_HOST_FUNCTION(53, int, const FilterSelection* filter);
VANTREL_HOST_FUNCTION(54, void, FilterSelection* filter);
VANTREL_HOST_FUNCTION(55, void, FilterSelection* destination, const FilterSelection* source);
VANTREL_HOST_FUNCTION(56, void, const FilterSelection* filter, const ItemList* list);
VANTREL_HOST_FUNCTION(57, void, FilterSelection* filter, ItemList* list);
VANTREL_HOST_FUNCTION(58, int, const char* text, const ItemList* list, const FilterSelection* filter);
VANTREL_HOST_FUNCTION(91, int, const char* securityCode, const char* classCode);
VANTREL_HOST_FUNCTION(105, int, const void* classRecord, uint32_t property);
VANTREL_HOST_FUNCTION(101, int, int category, int id, uint32_t* value);
VANTREL_HOST_FUNCTION(130, int, const char* firm, char* buffer, int capacity);
VANTREL_HOST_FUNCTION(134, int, const void* firm, const char* clientCode, int number,
                      double* value, int reserved);
VANTREL_HOST_FUNCTION(135, int, const void* firm, const char* clientCode, int number,
                      double* value, int reserved);
VANTREL_HOST_FUNCTION(136, void, uint32_t* wordA, uint32_t* wordB, int reserved);
VANTREL_HOST_FUNCTION(137, int, uint32_t entryKey, int a, int b);
VANTREL_HOST_FUNCTION(146, void, const char* fileName, int a, char* buffer, int size);
VANTREL_HOST_FUNCTION(148, int, const void* firm, const char* tradingAccount, char* clientCode,
                      int capacity);
VANTREL_HOST_FUNCTION(149, int, const void* firm, const char* clientCode, const char* boardTag,
                      const char* currency, int reserved);
VANTREL_HOST_FUNCTION(153, void, const char* classCode, const char* securityCode);
VANTREL_HOST_FUNCTION(154, void, const char* classCode, const char* parameterName);
VANTREL_HOST_FUNCTION(156, void, int uid, int a, int b, const char* text);
VANTREL_HOST_FUNCTION(160, void, uint32_t item, FilterSelection* filter);
VANTREL_HOST_FUNCTION(202, void, const void* firm, const char* clientCode, int32_t portfolioId,
                      ClientParamRequest* request, int count);
VANTREL_HOST_FUNCTION(203, void, const void* firm, const char* clientCode, int32_t* portfolioIds,
                      int32_t* count);

// Plug-in windows, their saved layout and the table services.
VANTREL_HOST_FUNCTION(6, LRESULT, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VANTREL_HOST_FUNCTION(16, HWND, HINSTANCE instance, const char* className, const char* caption,
                      const WINDOWPLACEMENT* placement, DWORD style, LPARAM extra);
VANTREL_HOST_FUNCTION(17, void, HWND frame);
VANTREL_HOST_FUNCTION(19, HMENU);
VANTREL_HOST_FUNCTION(20, void, HWND window);
VANTREL_HOST_FUNCTION(31, void, char* caption, HWND table);
VANTREL_HOST_FUNCTION(39, void, HWND dialog);
VANTREL_HOST_FUNCTION(40, void, HWND dialog);
VANTREL_HOST_FUNCTION(45, void, const char* text, int kind);
VANTREL_HOST_FUNCTION(59, void, uint32_t a, uint32_t b);
VANTREL_HOST_FUNCTION(60, void);
VANTREL_HOST_FUNCTION(61, void, uint32_t hostValue);
VANTREL_HOST_FUNCTION(62, void, const void* data, uint32_t length);
VANTREL_HOST_FUNCTION(63, int, void* data, uint32_t length);
VANTREL_HOST_FUNCTION(64, void, const char* text);
VANTREL_HOST_FUNCTION(65, int, char* buffer);
VANTREL_HOST_FUNCTION(81, void, void* block);
VANTREL_HOST_FUNCTION(83, int, void* callbacks, int flag);
VANTREL_HOST_FUNCTION(84, void, uint32_t* block);
VANTREL_HOST_FUNCTION(85, int, uint32_t* block);
VANTREL_HOST_FUNCTION(86, void, uint32_t* block, int reserved);
VANTREL_HOST_FUNCTION(87, void, uint32_t* block);
VANTREL_HOST_FUNCTION(88, void, uint32_t* block, void* row, int operation);
VANTREL_HOST_FUNCTION(163, void, int32_t* id, void* view, void* dimensions, void* ready, void* columns,
                      void* cell, const void* settings, uint32_t length);
VANTREL_HOST_FUNCTION(164, void, int32_t* id, void* view, void* dimensions, void* ready, void* columns,
                      void* cell, void* block);
VANTREL_HOST_FUNCTION(165, int, int id, int flag, char* caption, char* error, int size);
VANTREL_HOST_FUNCTION(166, int, int id, int* wasRunning, char* error, int size);
VANTREL_HOST_FUNCTION(167, void, int id, int a, int b, int c, char* error, int size);
VANTREL_HOST_FUNCTION(168, void, int id);
VANTREL_HOST_FUNCTION(169, int, int id, int line, int operation, char* error, int size);
VANTREL_HOST_FUNCTION(170, int, int id);
VANTREL_HOST_FUNCTION(171, int, int id);
VANTREL_HOST_FUNCTION(172, int, int id);
VANTREL_HOST_FUNCTION(173, int, int id, void** data, uint32_t* length);
VANTREL_HOST_FUNCTION(174, void, void* data);
VANTREL_HOST_FUNCTION(175, void, uint32_t* block);
VANTREL_HOST_FUNCTION(176, void, uint32_t* block);
VANTREL_HOST_FUNCTION(177, int, void* view, int reserved, HWND table, void* dimensions, void* ready,
                      void* cell, char* error, int size);

#undef VANTREL_HOST_FUNCTION

// Host function 25 kinds.
enum HostHandleKind : int { kMainFrame = 1, kResourceModule = 4, kMdiClient = 5 };

// Plug-in callback N is entry N of the callback table the plug-in fills.
template <int N> struct CallbackSig;

#define VANTREL_CALLBACK(N, R, ...) \
  template <> struct CallbackSig<N> { using Result = R; using Fn = R(__stdcall*)(__VA_ARGS__); }

VANTREL_CALLBACK(1, BOOL);
VANTREL_CALLBACK(2, LRESULT, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VANTREL_CALLBACK(3, BOOL);
VANTREL_CALLBACK(4, void, const uint32_t* uiInfo);
VANTREL_CALLBACK(5, int, uint32_t a, const char* caption, uint32_t b, uint32_t c, uint32_t d);
VANTREL_CALLBACK(6, int, int hostCommandId, char* buffer, int size);
VANTREL_CALLBACK(7, void);
VANTREL_CALLBACK(8, void);
VANTREL_CALLBACK(9, void, uint32_t value);
VANTREL_CALLBACK(10, void, uint32_t a, uint32_t b);
VANTREL_CALLBACK(11, void, uint32_t value);
VANTREL_CALLBACK(12, void, const uint32_t* values);
VANTREL_CALLBACK(14, void);
VANTREL_CALLBACK(15, void);
VANTREL_CALLBACK(22, BOOL, uint32_t value, uint32_t code, const void* data, uint32_t size);
VANTREL_CALLBACK(23, BOOL, uint32_t value);
VANTREL_CALLBACK(24, void, uint32_t value);
VANTREL_CALLBACK(25, int, uint32_t event, const char* name, uint32_t p3, uint32_t p4);
VANTREL_CALLBACK(26, void);
VANTREL_CALLBACK(27, void, uint32_t a, uint32_t b);
VANTREL_CALLBACK(28, int, uint32_t a, uint32_t b, uint32_t c);
VANTREL_CALLBACK(29, void, uint32_t a, uint32_t b);
VANTREL_CALLBACK(30, int, uint32_t code, uint32_t* value, uint32_t x);

#undef VANTREL_CALLBACK

// Exported entry points.
using PluginInitFn = BOOL(__stdcall*)(uint32_t hostValue, const uint32_t* hostFunctions,
                                      uint32_t* callbacks, const char* text);
using PluginInitExFn = BOOL(__stdcall*)(uint32_t hostValue, const uint32_t* hostFunctions,
                                        uint32_t* callbacks, const char* text,
                                        uint32_t hostVersion, uint32_t hostValue2,
                                        int* errorCode, char* errorText, int errorTextSize);

constexpr uint32_t MakeHostVersion(uint32_t major, uint32_t minor) { return major << 16 | minor; }

// Host record layouts (byte offsets) the plug-in reads.
namespace record {
constexpr int kClassKind = 2, kClassSize = 1144;
constexpr int kClassId = 24, kClassCode = 28, kClassFlags = 172, kClassFlags2 = 184;
constexpr int kFormSize = 172;
constexpr int kFormFlags = 136, kFormFlagByte = 152, kFormValue = 168;
// A form points at its fields (an array of pointers and their count); each
// field names itself in the transaction, and its flags say which value of an
// order it carries.
constexpr int kFormFieldArray = 156, kFormFieldCount = 160;
namespace form_field {
constexpr int kRecordSize = 208;
constexpr int kName = 4, kNameCapacity = 64, kDefault = 166, kFlags = 200, kMaxLength = 204;
constexpr int kDefaultCapacity = kFlags - kDefault;
constexpr uint32_t kFirstText = 0x100000, kClassCode = 0x800, kSecurityCode = 0x1;
constexpr uint32_t kAccount = 0x1000, kPrice = 0x10000, kQuantity = 0x20000;
constexpr uint32_t kDirection = 0x40000, kLimitOrder = 0x800000, kComment = 0x400000;
}  // namespace form_field
constexpr uint32_t kClassCrossRates = 0x2000;
constexpr int kSecurityKind = 3, kSecuritySize = 560;
constexpr int kSecurityType = 4;       // uint16; 4 = derivative
constexpr int kSecurityFlagByte = 8;   // 0x04 = option
constexpr int kSecurityId = 12, kSecurityCode = 16, kSecurityClassIndex = 440;
constexpr int kSecurityCodeCapacity = 13;
constexpr int kSecurityName = 29, kSecurityShortName = 158;
constexpr int kSecurityCurrency = 208, kSecurityCurrencyCapacity = 6;
constexpr int kSecurityPriceDecimals = 214;  // int16
// Two 64-bit integers of the security that scale a position's value for the
// cash leverage: the divisor, and the units per contract of a derivative.
constexpr int kSecurityValueDivisor = 192, kSecurityContractUnits = 328;
// Fields the host keeps where it likes; the plug-in and the stand-in agree here.
constexpr int kSecurityBaseAsset = 224, kSecurityBaseAssetCapacity = 13;
constexpr int kSecurityTrading = 240;    // int32; -1 = not traded
constexpr int kSecurityPriceStep = 248;  // double
constexpr uint16_t kDerivative = 4;
constexpr uint8_t kOptionFlag = 0x04;

// A client's spot-market position, copied through host function 34.
constexpr int kSpotKind = 12, kSpotSize = 104;
constexpr int kSpotValue40 = 40, kSpotValue48 = 48, kSpotValue56 = 56, kSpotValue64 = 64;
constexpr int kSpotStatus = 100;  // int32; 0 = usable

// A firm's settings object, copied through host function 34.
constexpr int kFirmSettingsKind = 14, kFirmSettingsSize = 96;
constexpr int kFirmSettingsText = 4;  // pointer to the settings text
constexpr int kFirmSettingsName = 8, kFirmNameCapacity = 33;
constexpr int kFirmSettingsReady = 88;  // int32; 0 = not ready

// Order records pushed with code 32973.
constexpr int kOrderSize = 592;
constexpr int kOrderFlags = 16;  // bit 0 active, bit 1 withdrawn
}  // namespace record

// Codes of host records pushed through callback entry 22.
constexpr uint32_t kRecordCode32926 = 32926, kRecordSize32926 = 284;
constexpr uint32_t kRecordCode32984 = 32984, kRecordSize32984 = 720;

}  // namespace host
