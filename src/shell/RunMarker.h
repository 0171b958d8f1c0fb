#pragma once

#include <QString>

namespace tarl {

// The note that the program is running: the file "tarl.running" in the program folder, holding
// the process id. Start-up makes it and a clean close removes it; a crash, a kill or a power cut
// leaves it, so the next start knows the previous run did not end cleanly. A marker whose process
// is still alive belongs to another Tarl running on the same folder, not to a crash. The marker
// is written whole or not at all (ReplaceFile): a full disc leaves what was there before, never
// an empty marker; one that holds no process id all the same (an older version's) counts as a
// crash, one that cannot be opened as none (see PreviousRunUnclean).
class RunMarker {
public:
    // True when the previous run left its marker behind; then marks this run (once: start-up
    // runs again after Setup changed the catalog).
    bool begin(const QString& programFolder);
    // A clean close: the marker goes.
    void end();

private:
    QString file_;
};

} // namespace tarl
