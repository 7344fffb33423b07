#include "platform/message_report.h"

#include <cstdio>

int ReportOnStandardError(const char* text)
{
    std::fprintf(stderr, "Varnel: %s\n", text ? text : "");
    std::fflush(stderr);
    return 1;
}
