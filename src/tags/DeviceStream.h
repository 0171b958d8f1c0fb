#pragma once

#include <QByteArray>
#include <QIODevice>
#include <tiostream.h>

namespace tarl {

// TagLib's view of an open, random-access device (a track's file as TagFile::open opens it), so
// TagLib reads through the one descriptor the import opened and never opens the path itself.
//
// Read-only: every write is refused by doing nothing. The position is kept here, so TagLib may
// seek past the end as it does on files (a read there gives nothing), and a read is never asked
// of the device beyond its end: a size TagLib read from a damaged file cannot make a large
// allocation.
//
// At most kReadBudget bytes are read in all; past that every read gives nothing, which TagLib
// takes for the end of the file. Some of its searches walk the whole file when what they look
// for is not there (the last Ogg page of a file with a long tail of junk), and the import
// reads thousands of files: a damaged one must not cost a gigabyte.
class DeviceStream final : public TagLib::IOStream {
public:
    // More than the tags and headers of any sound file need, covers included.
    static constexpr qint64 kReadBudget = 32 * 1024 * 1024;

    explicit DeviceStream(QIODevice& device) : device_(device) {}

    TagLib::FileName name() const override { return ""; }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return device_.isOpen(); }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return static_cast<long>(at_); }
    long length() override { return static_cast<long>(device_.size()); }
    void truncate(long) override {}

private:
    QIODevice& device_;
    qint64 at_ = 0;
    qint64 budget_ = kReadBudget;
};

} // namespace tarl
