#pragma once

#include "core/exceptions.h"

#include <QString>
#include <array>
#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace zarno {

// Every enumeration whose identifiers are file and settings vocabulary gets an
// EnumTraits specialisation: its type name and its identifiers in order.
template <typename E> struct EnumTraits;

#define ZARNO_ENUM(Type, ...)                                                                      \
    enum class Type : int { __VA_ARGS__ };                                                         \
    template <> struct EnumTraits<Type>                                                            \
    {                                                                                              \
        static constexpr std::string_view typeName = #Type;                                        \
        static constexpr std::string_view joined = #__VA_ARGS__;                                   \
        static constexpr std::size_t count = ::zarno::detail::countIdentifiers(joined);            \
    };

namespace detail {
constexpr std::size_t countIdentifiers(std::string_view joined)
{
    std::size_t n = joined.empty() ? 0 : 1;
    for (char c : joined)
        if (c == ',')
            ++n;
    return n;
}
// The identifier at ordinal i of a comma-separated list (blanks trimmed).
std::string_view identifierAt(std::string_view joined, std::size_t i);
} // namespace detail

ZARNO_ENUM(TShapetype, SHAPE_zahyoujiku, SHAPE_printArea, SHAPE_dot, SHAPE_line, SHAPE_senbun,
    SHAPE_circle, SHAPE_ellipse, SHAPE_hyperbola, SHAPE_arrow, SHAPE_arrowLine, SHAPE_function,
    SHAPE_writing, SHAPE_paint, SHAPE_tracer)
ZARNO_ENUM(TViewType, vtInvisible, vtEditVisible, vtVisible)
ZARNO_ENUM(TViewOnOff, voOn, voOff)
ZARNO_ENUM(TPenBrushState, pbDisable, pbSelect)
ZARNO_ENUM(TBoundaryType, btAll, btOneSide, btBothSides, btAllVec)
ZARNO_ENUM(TNumberMode, nmRational, nmRationalPi, nmReal, nmDegree)
ZARNO_ENUM(TZahyouScaletype, zstDouble, zstDoublePi, zstDegree, zstInvisible)
ZARNO_ENUM(TZahyouViewtype, zvtBoth, zvtX, zvtY)
ZARNO_ENUM(T_Direction, dirN, dirNE, dirE, dirSE, dirS, dirSW, dirW, dirNW, dirCt)
ZARNO_ENUM(TGraphicFileScaletype, gstInBox, gstHAxe1)
ZARNO_ENUM(TGraphicFileFontScaletype, fstResize, fstSameAsDisplay)
ZARNO_ENUM(TFonttype, ftCmr, ftCmsy, ftCmmi, ftCmex, ftMincyo)
ZARNO_ENUM(TDotCircle2settenDirection, dcsPlus, dcsMinus)
ZARNO_ENUM(TVarXyId, vX, vY)
ZARNO_ENUM(TBaseTokenKind, btkAlphabet, btkNumber, btkOperator, btkSpace, btkKanji, btkCRorLF,
    btkTab, btkNonTabCrlfControl)
ZARNO_ENUM(TMyTokentype, mt_c_number, mt_c_leftParen, mt_c_rightParen, mt_c_comma, mt_c_const,
    mt_c_variable, mt_c_operator, mt_c_function, mt_c_powerFunction, mt_t_number, mt_t_leftGrouping,
    mt_t_rightGrouping, mt_t_leftParen, mt_t_rightParen, mt_t_command, mt_t_combiBinaryOperator,
    mt_t_function, mt_t_binaryOperator, mt_t_monoMinus, mt_t_other, mt_t_alphabet, mt_t_space,
    mt_v_paren, mt_invalid)
// The drawing platform's pen and brush styles, written to files by these names.
ZARNO_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear)
ZARNO_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
    bsCross, bsDiagCross)

template <typename E> constexpr std::size_t enumCount()
{
    return EnumTraits<E>::count;
}

template <typename E> constexpr int ord(E e)
{
    return static_cast<int>(e);
}

// Converts enumeration values to and from their identifiers.
template <typename E> class TEnumConverter
{
public:
    static QString typeName() { return QString::fromLatin1(EnumTraits<E>::typeName); }

    // The tag under which a value is stored: the type name without its leading
    // T, first letter lower-cased (TViewOnOff gives viewOnOff).
    static QString tagName()
    {
        QString t = typeName().mid(1);
        if (!t.isEmpty())
            t[0] = t[0].toLower();
        return t;
    }

    static QString name(E value)
    {
        const auto i = static_cast<std::size_t>(value);
        if (i >= EnumTraits<E>::count)
            throw ESouteigai(QStringLiteral("TEnumConverter<%1>").arg(typeName()),
                QStringLiteral("範囲外の値です。"), QStringLiteral("name"));
        return QString::fromLatin1(detail::identifierAt(EnumTraits<E>::joined, i));
    }

    static bool tryParse(const QString &text, E &out)
    {
        for (std::size_t i = 0; i < EnumTraits<E>::count; ++i) {
            if (text == QLatin1StringView(detail::identifierAt(EnumTraits<E>::joined, i))) {
                out = static_cast<E>(i);
                return true;
            }
        }
        return false;
    }

    static E to_T(const QString &text)
    {
        E value {};
        if (!tryParse(text, value))
            throw ESouteigai(QStringLiteral("TEnumConverter<%1>").arg(typeName()),
                { fmtArg("T"), fmtArg(text) }, QStringLiteral("列挙型(%s)には, %s はありません。"),
                QStringLiteral("to_T<T>"));
        return value;
    }
};

// A set of enumeration values, one bit per ordinal.
template <typename E, std::size_t N = EnumTraits<E>::count> class EnumSet
{
public:
    constexpr EnumSet() = default;
    EnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            insert(v);
    }
    void insert(E v) { fBits.set(static_cast<std::size_t>(v)); }
    void erase(E v) { fBits.reset(static_cast<std::size_t>(v)); }
    bool contains(E v) const { return fBits.test(static_cast<std::size_t>(v)); }
    bool empty() const { return fBits.none(); }
    std::size_t size() const { return fBits.count(); }
    EnumSet operator|(const EnumSet &o) const
    {
        EnumSet r;
        r.fBits = fBits | o.fBits;
        return r;
    }
    EnumSet operator&(const EnumSet &o) const
    {
        EnumSet r;
        r.fBits = fBits & o.fBits;
        return r;
    }
    bool operator==(const EnumSet &o) const { return fBits == o.fBits; }
    template <typename F> void forEach(F f) const
    {
        for (std::size_t i = 0; i < N; ++i)
            if (fBits.test(i))
                f(static_cast<E>(i));
    }

private:
    std::bitset<N> fBits;
};

// TConverter: names used in files for shape types and enumeration values.
struct TConverter
{
    // SHAPE_arrowLine gives arrowLine.
    static QString shapetypeString(TShapetype t);
    template <typename E> static QString enumName(E value)
    {
        return TEnumConverter<E>::name(value);
    }
};

} // namespace zarno
