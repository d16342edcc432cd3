#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>

namespace zarno {

// How many of the listed files matched.
enum class TMatchedFileState : int { None = 0, One = 1, Several = 2 };

struct TResult_GetOnlyOneMatchedFile
{
    TMatchedFileState state = TMatchedFileState::None;
    QString fileName; // set for One only
};

// String and number helpers shared by every subsystem. Positions are 1-based,
// as the program's messages count them.
struct TCommonProcs
{
    static bool str2bool(const QString &text);
    static int str2dint(const QString &text);
    static double str2double(const QString &text);
    static bool isIntegerString(const QString &text);
    // "(&S)" for a caption ending in it.
    static QString getAccelerator(const QString &caption);

    static QString leftStr(const QString &text, int n);
    static QString rightStr(const QString &text, int n);
    static QString midStr(const QString &text, int from);
    static QString repeatStr(const QString &text, int n);
    static int firstPosOfAny(const QString &chars, const QString &text);
    static int lastPos(const QString &sub, const QString &text);
    static int countOf(const QString &text, const QString &sub);
    static bool isAllSpaces(const QString &text);
    static int gcd(int a, int b);
    // Applies the replacements in order, each everywhere.
    static QString replaceInOrder(
        QString text, std::initializer_list<std::pair<const char *, const char *>> pairs);
    static bool pointInRect(const QRect &rect, int x, int y);
    // Among the listed paths that are files with exactly this extension (".znt").
    static TResult_GetOnlyOneMatchedFile oneMatchedFile(
        const QString &extension, const QStringList &fileList);
};

// Paths of the running program.
struct TSystemConst
{
    // The program file's path without its extension; the settings file adds ".zni".
    static QString settingsBasePath();
    static QString programDirectory();
};

// Every text file of the program is UTF-16 little endian with a byte-order mark.
struct TCharEncode
{
    static QString name() { return QStringLiteral("utf-16"); }
    static QByteArray byteOrderMark() { return QByteArray("\xFF\xFE", 2); }
};

} // namespace zarno
