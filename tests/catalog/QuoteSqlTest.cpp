#include "catalog/QuoteSql.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(QuoteSqlTest, QuotesEachQuoteOnceCutsAtNulAndReplacesLoneSurrogates) {
    const QChar high(0xD83C);
    const QChar low(0xDFB8);
    const struct {
        QString text;
        QString quoted;
    } cases[] = {
        {"Guns'n Roses", "Guns''n Roses"},
        // Quoted once, whatever the text holds already.
        {"''", "''''"},
        {"'''", "''''''"},
        {"a''b'c", "a''''b''c"},
        {"'", "''"},
        {"", ""},
        {QString::fromUtf8("before\0after", 12), "before"},
        {QString::fromUtf8("\0'", 2), ""},
        {"100% _x_ \\ \"", "100% _x_ \\ \""},
        {QString("rock ") + high + low, QString("rock ") + high + low},
        {QString("a") + high + "'", QString("a") + QChar(0xFFFD) + "''"},
        {QString("a") + low + high, QString("a") + QChar(0xFFFD) + QChar(0xFFFD)},
        {QString(high), QString(QChar(0xFFFD))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(QuoteSql(c.text), c.quoted);
    }
}

} // namespace
} // namespace tarl
