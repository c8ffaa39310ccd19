#include "app/win/journal_startup.h"

#include "core/system.h"
#include "core/text.h"
#include "core/win/win_system.h"
#include "records/journal_file.h"
#include "res/resource.h"

#include <cstdint>

namespace tx9 {

namespace {

// Mutex names take no backslashes and are at most MAX_PATH long: the folder
// is known by a hash of its path, case folded as Windows paths are.
std::string lock_name(const std::string& journal_path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : journal_path) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 'a' + 'A');
        if (b == '/') b = '\\';
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return strprintf("tx9.journal.%016llx", static_cast<unsigned long long>(hash));
}

} // namespace

JournalLock::JournalLock(const std::string& journal_path) {
    mutex_ = CreateMutexA(nullptr, FALSE, lock_name(journal_path).c_str());
    owned_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

JournalLock::~JournalLock() {
    if (mutex_) CloseHandle(mutex_);
}

bool offer_leftover_journal(const std::string& journal_path, JournalState& state) {
    JournalState found;
    const JournalFound result = read_journal_file(journal_path, found);
    if (result == JournalFound::none) return false;
    if (result == JournalFound::ok) {
        if (MessageBoxA(nullptr, load_resource_string(IDS_JOURNAL_RESUME).c_str(), kProgramTitle,
                        MB_YESNO | MB_ICONQUESTION) == IDYES) {
            state = std::move(found);
            return true;
        }
        set_journal_aside(journal_path, system_services().local_time());
        return false;
    }
    std::string aside = set_journal_aside(journal_path, system_services().local_time());
    const int text = result == JournalFound::newer ? IDS_JOURNAL_NEWER : IDS_JOURNAL_DAMAGED;
    MessageBoxA(nullptr, strprintf(load_resource_string(text).c_str(), aside.c_str()).c_str(), kProgramTitle,
                MB_OK | MB_ICONEXCLAMATION);
    return false;
}

} // namespace tx9
