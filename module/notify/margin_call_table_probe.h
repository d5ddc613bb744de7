#pragma once

#include "module/notify/margin_call_row.h"

#include <windows.h>

#include <sql.h>

#include <string>

class CVantrelLog;

// Reads the table's columns through the connection and sets the layout they
// call for: FirmID (any letter case) gives kWithFirm, Emails
// kWithFirmAndEmails, neither kBasic. When the driver cannot list the columns
// the layout stays as it was.
void ProbeMarginCallTable(SQLHDBC connection, const std::string& table, CVantrelLog& log,
                          EMarginCallTableLayout* layout);
