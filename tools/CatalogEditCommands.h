#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// The library tree's edits, for scripts: each runs the catalog routine the window's menu or drag
// runs, and exits 1 with the reason on stderr when it cannot be done. The catalog file must
// exist.

// tarl-catalog style add|rename|delete CATALOG NAME [NEW]: adds the style NAME (refused when a
// style of that name is there, case aside), gives the style NAME the name NEW (refused when
// another style has it), or deletes the style NAME (its lists stay, with no style).
int RunStyle(const QStringList& arguments, QTextStream& out, QTextStream& err);

// tarl-catalog file-list CATALOG LIST-KEY STYLE: files the list whose key in the tree by styles
// is LIST-KEY (label ":>" folder and file, or the list's path) under the style STYLE.
int RunFileList(const QStringList& arguments, QTextStream& out, QTextStream& err);

// tarl-catalog delete-volume CATALOG KEY: deletes the volume whose node in the tree by paths
// has the key KEY, with its lists and their tracks (an empty hard-disc folder goes too).
int RunDeleteVolume(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
