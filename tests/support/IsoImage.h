#pragma once

#include <QString>

namespace tarl::test {

// True when xorriso is installed, so tests can make real CD images.
bool HaveXorriso();

// Writes an ISO 9660 image of `sourceFolder` with volume label `label` to `imageFile`.
// False (with xorriso's complaint in *error) when it could not be made.
bool MakeIsoImage(const QString& sourceFolder, const QString& label, const QString& imageFile,
                  QString* error = nullptr);

} // namespace tarl::test
