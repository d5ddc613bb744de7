// The password library (PS.dll) that keeps the stored mail and database
// passwords. Both functions stdcall, exported undecorated (fn_3, fn_1).
//
// fn_3 turns a text into another, written zero-terminated into the buffer
// (*bufferSize bytes; on success *bufferSize becomes the written length):
//   "$" + password   -> the enciphered form, result 1;
//   enciphered form  -> the password, result 2 ("the text was enciphered");
//   any other text   -> itself, result 1.
// The enciphered form never holds the password in clear, and only the same
// class name, label, computer and user turn it back. Result 0: failure (a
// damaged enciphered form, a buffer too small); fn_1 then writes the reason.
#pragma once

#include <windows.h>

enum { PS_ENCIPHERED = 2 };

// fn_3:
typedef int(__stdcall* PsTransformFn)(const char* className, const char* label, const char* text,
                                      int textLength, char* buffer, int* bufferSize);
// fn_1 writes the reason of this thread's last failure of fn_3 and sets
// *result to its code (1 damaged form, 2 buffer too small; 0 none); it
// returns 1 when it wrote a reason.
typedef int(__stdcall* PsLastErrorFn)(int* result, char* buffer, int bufferSize);
