#include "TagFileCases.h"

#include "TagPrinters.h"
#include "support/FuzzSeeds.h"
#include "support/TempDir.h"
#include "tags/ReadId3.h"

#include <gtest/gtest.h>

namespace tarl::test {

void ExpectTagFiles(const std::vector<TagFileCase>& cases) {
    TempDir dir;
    for (const TagFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name);
        SaveFuzzSeed(QStringLiteral("id3"), name, c.bytes);
        const QString path = dir.write(name + ".mp3", c.bytes);
        TagFields expected = c.expected;
        expected.fileLength = c.bytes.size();
        const Result<TagFields> read = ReadId3(path);
        EXPECT_TRUE(read) << read.error.toStdString();
        EXPECT_EQ(read.value, expected);
    }
}

} // namespace tarl::test
