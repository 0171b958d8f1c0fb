#include "browser/ColumnLayout.h"

#include "state/Convert.h"
#include "state/Settings.h"

namespace tarl {

namespace {

// 32767 pixels of 15 twips: a header section cannot be wider, and a larger value is a typing
// slip rather than a width.
constexpr double MaxWidthTwips = 32767 * 15.0;

QString Saved(const Settings& settings, const QString& key) {
    return settings.ReadSetting(keys::Dimensions, key, QString());
}

QString Ignored(const QString& key, const QString& value) {
    return QString(keys::Dimensions) + u'/' + key + u'=' + value;
}

} // namespace

ColumnLayout BuiltInColumnLayout() {
    ColumnLayout layout;
    for (int c = 0; c < TrackColumnCount; ++c) {
        layout.widthTwips[static_cast<size_t>(c)] = TrackColumnBuiltInWidth(c);
        layout.position[static_cast<size_t>(c)] = c;
    }
    return layout;
}

ColumnLayout ReadColumnLayout(const Settings& settings) {
    ColumnLayout layout = BuiltInColumnLayout();
    for (int n = 1; n <= keys::SavedColumns; ++n) {
        const QString key = keys::ColumnWidthKey(n);
        const QString text = Saved(settings, key);
        if (text.isEmpty())
            continue;
        const std::optional<float> width = ToSingle(text);
        if (!width || *width < 0 || *width > MaxWidthTwips) {
            layout.ignored << Ignored(key, text);
            continue;
        }
        layout.widthTwips[static_cast<size_t>(n - 1)] = *width;
    }

    // The file counts positions from 1, as the list view of the Windows program did, so its
    // settings files keep their order. Each saved position is taken as it is; the columns left
    // without one (the track id, and any whose value is missing, unusable or already taken)
    // fill the free places in column order. Moving columns one by one in column order, as that
    // list view did, does not give back every order it saved.
    std::array<int, TrackColumnCount> columnAt;
    columnAt.fill(-1);
    std::array<bool, TrackColumnCount> placed{};
    for (int n = 1; n <= keys::SavedColumns; ++n) {
        const QString key = keys::ColumnPositionKey(n);
        const QString text = Saved(settings, key);
        if (text.isEmpty())
            continue;
        const std::optional<qint16> position = ToInt16(text);
        if (!position || *position < 1 || *position > TrackColumnCount ||
            columnAt[static_cast<size_t>(*position - 1)] >= 0) {
            layout.ignored << Ignored(key, text);
            continue;
        }
        columnAt[static_cast<size_t>(*position - 1)] = n - 1;
        placed[static_cast<size_t>(n - 1)] = true;
    }
    size_t free = 0;
    for (int c = 0; c < TrackColumnCount; ++c) {
        if (placed[static_cast<size_t>(c)])
            continue;
        while (columnAt[free] >= 0)
            ++free;
        columnAt[free] = c;
    }
    for (int p = 0; p < TrackColumnCount; ++p)
        layout.position[static_cast<size_t>(columnAt[static_cast<size_t>(p)])] = p;
    return layout;
}

void WriteColumnLayout(Settings& settings, const ColumnLayout& layout) {
    for (int n = 1; n <= keys::SavedColumns; ++n)
        settings.write(keys::Dimensions, keys::ColumnWidthKey(n),
                       FormatSingle(float(layout.widthTwips[static_cast<size_t>(n - 1)])));
    for (int n = 1; n <= keys::SavedColumns; ++n)
        settings.write(keys::Dimensions, keys::ColumnPositionKey(n),
                       QString::number(layout.position[static_cast<size_t>(n - 1)] + 1));
}

} // namespace tarl
