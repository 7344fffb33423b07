// Texts for the Winsock-numbered socket error codes the platform reports.
#pragma once

// The text for code; an unlisted code gives "Unrecognized error code <code>"
// in a buffer of the calling thread that its next unlisted code overwrites.
const char* SocketErrorText(int code);

// Shows format (one %s) filled in with the text for code.
void ReportSocketError(const char* format, int code);
