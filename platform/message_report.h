// Where the library's messages go when the client installs no handler.
#pragma once

// Writes "Varnel: <text>" and a line end to standard error; returns 1 (OK).
int ReportOnStandardError(const char* text);
