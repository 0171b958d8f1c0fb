#pragma once

#include "platform/IniProfile.h"
#include "platform/LocalFiles.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/FakeDrives.h"
#include "support/FakeLauncher.h"
#include "support/FakePlayerLink.h"
#include "support/FakeUi.h"

namespace tarl::test {

// The services of a test run: real settings files and real files, doubles for the person at
// the screen, the player, the clock, the drives and the desktop.
struct TestServices {
    IniProfile profile;
    FakeUi ui;
    FakePlayerLink player;
    FakeClock clock;
    LocalFiles files;
    FakeDrives drives;
    FakeLauncher launcher;

    Services services() { return Services{profile, ui, player, clock, files, drives, launcher}; }
};

} // namespace tarl::test
