#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

// Lets GoogleTest show Qt values in failure messages as text instead of raw bytes.
inline void PrintTo(const QString& value, std::ostream* os) {
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QStringList& value, std::ostream* os) {
    *os << '{' << value.join(QStringLiteral(", ")).toStdString() << '}';
}

inline void PrintTo(const QVariant& value, std::ostream* os) {
    if (value.isNull()) {
        *os << "NULL";
        return;
    }
    *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
