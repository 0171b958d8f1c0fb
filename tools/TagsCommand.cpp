#include "TagsCommand.h"

#include "Command.h"
#include "tags/FormatFileSize.h"
#include "tags/ReadTrackTags.h"

namespace tarl::tool {

QString JsonString(const QString& text) {
    QString json;
    json.reserve(text.size() + 2);
    json += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            json += u'\\';
            json += c;
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            json += QStringLiteral("\\u%1").arg(int(u), 4, 16, QChar(u'0'));
        } else {
            json += c;
        }
    }
    json += u'"';
    return json;
}

int RunTags(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty()) {
        err << "Usage: tarl-catalog tags FILE...\n";
        return kBadUsage;
    }
    int code = kSuccess;
    for (const QString& path : arguments) {
        const Result<TagFields> read = ReadTrackTags(path);
        if (!read) {
            err << "tarl-catalog tags: cannot read " << path << ": " << read.error << "\n";
            code = kFailure;
            continue;
        }
        const TagFields& fields = read.value;
        const std::pair<const char*, QString> texts[] = {
            {"path", path},          {"title", fields.title}, {"artist", fields.artist},
            {"album", fields.album}, {"year", fields.year},   {"comments", fields.comments},
            {"genre", fields.genre},
        };
        out << '{';
        for (const auto& [key, value] : texts)
            out << '"' << key << "\":" << JsonString(value) << ',';
        out << "\"fileLength\":" << fields.fileLength
            << ",\"size\":" << JsonString(FormatFileSize(fields.fileLength))
            << ",\"seconds\":" << fields.seconds << "}\n";
        // Line by line, so a long run shows progress and a crash keeps what was printed.
        out.flush();
    }
    return code;
}

} // namespace tarl::tool
