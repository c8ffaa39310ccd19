// What auto save writes after each finished leg, byte for byte.
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

const std::string kHead = ",Player 1,,Player 2,\r\nRound,Scored,To Go,Scored,To Go\r\n";

TEST(AutoSave, TheLastLegOfALimitedSetIsSavedLikeEveryOther) {
    GameSettings g = game_of(101);
    g.leg_limit = 1;
    g.max_leg = 2;
    Table t(g, 1);
    t.play("w0 w1");
    ASSERT_EQ(t.record.set_no, 1) << "the set did not end";
    const std::string leg1 = ",*,101,,101\r\n1,(3),,,\r\nDarts,3,,,\r\n";
    const std::string leg2 = ",,101,*,101\r\n1,,,(3),\r\nDarts,,,3,\r\n";
    EXPECT_EQ(t.host.saved_csv, (std::vector<std::string>{kHead + leg1, kHead + leg1 + leg2}));
}

} // namespace
} // namespace tx9
