// What the conformance tests need from the platform they run on: the same test source runs on
// the host against winsim and on Windows (or Wine) against the real API.
#pragma once

#include <windows.h>

#include <string>

namespace conformance {

// True on the host build, where the calls go to winsim.
bool IsSimulated();

// Files for profile tests
// A full path for a test file called name, in a folder the tests may write to.
std::string TestFilePath(const char* name);
// Creates or replaces the file with exactly these bytes.
void WriteTestFile(const std::string& path, const std::string& bytes);
void DeleteTestFile(const std::string& path);

}  // namespace conformance
