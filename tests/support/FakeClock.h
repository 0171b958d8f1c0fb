#pragma once

#include "platform/Clock.h"

namespace tarl::test {

class FakeClock : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time{QDate(2026, 1, 2), QTime(3, 4, 5)};
};

} // namespace tarl::test
