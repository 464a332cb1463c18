// Conformance tests on Windows or Wine: the real API, with the launcher's resources linked
// into the test program.
#include <gtest/gtest.h>

#include <cstdio>

#include "Platform.h"

namespace conformance {
bool IsSimulated() { return false; }

// Files for profile tests: real files in the user's temporary folder.
std::string TestFilePath(const char* name) {
    char folder[MAX_PATH + 1] = "";
    GetTempPathA(sizeof folder, folder);  // ends with a backslash
    return std::string(folder) + name;
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << "cannot create " << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void DeleteTestFile(const std::string& path) { std::remove(path.c_str()); }
}  // namespace conformance

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
