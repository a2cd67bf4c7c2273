#include "settings/FuelRequestWatch.h"

#include <gtest/gtest.h>

TEST(FuelRequestWatch, WaitsUntilTheControllerReportsTheFuelAskedFor)
{
    FuelRequestWatch w;
    EXPECT_EQ(w.pending(), std::nullopt);
    EXPECT_FALSE(w.gasInUse(false));

    w.requested(true);
    // The frames of the switch-over time still report petrol.
    for (int frame = 0; frame < 25; ++frame)
        EXPECT_FALSE(w.reported(false));
    EXPECT_EQ(w.pending(), true);
    EXPECT_TRUE(w.gasInUse(false)) << "going over to gas";
    EXPECT_TRUE(w.reported(true));
    EXPECT_EQ(w.pending(), std::nullopt);
    EXPECT_FALSE(w.reported(true)) << "ended once";

    // Asked back to petrol, then the link ends before the controller answers.
    w.requested(false);
    EXPECT_FALSE(w.gasInUse(true));
    w.linkEnded();
    EXPECT_EQ(w.pending(), std::nullopt);
    EXPECT_TRUE(w.gasInUse(true));
}
