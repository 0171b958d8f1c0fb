#include "catalog/engine/BoundQuery.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(SqlTextValueTest, CutsAtNulReplacesLoneSurrogatesAndKeepsQuotes) {
    const QChar high(0xD83C);
    const QChar low(0xDFB8);
    const struct {
        QString text;
        QString stored;
    } cases[] = {
        {"Guns'n Roses", "Guns'n Roses"},
        {"x' OR '1'='1", "x' OR '1'='1"},
        {"", ""},
        {QString::fromUtf8("before\0after", 12), "before"},
        {QString::fromUtf8("\0'", 2), ""},
        {QString("rock ") + high + low, QString("rock ") + high + low},
        {QString("a") + high + "'", QString("a") + QChar(0xFFFD) + "'"},
        {QString("a") + low + high, QString("a") + QChar(0xFFFD) + QChar(0xFFFD)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(SqlTextValue(c.text), c.stored);
    }
}

} // namespace
} // namespace tarl
