// What the fuzz targets share: the simulated process they run in, and the check that stops a
// run with a message when an invariant breaks.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "LauncherHarness.h"

namespace fuzz {

// Binds the fuzzing thread, once, to a simulated process at the launcher's place.
inline void EnterLauncherProcess() {
    static winsim::World::ProcessScope* scope = [] {
        winsim::World::Get().Reset();
        return new winsim::World::ProcessScope(test::LauncherProcess());
    }();
    (void)scope;
}

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
