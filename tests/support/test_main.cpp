#include <gtest/gtest.h>

#include "core/channel_tables.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    quorvel::BuildChannelTables();  // as every front end does at start-up
    return RUN_ALL_TESTS();
}
