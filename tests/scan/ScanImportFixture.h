#pragma once

#include "catalog/engine/Recordset.h"
#include "scan/ScanImport.h"
#include "scan/ScanNode.h"
#include "scan/ScanTree.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"
#include "support/Id3Builder.h"
#include "support/QtPrinters.h"

#include <QVariantList>
#include <gtest/gtest.h>

namespace tarl::test {

// A fresh catalog, real MP3 files in the temporary folder (a fixed drive on "/"), and scan trees
// built by hand as the walker builds them.
class ScanImport : public CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        drives.addDrive("/", DriveType::Fixed);
        root = temp.path() + "/";
    }

    // An MP3 file with an ID3v2.3 tag holding a title and an artist.
    QString mp3(const QString& relative, const QString& title, const QString& artist = "Band") {
        return temp.write(relative, Id3Builder(3)
                                        .text("TIT2", title, Id3Enc::Utf16)
                                        .text("TPE1", artist)
                                        .text("TALB", "Album")
                                        .audio(2)
                                        .build());
    }

    // A folder node with one child per file name, as a walk leaves it.
    ScanNode& folder(const QString& key, const QString& tag, const QStringList& names,
                     const QString& text = {}) {
        const bool sound = tag == QLatin1String("Cdmp3");
        ScanNode& node =
            tree.addRoot(key, text.isEmpty() ? key : text,
                         sound ? ScanNodeKind::SoundFolder : ScanNodeKind::PlaylistFolder);
        for (const QString& name : names)
            tree.addChild(node, key + name, name,
                          sound ? ScanNodeKind::SoundFile : ScanNodeKind::Playlist);
        return node;
    }

    ScanImportResult import(const ScanImportHooks& hooks = {},
                            const ScanImportBatching& batching = {}) {
        ScanImportResult result =
            ImportScanTree(catalog, drives, tree, label, pathScan, hooks, batching);
        label = result.currentLabel;
        return result;
    }

    QList<QVariantList> rows(const QString& query) {
        QList<QVariantList> result;
        Recordset set;
        EXPECT_TRUE(catalog.connection.execute(query, set))
            << catalog.connection.lastError().toStdString();
        for (; !set.eof(); set.moveNext()) {
            QVariantList row;
            for (int i = 0; i < set.fieldCount(); ++i)
                row << AsStored(set.field(i)).toString();
            result << row;
        }
        return result;
    }

    // Every stored byte and type of the three tables, ids included, to compare imports exactly.
    QList<QVariantList> exactContents() {
        const auto exact = [](const QStringList& columns, const QString& table) {
            QStringList parts;
            for (const QString& column : columns)
                parts << "typeof(" + column + ")"
                      << "hex(" + column + ")";
            return "SELECT " + parts.join(", ") + " FROM " + table + " ORDER BY id";
        };
        return rows(exact({"id", "name", "m3us", "label", "isCd", "labelcd"}, "CD")) +
               rows(exact({"id", "path", "file", "cd_id", "mp3s", "nick"}, "M3u")) +
               rows(exact({"id", "file", "path", "m3u_id", "title", "artist", "album", "year",
                           "genre", "comments", "size", "time", "rating"},
                          "Mp3"));
    }

    // The three tables as text, ids left out, to compare two catalogs' contents.
    QList<QVariantList> contents() {
        return rows("SELECT name, m3us, label, isCd, labelcd FROM CD ORDER BY name") +
               rows("SELECT path, file, mp3s FROM M3u ORDER BY path, file") +
               rows("SELECT path, file, title, artist, album, size FROM Mp3 ORDER BY path, file");
    }

    FakeDrives drives;
    ScanTree tree;
    QString root;
    QString label = "EOF";
    QString pathScan;
};

} // namespace tarl::test
