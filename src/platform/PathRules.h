#pragma once

#include <QString>

namespace tarl {

class Drives;

// The path rules every subsystem shares. Paths are native: "/" separates, a folder path ends in
// "/", and the drive of a path is its drive root ("/", "/media/ann/MUSIC_01/", ...) as Drives
// reports it.

// True for "/..." paths.
bool IsAbsolutePath(const QString& path);

// The drive root holding `path`, ending in "/"; "" for a relative or empty path.
QString DriveOf(const QString& path, const Drives& drives);

// True when `path` names a drive root itself (with or without its trailing "/").
bool IsDriveRoot(const QString& path, const Drives& drives);

// `path` ending in exactly one "/"; "" stays "".
QString WithTrailingSlash(const QString& path);

// `path` without trailing "/"s; "/" alone is the root and stays.
QString WithoutTrailingSlash(const QString& path);

} // namespace tarl
