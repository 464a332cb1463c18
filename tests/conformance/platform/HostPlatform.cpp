// Conformance tests on the host: the test thread runs as a simulated process at the
// launcher's place, with the launcher's resources, in a fresh world for each test.
#include <gtest/gtest.h>

#include "LauncherHarness.h"
#include "Platform.h"

namespace conformance {
bool IsSimulated() { return true; }

// Files for profile tests: files of the simulated world, reset with it after each test.
std::string TestFilePath(const char* name) { return std::string("C:\\TEMP\\") + name; }
void WriteTestFile(const std::string& path, const std::string& bytes) { winsim::World::Get().AddFile(path, bytes); }
void DeleteTestFile(const std::string& path) { winsim::World::Get().RemoveFile(path); }
}  // namespace conformance

namespace {
class SimulatedProcessListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        winsim::World::Get().Reset();
        winsim::World::Get().AddFile(test::kSetupExe, "MZ");
        m_scope.reset(new winsim::World::ProcessScope(test::LauncherProcess()));
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        m_scope.reset();
        winsim::World::Get().Reset();
    }
    std::unique_ptr<winsim::World::ProcessScope> m_scope;
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new SimulatedProcessListener);
    return RUN_ALL_TESTS();
}
