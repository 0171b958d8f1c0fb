#pragma once

#include <QString>
#include <optional>

namespace tarl {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };

// Everything that asks the person in front of the screen: message boxes, input boxes, the
// file-open dialog and the folder browser. All of them are modal.
class Ui {
public:
    virtual ~Ui() = default;

    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;

    // The typed text, or nothing when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;

    // A file name to open; the name may be new (a name typed that does not exist yet).
    // `filter` is written "description|pattern|description|pattern". "" when cancelled.
    virtual QString openFile(const QString& title, const QString& defaultExtension,
                             const QString& filter) = 0;

    // A folder, ending in "/"; "" when cancelled.
    virtual QString browseForFolder(const QString& title) = 0;
};

} // namespace tarl
