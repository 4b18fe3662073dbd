#pragma once
#include <QString>
#include <optional>

// The system's own system-information tool, as the About box starts it:
// the full path the tool registers under the machine's keys, or else the
// tool in the folder registered for it; where the system keeps no registry,
// the first of the desktop's system-information programs found on the
// PATH. Nothing when there is none.
std::optional<QString> systemInformationTool();
