#include "text/PathMap.h"

namespace tarl {

namespace {

using Pairs = std::vector<std::pair<QString, QString>>;

QString AsFolder(const QString& prefix) {
    return prefix.endsWith(u'/') ? prefix : prefix + u'/';
}

// Whether the folder prefix matches: the path lies in the folder or is the folder itself
// without its final "/".
bool Matches(const QString& path, const QString& prefix) {
    return path.startsWith(prefix) || path == QStringView(prefix).chopped(1);
}

// Replaces the longest matching prefix (`fromStored`: the stored sides) by its partner.
QString Translate(const Pairs& pairs, const QString& path, bool fromStored) {
    const std::pair<QString, QString>* best = nullptr;
    for (const auto& pair : pairs) {
        const QString& from = fromStored ? pair.first : pair.second;
        if (!Matches(path, from))
            continue;
        if (!best || from.size() > (fromStored ? best->first : best->second).size())
            best = &pair;
    }
    if (!best)
        return path;
    const QString& from = fromStored ? best->first : best->second;
    const QString& to = fromStored ? best->second : best->first;
    if (path.size() < from.size()) // the folder itself, written without its "/"
        return to.chopped(1);
    return to + path.mid(from.size());
}

} // namespace

PathMap PathMap::Parse(const QString& text, QStringList* ignored) {
    PathMap map;
    for (const QString& entry : text.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        const QString stored = equals < 0 ? QString() : entry.left(equals);
        const QString local = equals < 0 ? QString() : entry.mid(equals + 1);
        if (stored.isEmpty() || local.isEmpty()) {
            if (ignored)
                ignored->append(entry);
            continue;
        }
        map.pairs_.emplace_back(AsFolder(stored), AsFolder(local));
    }
    return map;
}

QString PathMap::toLocal(const QString& stored) const {
    return Translate(pairs_, stored, true);
}

QString PathMap::toStored(const QString& local) const {
    return Translate(pairs_, local, false);
}

} // namespace tarl
