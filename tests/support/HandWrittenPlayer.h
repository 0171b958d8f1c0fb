#pragma once

#include <QByteArray>
#include <QString>

namespace tarl::test {

// The player's end of the IPC socket, written by hand: a listening Unix socket on which a test
// accepts the link's connection and writes the lines mpv would push, in an order it chooses.
class HandWrittenPlayer {
public:
    explicit HandWrittenPlayer(const QString& path);
    ~HandWrittenPlayer();
    HandWrittenPlayer(const HandWrittenPlayer&) = delete;
    HandWrittenPlayer& operator=(const HandWrittenPlayer&) = delete;

    bool listening() const { return listening_; }
    bool accept();
    // One property-change line; `data` "" for an unavailable property.
    void push(int id, const char* data);
    // One event line without data.
    void event(const char* name);
    void write(const QByteArray& bytes);
    // The next line the link wrote (a command), waiting for it; "" when the link hung up.
    QByteArray readLine();
    // Closes the accepted connection, as a player that quits.
    void hangUp();

private:
    int listener_ = -1;
    int peer_ = -1;
    bool listening_ = false;
};

} // namespace tarl::test
