#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tarl::test {

// What a run of the built tarl-catalog gave: its exit code, its output's lines, its stderr.
struct ToolRun {
    int code;
    QStringList lines;
    QString err;
};

inline ToolRun RunTool(const QString& command, const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), QStringList{command} + arguments);
    p.waitForFinished(30000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return {p.exitCode(), lines, QString::fromUtf8(p.readAllStandardError())};
}

} // namespace tarl::test
