// The one place where a stored password (MailPass, DBPassword) is turned back
// into the password the mail server or the database takes.
#pragma once

#include <string>

// The labels the password dialog shows, which the stored form is tied to.
const int kDatabasePasswordLabel = 21;
const int kMailPasswordLabel = 22;

// Empty when the stored form cannot be turned back.
std::string DecodeStoredPassword(int labelId, const std::string& stored);
