// The search window's acts on a hit: the right-button popup and jumpArrow following the pointer,
// "Search more of the same", opening a hit and jumping to it in the main window.
#include "searchui/SearchWindow.h"

#include "searchui/FindRules.h"
#include "searchui/ResultsView.h"
#include "searchui/SearchResultsModel.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "state/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace tarl {

const SearchRow* SearchWindow::selectedHit() const {
    const QModelIndex current = results->currentIndex();
    if (!hasHits_ || !current.isValid() || !results->selectionModel()->isRowSelected(current.row()))
        return nullptr;
    return model_->row(current.row());
}

void SearchWindow::hitsMouseDown(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::RightButton) {
        const double top = JumpImageTop(ToTwips(results->y()), ToTwips(pos.y()));
        jumpArrow->move(jumpArrow->x(), ToPixels(top));
        return;
    }
    const SearchRow* hit = selectedHit();
    if (model_->rowCount() == 0 || !hit || !hit->isTrack())
        return;
    // The pointer's place in the list, taken as a place in the window, moved right and down.
    popupPlace_ =
        QPoint(ToPixels(ToTwips(pos.x()) + PopupRight), ToPixels(ToTwips(pos.y()) + PopupBelow));
    hitMenu->popup(mapToGlobal(popupPlace_));
}

void SearchWindow::searchSameClicked(SearchField field) {
    const SearchRow* hit = selectedHit();
    if (!hit)
        return;
    const QString value = hit->columns[static_cast<size_t>(ColumnOfField(field))];
    disableSearching();
    selectField(field);
    find->setText(value);
    searchClicked();
}

void SearchWindow::hitDoubleClicked() {
    const SearchRow* hit = selectedHit();
    if (!hit)
        return;
    const OpenHit open = OpenHitOf(*hit);
    if (open.kind == OpenHit::Kind::SearchPath) {
        find->setText(open.text);
        disableSearching();
        selectField(SearchField::Path);
        searchClicked();
        return;
    }
    // A track: the main window stops following the player while this window's strip does.
    if (hooks_.stopMainTimers)
        hooks_.stopMainTimers();
    miniPlayer->hide();
    miniPlayerTimer->start();
    if (open.kind == OpenHit::Kind::Play && state_.play)
        state_.play->PlayKey(open.text);
}

void SearchWindow::queueHit(bool playNext) {
    const SearchRow* hit = selectedHit();
    if (!hit || !hit->isTrack() || !state_.play)
        return;
    const OpenHit open = OpenHitOf(*hit);
    if (open.kind == OpenHit::Kind::Play)
        state_.play->QueueKeys({open.text}, playNext);
}

void SearchWindow::jumpClicked() {
    const SearchRow* hit = selectedHit();
    if (!hit)
        return;
    const JumpTarget target = JumpTargetOf(*hit);
    if (hooks_.mainTimersOn && !hooks_.mainTimersOn() && hooks_.resumeLastSong)
        hooks_.resumeLastSong();
    if (hooks_.selectFolderNode)
        hooks_.selectFolderNode(target.folderKey);
    if (!target.trackFile.isEmpty()) {
        if (hooks_.selectTracks)
            hooks_.selectTracks(target.trackFile);
        if (hooks_.startMainTimers)
            hooks_.startMainTimers();
    }
    close();
}

} // namespace tarl
