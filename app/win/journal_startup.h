// The journal at start-up: which running tx9 keeps it, and what becomes of
// one that a run which did not end normally left behind.
#pragma once

#include "records/journal.h"

#include <string>

#include <windows.h>

namespace tx9 {

// A named mutex for the journal's folder, held while tx9 runs: the first tx9
// started there owns the journal; a second one beside it leaves it alone
// (it neither offers, writes nor removes it). The system lets go of it when
// the owner ends in any way, a killed process included.
class JournalLock {
  public:
    explicit JournalLock(const std::string& journal_path);
    ~JournalLock();
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

    bool owned() const { return owned_; }

  private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

// Offers a journal left beside tx9.ini before anything else opens: Yes
// fills state and returns true; No sets the file aside. A damaged journal,
// or one of a newer version, is set aside with a message saying so. False
// whenever the game is not continued (also when there is no journal).
bool offer_leftover_journal(const std::string& journal_path, JournalState& state);

} // namespace tx9
