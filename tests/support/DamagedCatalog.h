#pragma once

#include "catalog/engine/Connection.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace tarl::test {

// Fills the catalog file with one volume, one list and `tracks` tracks, so it spans many pages.
inline void FillCatalog(const QString& file, int tracks) {
    Connection c;
    ASSERT_TRUE(c.open(file)) << c.lastError().toStdString();
    ASSERT_TRUE(c.execute("BEGIN"));
    ASSERT_TRUE(
        c.execute("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (1,'/music/',1,'EOF','0')"));
    ASSERT_TRUE(c.execute("INSERT INTO M3u (id,path,file,cd_id) VALUES (1,'/music/','a/',1)"));
    for (int i = 0; i < tracks; ++i)
        ASSERT_TRUE(
            c.execute(QStringLiteral("INSERT INTO Mp3 (path,file,m3u_id) VALUES "
                                     "('/music/a/','track number %1 of a long album.mp3',1)")
                          .arg(i)));
    ASSERT_TRUE(c.execute("COMMIT"));
}

// Overwrites three pages in the middle of a catalog file (closed, its log taken in) with a
// pattern no page has, as a failing disc or a stray write would.
inline void DamageMiddlePages(const QString& file) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray header = f.read(18);
    ASSERT_EQ(header.size(), 18);
    int pageSize =
        (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    const qint64 pages = f.size() / pageSize;
    ASSERT_GE(pages, 8) << "too small a catalog to damage in the middle";
    ASSERT_TRUE(f.seek((pages / 2 - 1) * pageSize));
    ASSERT_EQ(f.write(QByteArray(3 * pageSize, '\xA5')), 3 * pageSize);
}

} // namespace tarl::test
