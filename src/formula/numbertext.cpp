#include "formula/numbertext.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zarno {

QString TNumberText::formatGeneral15(double value)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? QStringLiteral("0") : QString::number(value);
    // "%.14e" gives the 15 significant digits already rounded, with the
    // exponent adjusted for a carry (9.99...e14 becomes 1.0e15).
    char buf[64];
    const auto written
        = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14);
    *written.ptr = 0;
    const char *p = buf;
    QString sign;
    if (*p == '-') {
        sign = QStringLiteral("-");
        ++p;
    }
    QString digits;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            digits += QLatin1Char(*p);
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    if (exponent < -4 || exponent > 14) {
        QString mantissa = digits.left(1);
        if (digits.size() > 1)
            mantissa += QLatin1Char('.') + digits.mid(1);
        return sign + mantissa + QLatin1Char('E') + QString::number(exponent);
    }
    if (exponent < 0)
        return sign + QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    const int intDigits = exponent + 1;
    if (digits.size() <= intDigits)
        return sign + digits + QString(intDigits - digits.size(), QLatin1Char('0'));
    return sign + digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
}

QString TNumberText::formatPlain15(double value)
{
    const QString general = formatGeneral15(value);
    const qsizetype e = general.indexOf(QLatin1Char('E'));
    if (e < 0)
        return general;
    QString mantissa = general.left(e);
    const int exponent = general.mid(e + 1).toInt();
    QString sign;
    if (mantissa.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        mantissa.remove(0, 1);
    }
    const QString digits = QString(mantissa).remove(QLatin1Char('.'));
    if (exponent < 0)
        return sign + QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    const int intDigits = exponent + 1;
    if (digits.size() <= intDigits)
        return sign + digits + QString(intDigits - digits.size(), QLatin1Char('0'));
    return sign + digits.left(intDigits) + QLatin1Char('.') + digits.mid(intDigits);
}

bool TNumberText::isDecimalLiteral(const QString &text)
{
    int points = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('.'))
            ++points;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            return false;
    }
    return points <= 1 && digits > 0;
}

bool TNumberText::tryRead(const QString &text, double &value)
{
    // Only the characters of decimal numbers: a general reader would also
    // take blanks, "inf" and "nan". from_chars ignores the process locale,
    // so the point is the decimal separator everywhere.
    if (text.isEmpty())
        return false;
    QVarLengthArray<char, 64> bytes(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        const bool ok = (u >= '0' && u <= '9') || u == '.' || u == '-' || u == 'E' || u == 'e';
        if (!ok)
            return false;
        bytes[i] = char(u);
    }
    const char *end = bytes.constData() + bytes.size();
    double v = 0;
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

} // namespace zarno
