#include "text/PathText.h"

namespace tarl {

namespace {

QString AfterLastSlash(QStringView path) {
    return path.sliced(path.lastIndexOf(u'/') + 1).toString();
}

} // namespace

bool IsAbsolutePath(const QString& path) {
    return path.startsWith(u'/');
}

QString WithTrailingSlash(const QString& path) {
    if (path.isEmpty())
        return {};
    const QString bare = WithoutTrailingSlash(path);
    return bare == QLatin1String("/") ? bare : bare + u'/';
}

QString WithoutTrailingSlash(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == u'/')
        --end;
    return path.left(end);
}

QString FolderOf(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

QString LastPathPart(const QString& path) {
    const QStringView view(path);
    return AfterLastSlash(path.endsWith(u'/') ? view.chopped(1) : view);
}

QString LastFolderName(const QString& path) {
    const QStringView view(path);
    return AfterLastSlash(view.isEmpty() ? view : view.chopped(1));
}

qsizetype DiscSeparatorIn(const QString& key) {
    if (key.startsWith(u'/'))
        return -1;
    return key.indexOf(QLatin1String(":>"));
}

} // namespace tarl
