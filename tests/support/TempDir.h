#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tarl::test {

// A fresh temporary folder for one test. It is removed when the test passes and kept (its path
// printed) when the test fails, so the files can be looked at.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing "/".
    QString path() const { return dir_.path(); }
    // path() + "/" + relative
    QString file(const QString& relative) const;
    // Writes `bytes` to `relative` (folders made as needed) and returns the full path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

} // namespace tarl::test
