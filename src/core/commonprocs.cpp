#include "core/commonprocs.h"

#include "core/exceptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>
#include <limits>

namespace zarno {

namespace {

[[noreturn]] void conversionError(const QString &what, const QString &text, const QString &method)
{
    throw EMyException(QStringLiteral("TCommonProcs"), { fmtArg(what), fmtArg(text) },
        QStringLiteral("%sに変換できない文字列(%s)です。"), method);
}

bool parseInt(const QString &text, int &out)
{
    // Decimal digits with an optional sign; nothing else, not even blanks.
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return false;
    out = int(v);
    return true;
}

} // namespace

bool TCommonProcs::str2bool(const QString &text)
{
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    conversionError(QStringLiteral("論理値"), text, QStringLiteral("str2bool"));
}

int TCommonProcs::str2dint(const QString &text)
{
    int v = 0;
    if (!parseInt(text, v))
        conversionError(QStringLiteral("整数"), text, QStringLiteral("str2dint"));
    return v;
}

double TCommonProcs::str2double(const QString &text)
{
    // Decimal point and exponent form; infinities and NaN are not numbers a
    // user or a file can give.
    bool ok = false;
    const QString t = text.trimmed();
    double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || t.contains(QLatin1Char(',')))
        conversionError(QStringLiteral("実数"), text, QStringLiteral("str2double"));
    return v;
}

bool TCommonProcs::isIntegerString(const QString &text)
{
    int v = 0;
    return parseInt(text, v);
}

QString TCommonProcs::getAccelerator(const QString &caption)
{
    if (caption.size() >= 4) {
        const QString tail = caption.right(4);
        if (tail[0] == QLatin1Char('(') && tail[1] == QLatin1Char('&')
            && tail[3] == QLatin1Char(')'))
            return tail;
    }
    throw ESouteigai(QStringLiteral("TCommonProcs"), { fmtArg(caption) },
        QStringLiteral("キャプション(%s)はアクセラレータキーをもっていません。"),
        QStringLiteral("getAccelerator"));
}

QString TCommonProcs::leftStr(const QString &text, int n)
{
    return n <= 0 ? QString() : text.left(n);
}

QString TCommonProcs::rightStr(const QString &text, int n)
{
    return n <= 0 ? QString() : text.right(n);
}

QString TCommonProcs::midStr(const QString &text, int from)
{
    if (from < 1)
        from = 1;
    return text.mid(from - 1, 1000);
}

QString TCommonProcs::repeatStr(const QString &text, int n)
{
    return n <= 0 ? QString() : text.repeated(n);
}

int TCommonProcs::firstPosOfAny(const QString &chars, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (chars.contains(text[i]))
            return int(i + 1);
    return 0;
}

int TCommonProcs::lastPos(const QString &sub, const QString &text)
{
    if (sub.isEmpty())
        return 0;
    return int(text.lastIndexOf(sub) + 1);
}

int TCommonProcs::countOf(const QString &text, const QString &sub)
{
    if (sub.isEmpty())
        return 0;
    return int(text.left(1000).count(sub));
}

bool TCommonProcs::isAllSpaces(const QString &text)
{
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

int TCommonProcs::gcd(int a, int b)
{
    while (b != 0) {
        const int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

QString TCommonProcs::replaceInOrder(
    QString text, std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    for (const auto &[from, to] : pairs)
        text.replace(QString::fromUtf8(from), QString::fromUtf8(to));
    return text;
}

bool TCommonProcs::pointInRect(const QRect &rect, int x, int y)
{
    // The rectangle's corners are both inside: QRect(QPoint(l, t), QPoint(r, b)).
    return rect.left() <= x && x <= rect.right() && rect.top() <= y && y <= rect.bottom();
}

TResult_GetOnlyOneMatchedFile TCommonProcs::oneMatchedFile(
    const QString &extension, const QStringList &fileList)
{
    TResult_GetOnlyOneMatchedFile result;
    for (const QString &path : fileList) {
        const QFileInfo info(path);
        if (info.isDir())
            continue;
        const QString suffix = info.fileName().contains(QLatin1Char('.'))
            ? QLatin1Char('.') + info.suffix()
            : QString();
        if (suffix != extension)
            continue;
        if (result.state == TMatchedFileState::None) {
            result.state = TMatchedFileState::One;
            result.fileName = path;
        } else {
            result.state = TMatchedFileState::Several;
            result.fileName.clear();
        }
    }
    return result;
}

QString TSystemConst::settingsBasePath()
{
    const QFileInfo info(QCoreApplication::applicationFilePath());
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

QString TSystemConst::programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace zarno
