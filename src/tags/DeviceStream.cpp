#include "tags/DeviceStream.h"

#include <algorithm>

namespace tarl {

TagLib::ByteVector DeviceStream::readBlock(unsigned long length) {
    const qint64 left = device_.size() - at_;
    const qint64 count = std::min({static_cast<qint64>(length), left, budget_});
    if (count <= 0 || (device_.pos() != at_ && !device_.seek(at_)))
        return {};
    TagLib::ByteVector block(static_cast<unsigned int>(count), 0);
    const qint64 got = std::max<qint64>(device_.read(block.data(), count), 0);
    block.resize(static_cast<unsigned int>(got));
    at_ += got;
    budget_ -= got;
    return block;
}

void DeviceStream::seek(long offset, Position p) {
    qint64 from = 0;
    if (p == Current)
        from = at_;
    else if (p == End)
        from = device_.size();
    // TagLib never means a place before the start; a damaged size could make one.
    at_ = std::max<qint64>(from + offset, 0);
}

} // namespace tarl
