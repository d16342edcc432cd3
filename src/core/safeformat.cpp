#include "core/safeformat.h"

#include <optional>

namespace zarno {

namespace {

const QString kUnexpected = QStringLiteral("想定外エラー");

struct FormatMismatch
{
};

constexpr int kMaxWidth = 1000;

QString pad(QString text, int width, bool leftAlign)
{
    if (width > text.size())
        text = leftAlign ? text.leftJustified(width) : text.rightJustified(width);
    return text;
}

// A subset of the classic Pascal-style Format: %[index:][-][width][.prec]type.
// Throws FormatMismatch where that Format would raise a conversion error.
QString formatStrict(const QString &format, const FormatArgs &args)
{
    QString out;
    qsizetype next = 0;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        ++i;
        if (i >= n)
            throw FormatMismatch {};
        if (format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        auto readNumber = [&]() -> std::optional<int> {
            if (i < n && format[i] == QLatin1Char('*')) {
                ++i;
                if (next >= qsizetype(args.size()) || !std::holds_alternative<qint64>(args[next]))
                    throw FormatMismatch {};
                const qint64 v = std::get<qint64>(args[next++]);
                if (v < 0 || v > kMaxWidth)
                    throw FormatMismatch {};
                return int(v);
            }
            qsizetype start = i;
            while (i < n && format[i].isDigit())
                ++i;
            if (i == start)
                return std::nullopt;
            bool ok = false;
            int v = format.mid(start, i - start).toInt(&ok);
            // Widths come from message texts, some built from user input: a
            // huge one would allocate without bound.
            if (!ok || v > kMaxWidth)
                throw FormatMismatch {};
            return v;
        };
        std::optional<int> first = readNumber();
        if (first && i < n && format[i] == QLatin1Char(':')) {
            next = *first;
            ++i;
            first.reset();
        }
        bool leftAlign = false;
        if (!first && i < n && format[i] == QLatin1Char('-')) {
            leftAlign = true;
            ++i;
        }
        std::optional<int> width = first ? first : readNumber();
        std::optional<int> precision;
        if (i < n && format[i] == QLatin1Char('.')) {
            ++i;
            precision = readNumber();
            if (!precision)
                precision = 0;
        }
        if (i >= n || next >= qsizetype(args.size()))
            throw FormatMismatch {};
        const QChar type = format[i].toLower();
        const FormatArg &arg = args[next++];
        QString piece;
        switch (type.unicode()) {
        case 'd':
        case 'u': {
            if (!std::holds_alternative<qint64>(arg))
                throw FormatMismatch {};
            qint64 v = std::get<qint64>(arg);
            piece = QString::number(v);
            if (precision && piece.size() < *precision)
                piece = piece.rightJustified(*precision, QLatin1Char('0'));
            break;
        }
        case 'x': {
            if (!std::holds_alternative<qint64>(arg))
                throw FormatMismatch {};
            piece = QString::number(quint64(std::get<qint64>(arg)), 16).toUpper();
            if (precision && piece.size() < *precision)
                piece = piece.rightJustified(*precision, QLatin1Char('0'));
            break;
        }
        case 's': {
            if (!std::holds_alternative<QString>(arg))
                throw FormatMismatch {};
            piece = std::get<QString>(arg);
            if (precision)
                piece = piece.left(*precision);
            break;
        }
        case 'f':
        case 'n':
        case 'm':
        case 'e':
        case 'g': {
            if (!std::holds_alternative<double>(arg))
                throw FormatMismatch {};
            const double v = std::get<double>(arg);
            if (type == QLatin1Char('g'))
                piece = QString::number(v, 'g', precision.value_or(15));
            else if (type == QLatin1Char('e'))
                piece = QString::number(
                    v, 'E', precision.value_or(15) - 1 > 0 ? precision.value_or(15) - 1 : 0);
            else
                piece = QString::number(v, 'f', precision.value_or(2));
            break;
        }
        default: throw FormatMismatch {};
        }
        out += pad(piece, width.value_or(0), leftAlign);
    }
    return out;
}

} // namespace

QString safeFormat(const QString &format, const FormatArgs &args)
{
    int k = 1;
    QString token;
    for (;; ++k) {
        token = QStringLiteral("##") + QString::number(k);
        if (!format.contains(token))
            break;
    }
    QString escaped = format;
    escaped.replace(QStringLiteral("\\%"), token);
    const qsizetype percents = escaped.count(QLatin1Char('%'));
    const qsizetype nArgs = qsizetype(args.size());
    if (percents != nArgs) {
        return kUnexpected + QStringLiteral("\r\n  \"") + escaped + QStringLiteral("\"\r\n")
            + QStringLiteral("のフォーマット文字列のパラメータの個数が一致しません。")
            + QStringLiteral("(nArgs=") + QString::number(nArgs) + QStringLiteral(", nMsgPercent=")
            + QString::number(percents) + QLatin1Char(')');
    }
    try {
        QString result = formatStrict(escaped, args);
        result.replace(token, QStringLiteral("%"));
        return result;
    } catch (const FormatMismatch &) {
        return kUnexpected + QStringLiteral("\r\n  \"") + format + QStringLiteral("\"\r\n")
            + QStringLiteral("のフォーマット文字列のパラメータのタイプが一致しません。");
    }
}

} // namespace zarno
