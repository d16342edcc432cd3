#pragma once

#include <QString>
#include <variant>
#include <vector>

namespace zarno {

// One argument of a formatted message. Integers fit %d, %u and %x; reals fit
// %f, %g, %e, %n and %m; texts fit %s. Any other pairing is a type mismatch.
using FormatArg = std::variant<qint64, double, QString>;
using FormatArgs = std::vector<FormatArg>;

inline FormatArg fmtArg(int v)
{
    return FormatArg(qint64(v));
}
inline FormatArg fmtArg(qint64 v)
{
    return FormatArg(v);
}
inline FormatArg fmtArg(double v)
{
    return FormatArg(v);
}
inline FormatArg fmtArg(const QString &v)
{
    return FormatArg(v);
}
inline FormatArg fmtArg(const char *v)
{
    return FormatArg(QString::fromUtf8(v));
}

// Builds a message from a format and its arguments without ever throwing:
// a "\%" is a literal percent sign, and a mismatch between placeholders and
// arguments (count or type) shows up in the returned text instead.
QString safeFormat(const QString &format, const FormatArgs &args);

} // namespace zarno
