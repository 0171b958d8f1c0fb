#include "desktop/QtUi.h"
#include "platform/Clock.h"
#include "platform/DesktopLauncher.h"
#include "platform/IniProfile.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "platform/MpvPlayerLink.h"
#include "shell/MainWindow.h"
#include "shell/TerminationSignals.h"
#include "state/AppState.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarl"));
    QApplication::setQuitOnLastWindowClosed(false);

    tarl::IniProfile profile;
    tarl::QtUi ui;
    tarl::MpvPlayerLink player;
    tarl::SystemClock clock;
    tarl::LocalFiles files;
    tarl::LinuxDrives drives;
    tarl::DesktopLauncher launcher;
    tarl::AppState state(tarl::Services{profile, ui, player, clock, files, drives, launcher});

    tarl::MainWindow window(state);
    ui.setParentWindow(&window);
    tarl::TerminationSignals terminationSignals(&window);

    window.startUp();
    if (window.unloaded())
        return 0;
    window.show();
    return app.exec();
}
