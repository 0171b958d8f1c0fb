// mpv's IPC replies on arbitrary bytes: the stream is cut into chunks at points the input
// chooses, as reads from the socket would cut it, and every line is read as a message and
// applied to the values the player link keeps. Besides crashes it checks that the lines do not
// depend on where the chunks were cut (unless the line buffer gave up on a line without an end,
// which a small limit makes reachable), that no line holds its "\n", and that the times the link
// answers from the pushed values are never negative.
#include "FuzzCheck.h"
#include "platform/PlayerLines.h"
#include "platform/PlayerPushed.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using tarl::fuzz::Check;

// The lines of `stream` fed in chunks whose sizes come from `cuts` (1 to 256 bytes each, the
// whole stream at once when there are none), taking the complete lines after each chunk as the
// socket does. False when the buffer gave up on a line.
bool Lines(const QByteArray& stream, const QByteArray& cuts, qsizetype maxLine,
           QList<QByteArray>* lines, QByteArray* rest) {
    tarl::PlayerLineBuffer buffer(maxLine);
    qsizetype at = 0;
    qsizetype cut = 0;
    while (at < stream.size()) {
        const qsizetype size =
            cuts.isEmpty() ? stream.size() : 1 + quint8(cuts[cut++ % cuts.size()]);
        const QByteArrayView chunk =
            QByteArrayView(stream).sliced(at, qMin(size, stream.size() - at));
        at += chunk.size();
        if (!buffer.append(chunk))
            return false;
        while (const std::optional<QByteArray> line = buffer.takeLine())
            lines->append(*line);
    }
    while (const std::optional<QByteArray> line = buffer.takeLine())
        lines->append(*line);
    Check(!buffer.hasLine(), "every complete line taken");
    *rest = stream.mid(stream.size() - buffer.size());
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first byte: how many cut sizes follow, and the line limit in the small range.
    const int cutCount = data[0] & 0x0F;
    const qsizetype maxLine = 16 << (data[0] >> 4);
    if (size < std::size_t(1 + cutCount))
        return 0;
    const QByteArray cuts(reinterpret_cast<const char*>(data + 1), cutCount);
    const QByteArray stream(reinterpret_cast<const char*>(data + 1 + cutCount),
                            qsizetype(size) - 1 - cutCount);

    QList<QByteArray> whole;
    QByteArray wholeRest;
    Check(Lines(stream, {}, tarl::PlayerLineBuffer::DefaultMaxLine, &whole, &wholeRest),
          "a short stream is never refused");
    QList<QByteArray> chunked;
    QByteArray chunkedRest;
    if (Lines(stream, cuts, maxLine, &chunked, &chunkedRest)) {
        Check(chunked == whole, "lines do not depend on the chunks");
        Check(chunkedRest == wholeRest, "the unfinished line does not depend on the chunks");
    }

    tarl::PlayerPushed pushed;
    for (const QByteArray& line : whole) {
        Check(!line.contains('\n'), "lines hold no line end");
        const tarl::PlayerMessage message = tarl::ParsePlayerLine(line);
        if (message.kind == tarl::PlayerMessage::Kind::Event)
            pushed.apply(message.object);
        if (message.kind == tarl::PlayerMessage::Kind::Answer)
            Check(!message.object.contains(QStringLiteral("event")), "answers are no events");
        Check(pushed.positionMs() >= 0, "the position is never negative");
        Check(pushed.lengthSeconds() >= 0, "the length is never negative");
        pushed.allReported();
    }
    return 0;
}
