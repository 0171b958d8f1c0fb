#include "searchui/FindRules.h"

#include "state/Twips.h"

#include <algorithm>
#include <cmath>

namespace tarl {

namespace {
const QString CdPrefix = QStringLiteral("(CD)");
const QString CdSeparator = QStringLiteral(":>");
} // namespace

HistoryStep BackStep(int entries, int selected) {
    if (entries > 0 && selected < 0)
        selected = 0;
    if (selected < 0 || selected >= entries - 1)
        return {selected, false};
    return {selected + 1, true};
}

HistoryStep NextStep(int entries, int selected) {
    if (selected <= 0 || selected >= entries)
        return {selected, false};
    return {selected - 1, true};
}

OpenHit OpenHitOf(const SearchRow& row) {
    const QString& path = row.columns[SearchPathColumn];
    const QString& file = row.columns[SearchFileColumn];
    if (!row.isTrack()) {
        if (path.startsWith(CdPrefix))
            return {OpenHit::Kind::SearchPath, QLatin1Char('/') + file};
        return {OpenHit::Kind::SearchPath, path + file};
    }
    if (file.startsWith(QLatin1Char('/')))
        return {OpenHit::Kind::Nothing, {}};
    const QString folder = path.startsWith(CdPrefix) ? path.mid(CdPrefix.size()) : path;
    return {OpenHit::Kind::Play, folder + file};
}

JumpTarget JumpTargetOf(const SearchRow& row) {
    QString path = row.columns[SearchPathColumn];
    if (path.contains(CdSeparator))
        path = path.mid(CdPrefix.size());
    QString target = path + row.columns[SearchFileColumn];
    if (target.endsWith(QLatin1Char('/')))
        return {target, {}};
    return {target.left(target.lastIndexOf(QLatin1Char('/')) + 1), row.columns[SearchFileColumn]};
}

int ColumnOfField(SearchField field) {
    switch (field) {
    case SearchField::File:
        return SearchFileColumn;
    case SearchField::Path:
        return SearchPathColumn;
    case SearchField::Album:
        return SearchAlbumColumn;
    case SearchField::Title:
        return SearchTitleColumn;
    case SearchField::Artist:
        return SearchArtistColumn;
    case SearchField::Genre:
        return SearchGenreColumn;
    case SearchField::Year:
        return SearchYearColumn;
    case SearchField::Comments:
        return SearchCommentColumn;
    case SearchField::Rating:
        return SearchRatingColumn;
    }
    return SearchFileColumn;
}

std::optional<double> MiniKnobDragged(double knobLeft, double x) {
    const double wanted = knobLeft + x - 250;
    if (wanted > MiniKnobMax)
        return MiniKnobMax;
    if (wanted < MiniKnobMin)
        return MiniKnobMin;
    if (std::abs(wanted - knobLeft) > 10)
        return wanted;
    return std::nullopt;
}

qint64 MiniSeekMs(double knobLeft, qint64 lengthSeconds) {
    return std::llround(1000.0 * (knobLeft - MiniKnobMin) *
                        (double(lengthSeconds) / MiniKnobTrack));
}

double MiniKnobAfterSeek(qint64 ms, qint64 lengthSeconds) {
    return double(ms) * 3.24 / double(lengthSeconds) + MiniKnobMin;
}

double MiniKnobFollowing(qint64 positionSeconds, qint64 lengthSeconds) {
    return KnobLeftFor(positionSeconds, lengthSeconds, MiniKnobMin, MiniKnobMax);
}

double JumpImageTop(double listTop, double pointerY) {
    return listTop + pointerY - 200;
}

FindLayout PlanFindLayout(double width, double height, double statusHeight, double listTop) {
    FindLayout layout;
    layout.statusTop = height - statusHeight;
    if (width > 600)
        layout.listWidth = width - 600;
    if (layout.statusTop > listTop)
        layout.listHeight = layout.statusTop - listTop;
    layout.jumpLeft = width - 600;
    return layout;
}

} // namespace tarl
