#pragma once

#include <QIODevice>
#include <QtGlobal>

namespace tarl {

// The length of an MPEG audio file (MPEG 1, 2 and 2.5, layers I to III) in whole seconds,
// rounded to the nearest, worked out from its first frame without reading the audio.
//
// ID3v2 tags at the start are stepped over by their headers, never read. The first frame is
// looked for after them, in the first 2 KiB (read with each tag header), then in 4 KiB, then in
// 64 KiB; it is taken only when the frame that should follow it starts where its size says (junk
// that happens to hold the sync bits is turned away). Then, in this order:
// - a Xing or Info header in that frame (layer III) with its frame count,
// - a VBRI header (36 bytes into the frame) with its frame count:
//   frames * samples per frame / sample rate;
// - else, when the frames a third and two thirds into the audio have the first frame's bit rate, a
//   constant bit rate: the bytes from the first frame to the end of the file, less an ID3v1
//   trailer and an APE tag before or without it, at the first frame's bit rate;
// - else (a variable bit rate without a header saying so) the frames counted one by one.
// 0 when no frame is found (or the device is not open and random-access). Reads 2 KiB where
// each tag header may be, the windows (each with 4 KiB past it, where the frame found may end),
// the last 160 bytes and 8 KiB at each of the two samples; the whole audio only when its bit
// rate varies without a header.
qint64 Mp3Length(QIODevice& device);

} // namespace tarl
