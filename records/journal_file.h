// The journal file beside tx9.ini: where it is, reading it back, and
// setting it aside when it is not to be continued.
#pragma once

#include "core/system.h"
#include "records/journal.h"

#include <string>

namespace tx9 {

// "<application folder>\tx9.journal".
std::string journal_path(const std::string& app_folder);

enum class JournalFound {
    none, // no journal: the last run ended normally (or never played)
    ok,
    damaged,
    newer,
};

// Reads and checks the journal; out is filled only when the result is ok.
JournalFound read_journal_file(const std::string& path, JournalState& out);

// Renames the journal to "<path>.<yyyyMMdd-HHmmss>" ("-2", "-3"... behind it
// when that name is taken), so it is kept but never offered again. Returns
// the new path, or empty when it could not be renamed.
std::string set_journal_aside(const std::string& path, const LocalTime& now);

} // namespace tx9
