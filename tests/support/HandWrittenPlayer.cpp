#include "support/HandWrittenPlayer.h"

#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarl::test {

HandWrittenPlayer::HandWrittenPlayer(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof(address.sun_path))
        return;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    listening_ =
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        ::listen(listener_, 1) == 0;
}

HandWrittenPlayer::~HandWrittenPlayer() {
    if (peer_ >= 0)
        ::close(peer_);
    ::close(listener_);
}

bool HandWrittenPlayer::accept() {
    return (peer_ = ::accept(listener_, nullptr, nullptr)) >= 0;
}

void HandWrittenPlayer::push(int id, const char* data) {
    write(QByteArray(R"({"event":"property-change","id":)") + QByteArray::number(id) +
          (*data ? QByteArray(R"(,"data":)") + data : QByteArray()) + "}\n");
}

void HandWrittenPlayer::event(const char* name) {
    write(QByteArray(R"({"event":")") + name + "\"}\n");
}

void HandWrittenPlayer::write(const QByteArray& bytes) {
    ASSERT_EQ(::write(peer_, bytes.constData(), size_t(bytes.size())), bytes.size());
}

QByteArray HandWrittenPlayer::readLine() {
    QByteArray line;
    char c = 0;
    while (::read(peer_, &c, 1) == 1) {
        if (c == '\n')
            return line;
        line += c;
    }
    return {};
}

void HandWrittenPlayer::hangUp() {
    ::close(peer_);
    peer_ = -1;
}

} // namespace tarl::test
