#include "catalog/engine/Recordset.h"

#include "support/CatalogFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

class RecordsetTest : public test::CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        for (const char* file : {"a.m3u", "b.m3u", "rock/"})
            run(QStringLiteral("INSERT INTO m3u (path,file,cd_id,mp3s) VALUES ('/m/','%1','1','0')")
                    .arg(file));
        run("INSERT INTO m3u (path,file,cd_id,mp3s) VALUES ('/o/','c.m3u','2','0')");
        for (int list = 1; list <= 4; ++list)
            run(QStringLiteral("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/m/','%1.mp3','%1')")
                    .arg(list));
    }

    // Three holders of one connection, read in turn.
    Recordset general, second, third;

    static QStringList Column(Recordset& rows, int position) {
        QStringList values;
        for (; !rows.eof(); rows.moveNext())
            values << rows.field(position).toString();
        return values;
    }
};

TEST_F(RecordsetTest, ReadsRowsForward) {
    Recordset& rows = general;
    EXPECT_TRUE(rows.eof());
    ASSERT_TRUE(catalog.connection.execute("SELECT id, file, Cd_id, NULL AS none FROM M3u", rows));
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(rows.fieldCount(), 4);
    EXPECT_EQ(rows.field(0), QVariant(qlonglong(1)));
    EXPECT_EQ(rows.field("FILE"), QVariant(QString("a.m3u")));
    EXPECT_EQ(rows.field("cd_id"), QVariant(qlonglong(1)));
    for (const QVariant& missing :
         {rows.field("none"), rows.field(4), rows.field(-1), rows.field("x")})
        EXPECT_TRUE(missing.isNull());
    rows.moveNext();
    EXPECT_EQ(Column(rows, 1), QStringList({"b.m3u", "rock/", "c.m3u"}));
    EXPECT_TRUE(rows.field(0).isNull());
    EXPECT_EQ(rows.fieldCount(), 4);
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
}

TEST_F(RecordsetTest, EveryKindOfStatementReplacesTheRows) {
    const struct {
        QString statement;
        bool ok;
        int fieldCount;
        int m3uRows;
    } cases[] = {
        {"SELECT id FROM M3u WHERE id = 99", true, 1, 4},
        {"INSERT INTO m3u (path,file,cd_id,mp3s) VALUES ('/n/','.','3','0')", true, 0, 5},
        {"UPDATE M3u SET path = '/x/' WHERE cd_id = 3", true, 0, 5},
        {"DELETE FROM M3u WHERE path = '/x/'", true, 0, 4},
        {"DELETE FROM NoSuchTable", false, 0, 4},
        {"UPDATE M3u SET M3u.path = '/x/'", false, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement.toStdString());
        ASSERT_TRUE(catalog.connection.execute("SELECT * FROM Mp3", general));
        EXPECT_EQ(catalog.connection.execute(c.statement, general), c.ok);
        EXPECT_EQ(catalog.connection.lastError().isEmpty(), c.ok);
        EXPECT_TRUE(general.eof());
        EXPECT_EQ(general.fieldCount(), c.fieldCount);
        EXPECT_EQ(scalar("SELECT count(*) FROM M3u"), QVariant(qlonglong(c.m3uRows)));
    }
}

TEST_F(RecordsetTest, HoldersAreReadInterleaved) {
    // A volume's lists walked in one holder while each is deleted through another and a
    // look-up fills the third.
    Recordset& walk = second;
    ASSERT_TRUE(catalog.connection.execute("SELECT id, file From m3u WHERE ((cd_id)=1 )", walk));
    QStringList walked;
    for (; !walk.eof(); walk.moveNext()) {
        const QString id = walk.field("id").toString();
        walked << walk.field("file").toString();
        ASSERT_TRUE(catalog.connection.execute("DELETE FROM M3u WHERE id=" + id, general));
        ASSERT_TRUE(catalog.connection.execute("SELECT m3u_id FROM Mp3 WHERE m3u_id=" + id, third));
        EXPECT_EQ(third.field(0).toString(), id);
        ASSERT_TRUE(catalog.connection.execute("DELETE FROM Mp3 WHERE M3u_id=" + id, general));
    }
    EXPECT_EQ(walked, QStringList({"a.m3u", "b.m3u", "rock/"}));
    EXPECT_EQ(scalar("SELECT group_concat(file) FROM M3u"), QVariant(QString("c.m3u")));
    EXPECT_EQ(scalar("SELECT group_concat(file) FROM Mp3"), QVariant(QString("4.mp3")));
}

TEST_F(RecordsetTest, WritesAreCommittedWhileAHolderIsHalfRead) {
    // Imports write in batches; a batch is there for other programs once committed, even while
    // a holder still has rows to read.
    ASSERT_TRUE(catalog.connection.execute("SELECT * FROM Mp3", second));
    run("INSERT INTO nick (nick) VALUES ('Rock')");
    run("BEGIN");
    run("INSERT INTO nick (nick) VALUES ('Lost')");
    run("ROLLBACK");
    run("BEGIN");
    run("INSERT INTO nick (nick) VALUES ('Jazz')");
    run("COMMIT");

    Connection other;
    ASSERT_TRUE(other.open(dbPath)) << other.lastError().toStdString();
    Recordset rows;
    ASSERT_TRUE(other.execute("SELECT nick FROM Nick ORDER BY id", rows));
    EXPECT_EQ(Column(rows, 0), QStringList({"Rock", "Jazz"}));
    EXPECT_EQ(Column(second, 1), QStringList({"1.mp3", "2.mp3", "3.mp3", "4.mp3"}));
}

QStringList warnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg)
        warnings << message;
}

TEST_F(RecordsetTest, CloseReleasesHoldersThatStillHoldRows) {
    for (Recordset* holder : {&general, &second, &third})
        ASSERT_TRUE(catalog.connection.execute("SELECT * FROM Mp3", *holder));
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    catalog.connection.close();
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, QStringList());
    for (Recordset* holder : {&general, &second, &third}) {
        EXPECT_TRUE(holder->eof());
        EXPECT_EQ(holder->fieldCount(), 0);
        holder->moveNext();
    }
    EXPECT_FALSE(catalog.connection.execute("SELECT 1", general));
    EXPECT_EQ(catalog.connection.lastError(), "The catalog is not open.");

    ASSERT_TRUE(catalog.connection.open(dbPath));
    ASSERT_TRUE(catalog.connection.execute("SELECT count(*) FROM Mp3", general));
    EXPECT_EQ(general.field(0), QVariant(qlonglong(4)));
}

TEST_F(RecordsetTest, HoldersAndConnectionsEndInEitherOrder) {
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    Recordset outliving;
    {
        Connection connection;
        ASSERT_TRUE(connection.open(dbPath));
        ASSERT_TRUE(connection.execute("SELECT * FROM M3u", outliving));
        {
            Recordset shortLived;
            ASSERT_TRUE(connection.execute("SELECT * FROM Mp3", shortLived));
        }
        // A holder filled through another connection belongs to that one from then on.
        Recordset moved;
        ASSERT_TRUE(connection.execute("SELECT * FROM Mp3", moved));
        ASSERT_TRUE(catalog.connection.execute("SELECT * FROM M3u", moved));
        connection.close();
        EXPECT_EQ(moved.field("file"), QVariant(QString("a.m3u")));
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, QStringList());
    EXPECT_TRUE(outliving.eof());
    outliving.clear();
}

} // namespace
} // namespace tarl
