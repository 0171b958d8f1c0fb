#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>

namespace tarl {

// Names in the order a reader of the user's language expects them: accented letters where that
// language puts them ("Émilie" beside "Emil" in English, "Ælfric" after "Z" in Norwegian),
// without regard to case, and numbers inside names by their value ("Track 2" before "Track 10").
// The "C" locale names no language: it gets the Unicode root order, which every language starts
// from, rather than the order of the characters' codes.
//
// Two different texts never compare equal: texts the language takes for the same name ("abba",
// "ABBA", "Track 02" and "Track 2") are put in the order of their characters' codes, so a
// listing comes out the same every time.
//
// One NameOrder is for one thread at a time.
class NameOrder {
public:
    // The order of the default locale (the user's, unless a program set another).
    NameOrder();
    explicit NameOrder(const QLocale& locale);

    // <0, 0 or >0 as `a` sorts before, with or after `b`; 0 only for the same text.
    int compare(const QString& a, const QString& b) const;
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }

    // A key that compares as the name does, ties aside (break them by the texts, as compare
    // does): cheaper than comparing the names when each is compared many times.
    QCollatorSortKey sortKey(const QString& name) const { return collator_.sortKey(name); }

private:
    QCollator collator_;
};

} // namespace tarl
