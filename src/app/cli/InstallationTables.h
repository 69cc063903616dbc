#pragma once

#include "app/cli/CliSupport.h"

namespace qv::cli {

// Loads what the grammar commands read, as start-up loads it: the settings
// (with the simulator configuration discovery), the command list, the ILS and
// navaid lists, then the categories. 0 on success; on failure the loader has
// reported on stderr.
int LoadCommandTables(Session& session);

// A non-negative decimal index, or -1.
int ParseIndex(const QString& text);

}  // namespace qv::cli
