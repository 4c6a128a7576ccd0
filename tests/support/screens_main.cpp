// The main of the tests that drive screens: one application object, offscreen.
#include "headless.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const auto application = fakes::headlessApplication(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
