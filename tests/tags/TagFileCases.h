#pragma once

#include "tags/TagFields.h"

#include <QByteArray>
#include <vector>

namespace tarl::test {

// One file the tests build and what reading its tags must give (fileLength: the file's size).
struct TagFileCase {
    const char* name;
    QByteArray bytes;
    TagFields expected;
};

// Writes each file to a temporary folder, hands it to the fuzzer as a seed, reads it with
// ReadId3 and compares every field.
void ExpectTagFiles(const std::vector<TagFileCase>& cases);

} // namespace tarl::test
