#pragma once

#include <string>

// What the user is told when the mail library reports an error: the error
// with a hint, or an empty text for "Not connected" errors, which are only
// logged.
std::string MailErrorUserText(const std::string& libraryError);
