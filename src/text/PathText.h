#pragma once

#include <QString>

namespace tarl {

// The path rules that need nothing but the path's text: no drive, no file system (those are in
// platform/PathRules.h). Paths are native: "/" separates and a folder path ends in "/". Each rule
// gives a new value and leaves its argument as it was.

// True for "/..." paths.
bool IsAbsolutePath(const QString& path);

// `path` ending in exactly one "/"; "" stays "".
QString WithTrailingSlash(const QString& path);

// `path` without trailing "/"s; "/" alone is the root and stays.
QString WithoutTrailingSlash(const QString& path);

// The text up to and including the last "/" of `path`; "" when there is none.
// "/music/party.m3u" gives "/music/"; "/music/rock/" gives itself.
QString FolderOf(const QString& path);

// The text after the last "/" of `path` once one trailing "/" is dropped: "/music/rock/" gives
// "rock", "/music/party.m3u" gives "party.m3u", "/music/rock//" gives "".
QString LastPathPart(const QString& path);

// The name of the last folder of a folder path: the text after the last "/" once the path's last
// character is dropped, whatever it is. "/music/rock/" gives "rock"; a path that is no folder
// path loses its last character all the same ("/music/party.m3u" gives "party.m3").
QString LastFolderName(const QString& path);

// Where the ":>" between a disc's name and its path lies in a library tree key ("Disc1:>/media/
// cd/Album/"); -1 when there is none, and for the key of a hard-disc path, which starts with "/"
// and may hold ":>" in a folder's name ("/music/Live :> Dead/").
qsizetype DiscSeparatorIn(const QString& key);

} // namespace tarl
