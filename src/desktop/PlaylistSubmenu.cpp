#include "desktop/PlaylistSubmenu.h"

#include "text/MenuCaption.h"

#include <QAction>
#include <utility>

namespace tarl {

PlaylistSubmenu::PlaylistSubmenu(std::function<QStringList()> recent,
                                 std::function<void(const QString&)> chosen, QWidget* parent)
    : QMenu(QStringLiteral("Add to playlist"), parent), recent_(std::move(recent)),
      chosen_(std::move(chosen)) {
    setObjectName(QStringLiteral("addToPlaylistMenu"));
    connect(this, &QMenu::aboutToShow, this, &PlaylistSubmenu::rebuild);
    rebuild();
}

void PlaylistSubmenu::rebuild() {
    clear();
    newPlaylist_ = addAction(QStringLiteral("New playlist…"));
    newPlaylist_->setObjectName(QStringLiteral("newPlaylistAction"));
    connect(newPlaylist_, &QAction::triggered, this, [this] { chosen_(QString()); });
    const QStringList names = recent_ ? recent_() : QStringList();
    if (names.isEmpty())
        return;
    addSeparator();
    for (qsizetype i = 0; i < names.size(); ++i) {
        QAction* entry = addAction(MenuCaption(names[i]));
        entry->setObjectName(QStringLiteral("recentPlaylistAction%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, name = names[i]] { chosen_(name); });
    }
}

} // namespace tarl
