#pragma once

#include <QString>
#include <optional>

namespace tarl {

// Conversions of settings texts to the types their readers need, with the rules of the
// original program's conversions: surrounding blanks allowed, whole numbers rounded half to
// even, out-of-range values rejected. Nothing when the text cannot be converted.
std::optional<float> ToSingle(const QString& text);
std::optional<qint16> ToInt16(const QString& text);
std::optional<qint32> ToInt32(const QString& text);
// "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> ToBool(const QString& text);

// The shortest decimal text that reads back as the same single-precision value.
QString FormatSingle(float value);
QString FormatBool(bool value); // "True" or "False"

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

} // namespace tarl
