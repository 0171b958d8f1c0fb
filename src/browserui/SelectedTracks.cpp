#include "browserui/SelectedTracks.h"

#include "browser/TrackListModel.h"
#include "platform/Ui.h"
#include "state/Version.h"
#include "text/PathMap.h"

#include <QCoreApplication>

namespace tarl {

std::vector<TrackFile> SelectedTrackFiles(const TrackListModel& model, const std::vector<int>& rows,
                                          const PathMap& pathMap) {
    std::vector<TrackFile> files;
    files.reserve(rows.size());
    for (const int row : rows) {
        const TrackRow& track = model.row(row);
        files.push_back({row, pathMap.toLocal(track.columns[ColPath]), track.columns[ColFile],
                         track.columns[ColId].toLongLong()});
    }
    return files;
}

FileOpHooks WindowFileOpHooks(Ui& ui, const std::function<void(int, const QString&)>& setStatus) {
    FileOpHooks hooks;
    hooks.status = setStatus;
    hooks.yield = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    hooks.failed = [&ui](const FileFailure& failure) {
        // A box without a title of its own carries the program's name.
        const QString title = failure.title.isEmpty() ? QString(VersionLabel) : failure.title;
        ui.message(failure.text, title, failure.icon, MsgButtons::Ok);
    };
    return hooks;
}

} // namespace tarl
