#pragma once

#include <windows.h>

#include <sql.h>

#include <string>

class CVantrelLog;

// Writes the driver's diagnostic records of a failed ODBC call to the trace
// log (level 2). Every occurrence of the secret (the database password, when
// a driver repeats it) is written as "***".
void LogOdbcDiagnostics(CVantrelLog& log, const char* call, SQLHANDLE handle,
                        SQLSMALLINT handleType, const std::string& secret = std::string());

// The text with every occurrence of a non-empty secret replaced by "***".
std::string WithoutSecret(std::string text, const std::string& secret);
