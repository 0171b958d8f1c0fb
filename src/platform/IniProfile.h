#pragma once

#include "platform/Profile.h"
#include "text/Result.h"

#include <QByteArray>
#include <memory>

namespace tarl {

// Private-profile files on disc.
// Section and key names match without regard to case and surrounding blanks; values are taken
// without surrounding blanks, and without one pair of double quotes around them, as Windows
// reads them: a value written with blanks at an end, or in quotes, is written in quotes. Each line
// is read as UTF-8 when its bytes are valid UTF-8, else as Windows-1252 (a file edited on Windows),
// so "Caf\xE9" reads "Café". A write sets one line, in UTF-8, and keeps every other line byte for
// byte (comments, bytes of any encoding and each line's own end included; new lines take CRLF when
// the file has any); it replaces the file atomically (ReplaceFile): a crash, a kill or a full disc
// leaves either the old or the new file, a write the disc refuses fails saying the disc is full,
// and a link in the file's place is replaced, never written through.
//
// A file is read and taken apart once, then kept: the next read or write asks the disc only for
// the file's stamp (FileStamp) and reads it again when that changed, so another program's edit
// is seen (a file written within the last seconds is read again at every read, its lines kept
// while its bytes stay the same). A write keeps what it wrote. One IniProfile serves one thread.
class IniProfile : public Profile {
public:
    IniProfile();
    ~IniProfile() override;
    IniProfile(const IniProfile&) = delete;
    IniProfile& operator=(const IniProfile&) = delete;

    QString read(const QString& file, const QString& section, const QString& key) override;
    bool write(const QString& file, const QString& section, const QString& key,
               const QString& value, QString* error = nullptr) override;

    // The bytes of `content` with `key` in `section` set to `value`: the pure part of write().
    static QByteArray withValue(const QByteArray& content, const QString& section,
                                const QString& key, const QString& value);
    // The value of `key` in `section` of `content`, "" when missing.
    static QString valueIn(const QByteArray& content, const QString& section, const QString& key);

private:
    struct KeptFile;
    struct Kept;
    // The file as kept, read again when its stamp changed; nullptr when there is no file, a
    // failure when it cannot be read.
    Result<const KeptFile*> load(const QString& file);

    std::unique_ptr<Kept> kept_;
};

} // namespace tarl
