#include "core/module.h"

#include <cstdio>

void ModuleReport(Reporting reporting, const char *message)
{
    if (ReportingPrints(reporting) && message != nullptr) {
        std::printf("%s", message);
    }
}

void ModuleTrace(bool enabled, const char *line)
{
    if (enabled && line != nullptr) {
        std::printf("%s", line);
    }
}
