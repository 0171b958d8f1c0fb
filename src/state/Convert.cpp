#include "state/Convert.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarl {

namespace {

std::optional<double> toNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

template <typename Int> std::optional<Int> toWhole(const QString& text) {
    const auto v = toNumber(text);
    if (!v)
        return std::nullopt;
    const double r = RoundHalfEven(*v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

} // namespace

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::optional<float> ToSingle(const QString& text) {
    const auto v = toNumber(text);
    if (!v || std::fabs(*v) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<qint16> ToInt16(const QString& text) {
    return toWhole<qint16>(text);
}
std::optional<qint32> ToInt32(const QString& text) {
    return toWhole<qint32>(text);
}

std::optional<bool> ToBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    const auto v = toNumber(t);
    if (!v)
        return std::nullopt;
    return *v != 0.0;
}

QString FormatSingle(float value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return QString::number(double(value));
    return QString::fromLatin1(buffer, end - buffer);
}

QString FormatBool(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace tarl
