#pragma once

#include "support/QtPrinters.h"
#include "tags/TagFields.h"

#include <ostream>

namespace tarl {

// Shows every field in a failure, so a wrong value is seen beside the right ones.
inline void PrintTo(const TagFields& f, std::ostream* os) {
    *os << "{title=\"" << f.title.toStdString() << "\" artist=\"" << f.artist.toStdString()
        << "\" album=\"" << f.album.toStdString() << "\" year=\"" << f.year.toStdString()
        << "\" comments=\"" << f.comments.toStdString() << "\" genre=\"" << f.genre.toStdString()
        << "\" fileLength=" << f.fileLength << " seconds=" << f.seconds << "}";
}

} // namespace tarl
