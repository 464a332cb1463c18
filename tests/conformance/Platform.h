// What the conformance tests need from the platform they run on: the same test source runs on
// the host against winsim and on Windows (or Wine) against the real API.
#pragma once

#include <windows.h>

namespace conformance {

// True on the host build, where the calls go to winsim.
bool IsSimulated();

}  // namespace conformance
