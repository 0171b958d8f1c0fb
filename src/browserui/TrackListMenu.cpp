#include "browserui/TrackListMenu.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/SelectedTracks.h"
#include "browserui/TrackListPlaylists.h"
#include "browserui/TrackListView.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/Version.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <array>
#include <utility>

namespace tarl {

TrackListMenu::TrackListMenu(AppState& state, LibraryBrowser& browser, TrackListView* list,
                             std::function<void(int, const QString&)> setStatus, QObject* parent)
    : QObject(parent), state_(state), browser_(browser), list_(list),
      setStatus_(std::move(setStatus)) {
    menu = new QMenu;
    menu->setObjectName(QStringLiteral("trackListMenu"));
    playAction = menu->addAction(QStringLiteral("Play"));
    deleteFromCatalogAction = menu->addAction(QStringLiteral("Delete From DB"));
    menu->addSeparator()->setObjectName(QStringLiteral("trackListMenuSeparator"));
    deleteFileAction = menu->addAction(QStringLiteral("Delete of HD"));
    propertiesAction = menu->addAction(QStringLiteral("Properties"));
    playAction->setObjectName(QStringLiteral("playAction"));
    deleteFromCatalogAction->setObjectName(QStringLiteral("deleteFromCatalogAction"));
    deleteFileAction->setObjectName(QStringLiteral("deleteFileAction"));
    propertiesAction->setObjectName(QStringLiteral("propertiesAction"));
    connect(playAction, &QAction::triggered, this, &TrackListMenu::playClicked);
    connect(deleteFromCatalogAction, &QAction::triggered, this,
            &TrackListMenu::deleteFromCatalogClicked);
    connect(deleteFileAction, &QAction::triggered, this, &TrackListMenu::deleteFileClicked);
    connect(propertiesAction, &QAction::triggered, this, &TrackListMenu::propertiesClicked);
    menu->addSeparator();
    playNextAction = menu->addAction(QStringLiteral("Play next"));
    playNextAction->setObjectName(QStringLiteral("playNextAction"));
    playNextAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    addToQueueAction = menu->addAction(QStringLiteral("Add to queue"));
    addToQueueAction->setObjectName(QStringLiteral("addToQueueAction"));
    connect(playNextAction, &QAction::triggered, this, [this] { browser_.queueSelected(true); });
    connect(addToQueueAction, &QAction::triggered, this, [this] { browser_.queueSelected(false); });
    playlists = new TrackListPlaylists(state_, browser_, list_, setStatus_, menu, this);
}

TrackListMenu::~TrackListMenu() {
    delete menu; // a menu without a parent widget, so it can pop up over any window
}

void TrackListMenu::playClicked() {
    browser_.trackListKeyDown(Qt::Key_Return);
}

void TrackListMenu::deleteFromCatalogClicked() {
    DeleteSelectedFromCatalog();
}

void TrackListMenu::DeleteSelectedFromCatalog() {
    const TrackListModel& model = *browser_.trackModel();
    std::vector<qint64> ids;
    for (const TrackFile& file : SelectedTrackFiles(model, list_->selectedRows(), state_.pathMap))
        ids.push_back(file.trackId);
    if (const Result<> deleted = DeleteTracks(state_.catalog, ids); !deleted)
        state_.services.ui.message(
            QStringLiteral("The tracks could not all be deleted from the data base: ") +
                deleted.error,
            QString(VersionLabel), MsgIcon::Critical, MsgButtons::Ok);
    browser_.FillTrackList();
}

void TrackListMenu::deleteFileClicked() {
    Ui& ui = state_.services.ui;
    const QString title = QStringLiteral("Remove Files from Hard Disc");
    const std::vector<TrackFile> selected =
        SelectedTrackFiles(*browser_.trackModel(), list_->selectedRows(), state_.pathMap);
    const Result<FileBounds> bounds = SelectedFilesBounds(state_, browser_, selected);
    if (!bounds) {
        ui.message(QStringLiteral("The folders of the data base could not be read: ") +
                       bounds.error,
                   title, MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    // The person sees the files, those outside the list's folder first: only those inside, or
    // named here, are deleted.
    const DeleteQuestion question = AskDeleteFiles(bounds.value, selected);
    if (ui.message(question.text, title, MsgIcon::None, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    const DeleteDone done = DeleteSelectedFiles(state_.services.files, bounds.value, selected,
                                                question, WindowFileOpHooks(ui, setStatus_));
    // A file that stayed keeps its track: its row leaves the selection before the catalog step.
    if (QItemSelectionModel* selection = list_->selectionModel())
        for (const int row : done.keptRows)
            selection->select(browser_.trackModel()->index(row, 0),
                              QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    DeleteSelectedFromCatalog();
}

QString TrackListMenu::TrackInformationText(const TrackRow& row) {
    static const std::array<std::pair<const char*, TrackColumn>, 10> Lines{{
        {"File :   ", ColFile},
        {"Path :   ", ColPath},
        {"Size :   ", ColSize},
        {"Title:   ", ColTitle},
        {"Artist:  ", ColArtist},
        {"Album:   ", ColAlbum},
        {"Genre:   ", ColGenre},
        {"Year:    ", ColYear},
        {"Comentaries: ", ColComment},
        {"MP3 ID data base: ", ColId},
    }};
    QString text;
    for (const auto& [label, column] : Lines)
        text += QLatin1String(label) + row.columns[column] + QStringLiteral("\r\n");
    return text;
}

void TrackListMenu::propertiesClicked() {
    const int current = list_->currentRow();
    if (current < 0)
        return;
    const TrackRow& row = browser_.trackModel()->row(current);
    if (row.columns[ColFile].isEmpty())
        return;
    state_.services.ui.message(TrackInformationText(row), QStringLiteral("MP3 information"),
                               MsgIcon::Information, MsgButtons::Ok);
}

} // namespace tarl
