#include "Command.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    // The application object decodes file names in the arguments and lets Qt Sql find its
    // drivers for the commands that open a catalog.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tarl::tool::Dispatch(QCoreApplication::arguments().mid(1), out, err);
}
