#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The replacement text of a regular-expression replace. \0 stands for the
// whole match and \1 to \9 for its groups; \n, \r, \t and \\ for a line
// feed, a carriage return, a tab and a backslash. Any other backslash stands
// for itself, as does every other character. The text is taken apart once;
// each match then only joins pieces.
class CRegexReplacement
{
public:
    explicit CRegexReplacement(const QString& text = QString());

    // The message when the text names a group beyond the pattern's
    // captureCount, in Japanese; empty when every group exists.
    QString check(int captureCount) const;
    // The highest group named (-1 when none is, 0 for the whole match only).
    int highestGroup() const { return m_highestGroup; }

    // Appends the replacement to out. bounds holds the byte range [start,
    // end) of group 0 (the match) to highestGroup() in bytes, in pairs; a
    // group that took no part in the match has start -1 and adds nothing.
    void appendTo(QByteArray& out, QByteArrayView bytes, const qint64* bounds) const;

private:
    struct Piece
    {
        int group; // -1: the literal m_literals[offset, offset + length)
        qsizetype offset;
        qsizetype length;
    };
    QList<Piece> m_pieces;
    QByteArray m_literals; // UTF-8
    int m_highestGroup = -1;
};
