#include "browserui/SelectedTracks.h"

#include "browser/LibraryTree.h"
#include "browser/TrackListModel.h"
#include "browser/TrackRows.h"
#include "browser/TreeCommands.h"
#include "browserui/LibraryBrowser.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/Version.h"
#include "text/PathMap.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>

namespace tarl {

namespace {

// Whether every selected track is one of the tracks `node` lists.
bool ListsAll(AppState& state, const TreeNode* node, const std::vector<TrackFile>& selected) {
    if (!node || !ShowsTracks(node->kind()))
        return false;
    const Result<std::vector<TrackRow>> rows =
        TrackRowsForNode(state.catalog, state.services.drives, node->key, node->kind());
    if (!rows)
        return false;
    QSet<qint64> ids;
    for (const TrackRow& row : rows.value)
        ids.insert(row.columns[ColId].toLongLong());
    return std::ranges::all_of(selected,
                               [&](const TrackFile& file) { return ids.contains(file.trackId); });
}

// The folder of the list the selected tracks are from, as the catalog stores it; "" when no
// node of the tree is sure to be it. The node listed last comes first: a right-click on another
// node since leaves the list as it was.
QString ListedFolder(AppState& state, LibraryBrowser& browser,
                     const std::vector<TrackFile>& selected) {
    TreeNode* listed =
        browser.listedKey().isEmpty() ? nullptr : browser.tree().FindNodeByKey(browser.listedKey());
    for (const TreeNode* node : {listed, browser.clickedNode(), browser.selectedNode()}) {
        if (ListsAll(state, node, selected))
            return FolderOfKey(node->key);
    }
    return {};
}

} // namespace

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

Result<FileBounds> SelectedFilesBounds(AppState& state, LibraryBrowser& browser,
                                       const std::vector<TrackFile>& selected) {
    return ReadFileBounds(state.catalog, state.pathMap, ListedFolder(state, browser, selected));
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
