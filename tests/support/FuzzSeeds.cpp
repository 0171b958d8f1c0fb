#include "support/FuzzSeeds.h"

#include <QDir>
#include <QFile>

namespace tarl::test {

void SaveFuzzSeed(const QString& target, const QString& name, const QByteArray& bytes) {
    const QString root = qEnvironmentVariable("TARL_FUZZ_SEEDS");
    if (root.isEmpty())
        return;
    const QString folder = root + '/' + target;
    QDir().mkpath(folder);
    QFile out(folder + '/' + name);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(bytes);
}

} // namespace tarl::test
