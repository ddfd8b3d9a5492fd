#pragma once

#include "core/station_entries.h"

#include <optional>

// The message for the first required entry that is empty, in the fixed order of the
// check; nothing when every required entry is filled. A text of blanks counts as filled.
std::optional<QString> CheckRequiredFields(const StationEntries &entries);
