#include "browser/NodeKind.h"

#include <array>
#include <utility>

namespace tarl {

namespace {

// Every kind with its tag text, None left out.
constexpr std::array<std::pair<NodeKind, const char*>, 7> kTags{{
    {NodeKind::Catalog, "Db"},
    {NodeKind::Volume, "Cd"},
    {NodeKind::TrackFolder, "Mp3Cd"},
    {NodeKind::Playlist, "M3uCd"},
    {NodeKind::Style, "Nick"},
    {NodeKind::StyleList, "M3uNick"},
    {NodeKind::Unsorted, "Unsorted"},
}};

} // namespace

QString NodeKindTag(NodeKind kind) {
    for (const auto& [each, text] : kTags) {
        if (each == kind)
            return QString::fromLatin1(text);
    }
    return {};
}

NodeKind NodeKindOfTag(const QString& tag) {
    for (const auto& [kind, text] : kTags) {
        if (tag == QLatin1String(text))
            return kind;
    }
    return NodeKind::None;
}

bool ShowsTracks(NodeKind kind) {
    return kind == NodeKind::Volume || PlaysTracks(kind);
}

bool PlaysTracks(NodeKind kind) {
    return kind == NodeKind::TrackFolder || kind == NodeKind::Playlist ||
           kind == NodeKind::StyleList;
}

} // namespace tarl
