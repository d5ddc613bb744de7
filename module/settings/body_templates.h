#pragma once

#include <string>

// The body text of a margin-call template file: lines end at carriage returns,
// line feeds are dropped, empty lines are skipped and every kept line is
// followed by one "\n". A file that cannot be opened gives an empty text
// (and false in opened, when given).
std::string ReadBodyTemplateFile(const std::string& fullPath, bool* opened = nullptr);

// The key in section "Vantrel" that names a kind's body file, and the file
// name the module always writes; null for a kind without a body template.
const char* BodyTemplateKey(int kind);
const char* BodyTemplateFileName(int kind);
