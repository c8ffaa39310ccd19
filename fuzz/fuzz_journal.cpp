// Reads any bytes as a journal. Whatever is accepted must keep the rules the
// program relies on once it continues the game (legs, score arrays and rounds
// in step), and must read back the same after being written again.
#include "records/journal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "accepted journal breaks a rule: %s\n", what);
    std::abort();
}

void check_record(const tx9::GameRecord& r) {
    check(r.leg_no >= 0 && r.leg_records.size() == static_cast<size_t>(r.leg_no) + 1, "legs = leg_no + 1");
    for (const tx9::LegRecord& leg : r.leg_records) {
        check(0 <= leg.cur_round && leg.cur_round <= leg.rows && leg.rows <= leg.capacity, "rounds in step");
        for (const std::vector<int>& cells : leg.scores)
            check(cells.size() == static_cast<size_t>(leg.capacity) + 1, "capacity + 1 cells");
        check(leg.turn >= 0 && leg.turn <= 1 && leg.first >= 0 && leg.first <= 1, "player index");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tx9::JournalState state;
    // Without the checksum, so that the rules behind it are reached too.
    if (tx9::parse_journal(text, state, false) != tx9::JournalRead::ok) return 0;
    check_record(state.live);
    for (const tx9::GameRecord& record : state.history)
        check_record(record);
    check(state.selection.player == 0 || state.selection.player == 1, "selected player");

    const tx9::JournalSource source{state.game, state.schedule, state.history, state.live, state.selection};
    const std::string written = tx9::format_journal(source);
    tx9::JournalState again;
    check(tx9::parse_journal(written, again) == tx9::JournalRead::ok, "written journal reads back");
    const tx9::JournalSource source_again{again.game, again.schedule, again.history, again.live,
                                          again.selection};
    check(tx9::format_journal(source_again) == written, "written twice, the same text");
    return 0;
}
