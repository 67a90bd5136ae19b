#pragma once

#include <QtGlobal>

#include <gtest/gtest.h>

// What a test needs from its machine (a database server, root for a small
// file system). scripts/test provides all of it and sets
// QUORVEL_TEST_EVERYTHING, so there a missing piece fails the test; run by
// hand without it, the test is skipped with the reason.
#define REQUIRE_FOR_TEST(available, what)                                                                    \
    if (!(available)) {                                                                                      \
        if (qEnvironmentVariableIsSet("QUORVEL_TEST_EVERYTHING"))                                            \
            FAIL() << what << " (scripts/test provides it)";                                                 \
        GTEST_SKIP() << what;                                                                                \
    }
