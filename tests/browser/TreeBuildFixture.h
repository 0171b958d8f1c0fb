#pragma once

#include "browser/LibraryTree.h"
#include "browser/TreeBuild.h"
#include "catalog/RoutineFixture.h"
#include "platform/LocalFiles.h"

#include <QDir>
#include <QStringList>

namespace tarl::test {

// A fresh catalog and real folders in the test's temporary folder T, which is a drive of its own
// (as "C:/" was), beside "/" and the CD drive "/media/cd/" (label "DISC7") of RoutineFixture.
// Trees are compared as lines: two spaces per level, then "text | key | tag | image", with T
// written "$T".
class TreeBuildFixture : public RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        t = temp.path();
        drives.addDrive(t, DriveType::Fixed);
    }

    qint64 hardDisc(const QString& name, int m3us) {
        return insert(QString("INSERT INTO CD (name,m3us,label,isCd) VALUES ('%1',%2,'EOF','0')")
                          .arg(name)
                          .arg(m3us));
    }
    qint64 disc(const QString& name, int m3us, const QString& label, const QString& labelcd) {
        return insert(QString("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                              "('%1',%2,'%3','1','%4')")
                          .arg(name)
                          .arg(m3us)
                          .arg(label, labelcd));
    }
    qint64 list(const QString& path, const QString& file, qint64 volumeId, qint64 style = 0) {
        return insert(QString("INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES "
                              "('%1','%2',%3,0,%4)")
                          .arg(path, file)
                          .arg(volumeId)
                          .arg(style));
    }
    qint64 style(const QString& name) {
        return insert(QString("INSERT INTO Nick (nick) VALUES ('%1')").arg(name));
    }
    // Makes a real folder (path ending in "/") or an empty file under T.
    void make(const QString& path) {
        if (path.endsWith('/')) {
            ASSERT_TRUE(QDir().mkpath(path)) << path.toStdString();
            return;
        }
        temp.write(path.mid(t.size() + 1), {});
    }

    TreeSources sources() { return {catalog, drives, files}; }

    QStringList pathTree() {
        BuildTreeByPaths(tree, sources());
        return lines();
    }
    QStringList styleTree(bool expectOk = true) {
        const Result<> built = BuildTreeByStyle(tree, sources());
        EXPECT_EQ(built.ok, expectOk) << built.error.toStdString();
        lastError = built.error;
        return lines();
    }

    QStringList lines() const {
        QStringList out;
        for (const auto& node : tree.topLevel())
            addLines(*node, 0, &out);
        return out;
    }

    QString t;
    LibraryTree tree;
    LocalFiles files;
    QString lastError;

private:
    void addLines(const TreeNode& node, int depth, QStringList* out) const {
        const QString line = QString(depth * 2, ' ') + node.text + " | " + node.key + " | " +
                             node.tag + " | " + QString::number(node.image);
        *out << QString(line).replace(t, "$T");
        for (const auto& child : node.children)
            addLines(*child, depth + 1, out);
    }
};

} // namespace tarl::test
