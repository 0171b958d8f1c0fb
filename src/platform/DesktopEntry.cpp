#include "platform/DesktopEntry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tarl {

namespace {

// The string escapes of desktop entry values; "\\" becomes "\" so the Exec quoting sees it once.
QString UnescapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == 's')
            out += ' ';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else if (next == '\\')
            out += '\\';
        else
            out += QStringLiteral("\\") + next;
    }
    return out;
}

QStringList SplitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool inToken = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == '\\' && i + 1 < exec.size())
                current += exec[++i];
            else if (c == '"')
                inQuotes = false;
            else
                current += c;
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inToken)
                args.append(current);
            current.clear();
            inToken = false;
            continue;
        }
        inToken = true;
        if (c == '"')
            inQuotes = true;
        else
            current += c;
    }
    if (inToken)
        args.append(current);
    return args;
}

// One argument with its field codes replaced; `used` is set when the file went in.
QString ExpandArgument(const QString& arg, const QString& file, bool* used) {
    QString out;
    for (qsizetype i = 0; i < arg.size(); ++i) {
        if (arg[i] != '%' || i + 1 == arg.size()) {
            out += arg[i];
            continue;
        }
        const QChar code = arg[++i];
        if (code == '%') {
            out += '%';
            continue;
        }
        // Local files may be given as paths for %u and %U too.
        if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
            out += file;
            *used = true;
        }
        // Other codes (icon, name, entry location, deprecated ones) expand to nothing.
    }
    return out;
}

} // namespace

QStringList DesktopApplicationFolders() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    QStringList folders = {dataHome + QStringLiteral("/applications")};
    for (const QString& dir : dataDirs.split(':', Qt::SkipEmptyParts))
        folders.append(dir + QStringLiteral("/applications"));
    return folders;
}

QString FindDesktopFile(const QString& id, const QStringList& folders) {
    if (id.isEmpty() || id.contains('/'))
        return {};
    for (const QString& folder : folders) {
        const QString direct = folder + '/' + id;
        if (QFileInfo(direct).isFile())
            return direct;
        // Entries in subfolders have ids with "-" for "/".
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (QDir(folder).relativeFilePath(path).replace('/', '-') == id)
                return path;
        }
    }
    return {};
}

QStringList DesktopCommandFor(const QString& desktopFile, const QString& file) {
    QFile entry(desktopFile);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString exec;
    bool inMainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Terminal") && value == QLatin1String("true"))
            return {};
        if (key == QLatin1String("Exec"))
            exec = UnescapeValue(value);
    }
    return exec.isEmpty() ? QStringList() : ExpandDesktopExec(exec, file);
}

QStringList ExpandDesktopExec(const QString& exec, const QString& file) {
    QStringList command;
    bool used = false;
    for (const QString& arg : SplitExec(exec)) {
        const QString expanded = ExpandArgument(arg, file, &used);
        // An argument that was only a field code without a value ("%i") goes away.
        if (expanded.isEmpty() && !arg.isEmpty())
            continue;
        command.append(expanded);
    }
    if (command.isEmpty())
        return {};
    if (!used)
        command.append(file);
    return command;
}

} // namespace tarl
