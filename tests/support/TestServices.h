#pragma once

#include "platform/IniProfile.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/FakeDrives.h"
#include "support/FakeLauncher.h"
#include "support/FakePlayerLink.h"
#include "support/FakeUi.h"
#include "support/HeldWork.h"

namespace tarl::test {

// The services of a test run: real settings files and real files (whose listing a test may hold
// for a moment), doubles for the person at the screen, the player, the clock, the drives and the
// desktop.
struct TestServices {
    IniProfile profile;
    FakeUi ui;
    FakePlayerLink player;
    FakeClock clock;
    HeldFiles files;
    FakeDrives drives;
    FakeLauncher launcher;

    Services services() { return Services{profile, ui, player, clock, files, drives, launcher}; }
};

} // namespace tarl::test
