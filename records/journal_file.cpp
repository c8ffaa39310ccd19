#include "records/journal_file.h"

#include "core/text.h"
#include "records/file_util.h"

namespace tx9 {

std::string journal_path(const std::string& app_folder) {
    return join_path(app_folder, "tx9.journal");
}

JournalFound read_journal_file(const std::string& path, JournalState& out) {
    if (!path_exists(path)) return JournalFound::none;
    std::string text;
    // A journal that exists but cannot be read is not trusted either.
    if (!read_whole_file(path, text, nullptr)) return JournalFound::damaged;
    switch (parse_journal(text, out)) {
    case JournalRead::ok: return JournalFound::ok;
    case JournalRead::newer: return JournalFound::newer;
    default: return JournalFound::damaged;
    }
}

std::string set_journal_aside(const std::string& path, const LocalTime& now) {
    const std::string stem = strprintf("%s.%04d%02d%02d-%02d%02d%02d", path.c_str(), now.year, now.month, now.day,
                                       now.hour, now.minute, now.second);
    for (int n = 1; n <= 100; ++n) {
        std::string aside = n == 1 ? stem : strprintf("%s-%d", stem.c_str(), n);
        if (!path_exists(aside) && rename_file(path, aside)) return aside;
    }
    return std::string();
}

} // namespace tx9
