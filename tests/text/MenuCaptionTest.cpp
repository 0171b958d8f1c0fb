#include "text/MenuCaption.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(MenuCaption, DoublesEachAmpersandAndCutsAsACellDoes) {
    const QString ellipsis(QChar(0x2026));
    const QString long1023 = QString(1023, u'a');
    const struct {
        const char* name;
        QString text;
        QString caption;
    } cases[] = {
        {"plain", "Plain", "Plain"},
        {"ampersands", "Simon & Garfunkel &&", "Simon && Garfunkel &&&&"},
        {"as long as a cell shows", QString(1024, u'a'), QString(1024, u'a')},
        {"ten megabytes", QString(10 << 20, u's'), QString(1024, u's') + ellipsis},
        // The "&" is cut or kept whole, never left single as a shortcut mark.
        {"ampersand last kept", long1023 + "&b", long1023 + "&&" + ellipsis},
        {"ampersand just past the cut", long1023 + "b&", long1023 + "b" + ellipsis},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuCaption(c.text), c.caption) << c.name;
}

} // namespace
} // namespace tarl
