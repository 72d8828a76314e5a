#include <gtest/gtest.h>

#include "platform/runtime/Thread.h"

// The thread that runs the tests is the main thread: callbacks bound to "the
// main thread" arrive when a test pumps it with runMainUntil().
int main(int argc, char** argv)
{
    platform::Thread::adoptCurrentAsMain();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
