// Conformance tests on Windows or Wine: the real API, with the launcher's resources linked
// into the test program.
#include <gtest/gtest.h>

#include "Platform.h"

namespace conformance {
bool IsSimulated() { return false; }
}  // namespace conformance

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
