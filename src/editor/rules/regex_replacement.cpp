#include "editor/rules/regex_replacement.h"

CRegexReplacement::CRegexReplacement(const QString& text)
{
    QString literal;
    auto flushLiteral = [&] {
        if (literal.isEmpty())
            return;
        const QByteArray bytes = literal.toUtf8();
        if (!m_pieces.isEmpty() && m_pieces.last().group < 0)
            m_pieces.last().length += bytes.size();
        else
            m_pieces.append({-1, m_literals.size(), bytes.size()});
        m_literals += bytes;
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            literal += c;
            continue;
        }
        const QChar next = text[++i];
        if (next >= QLatin1Char('0') && next <= QLatin1Char('9')) {
            flushLiteral();
            const int group = next.unicode() - '0';
            m_pieces.append({group, 0, 0});
            m_highestGroup = qMax(m_highestGroup, group);
        } else if (next == QLatin1Char('n')) {
            literal += QLatin1Char('\n');
        } else if (next == QLatin1Char('r')) {
            literal += QLatin1Char('\r');
        } else if (next == QLatin1Char('t')) {
            literal += QLatin1Char('\t');
        } else if (next == QLatin1Char('\\')) {
            literal += QLatin1Char('\\');
        } else {
            literal += c;
            literal += next;
        }
    }
    flushLiteral();
}

QString CRegexReplacement::check(int captureCount) const
{
    if (m_highestGroup <= captureCount)
        return QString();
    return QStringLiteral("置換後の文字列の \\%1 に当たるグループ ( ) が正規表現にありません。")
        .arg(m_highestGroup);
}

void CRegexReplacement::appendTo(QByteArray& out, QByteArrayView bytes, const qint64* bounds) const
{
    for (const Piece& piece : m_pieces) {
        if (piece.group < 0) {
            out.append(m_literals.constData() + piece.offset, piece.length);
            continue;
        }
        const qint64 start = bounds[2 * piece.group];
        const qint64 end = bounds[2 * piece.group + 1];
        if (start >= 0 && end > start)
            out.append(bytes.data() + start, end - start);
    }
}
