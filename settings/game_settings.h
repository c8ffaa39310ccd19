// The options of one game, or of one set definition of a Schedule.
#pragma once

#include <string>

namespace tx9 {

struct GameSettings {
    int start_score = 0;
    int round_limit = 0;
    int round = 0;
    int leg_limit = 0;
    int max_leg = 0;
    int best_of = 0;
    std::string p1_name;
    std::string p2_name;
    int p1_start_score = 0;
    int p2_start_score = 0;
    int p1_com = 0;
    int p2_com = 0;
    int p1_com_level = 0;
    int p2_com_level = 0;
    int schedule_entry = 0; // set while a dialog edits a Schedule entry; never stored
};

} // namespace tx9
