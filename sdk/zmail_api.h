// The host's mail library (ZMAIL.DLL): the functions the e-mail channel calls,
// all stdcall and exported undecorated; the plug-in finds them with
// GetProcAddress. Start and add answer 0 on failure, with a text in the
// caller's error buffer (ZMAIL_ERROR_BUFFER_SIZE bytes).
// ZMLAddMsgEx queues a message, which the library delivers in the background;
// a delivery that fails later is reported through the error handler, always
// on the thread that started the library, while that thread handles its
// messages. ZMLStop ends the deliveries and drops what is queued; it may be
// called from inside the handler.
#pragma once

#include <windows.h>

enum { ZMAIL_ERROR_BUFFER_SIZE = 512 };

// The error text, and a value of the library's own, which is neither the
// context given to ZMLSetErrorHandlerEx nor anything a handler may read.
typedef void(__stdcall* ZMailErrorHandler)(const char* errorText, void* libraryValue);

// Address lists are separated by "," or ";". A port of 0 means the standard
// SMTP port 25. ZMLAddMsgEx's reserved argument is 0.
typedef void(__stdcall* ZMLSetErrorHandlerExFn)(ZMailErrorHandler handler, void* context);
typedef int(__stdcall* ZMLStartFn)(const char* server, int port, const char* sender,
                                   char* errorBuffer);
typedef int(__stdcall* ZMLStartExFn)(const char* server, int port, const char* login,
                                     const char* password, const char* sender, char* errorBuffer);
typedef int(__stdcall* ZMLAddMsgExFn)(const char* to, const char* copies, const char* blindCopies,
                                      const char* subject, const char* body, int reserved,
                                      char* errorBuffer);
typedef void(__stdcall* ZMLStopFn)();
