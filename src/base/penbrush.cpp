#include "base/penbrush.h"

#include "base/fileio.h"
#include "core/exceptions.h"

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TPenBrush");

// Rows: screen, screen wide, output, output wide, selected, selected wide.
constexpr int kWidths[6][4] = {
    { 1, 2, 3, 4 },
    { 2, 3, 4, 5 },
    { 2, 5, 8, 12 },
    { 5, 8, 10, 12 },
    { 3, 4, 5, 6 },
    { 4, 5, 6, 7 },
};

bool isStyledLine(TPenStyle s)
{
    return s == TPenStyle::psDash || s == TPenStyle::psDot || s == TPenStyle::psDashDot
        || s == TPenStyle::psDashDotDot;
}

// State tags in the order they are written, with their attribute.
struct StateTag
{
    const char *tag;
    TPenBrush::Attribute attribute;
};
constexpr StateTag kStateTags[] = {
    { "penColor", TPenBrush::aPenColor },
    { "penWidth", TPenBrush::aPenWidth },
    { "penStyle", TPenBrush::aPenStyle },
    { "outerPenStyle", TPenBrush::aOuterPenStyle },
    { "brushColor", TPenBrush::aBrushColor },
    { "brushStyle", TPenBrush::aBrushStyle },
    { "viewType", TPenBrush::aViewType },
};

} // namespace

void TPenBrush::setPenWidthIndex(int i)
{
    if (i < 0 || i > 3)
        throw ESouteigai(kClass, { fmtArg(i) }, QStringLiteral("線の太さ(%d)は0..3です。"),
            QStringLiteral("setPenWidthIndex"));
    fPenWidthIndex = i;
}

void TPenBrush::setState(int i, TPenBrushState s)
{
    if (i < 0 || i >= kAttributeCount)
        throw ESouteigai(kClass, { fmtArg(i) }, QStringLiteral("状態の番号(%d)が範囲外です。"),
            QStringLiteral("setState"));
    fStates[std::size_t(i)] = s;
}

TPenBrushState TPenBrush::state(int i) const
{
    if (i < 0 || i >= kAttributeCount)
        throw ESouteigai(kClass, { fmtArg(i) }, QStringLiteral("状態の番号(%d)が範囲外です。"),
            QStringLiteral("state"));
    return fStates[std::size_t(i)];
}

int TPenBrush::penLineWidth(int index, bool forOutput, bool wide, bool selectedLook)
{
    if (selectedLook && forOutput)
        throw ESouteigai(kClass, QStringLiteral("graphicファイル出力時は \"選択\" できません。"),
            QStringLiteral("penLineWidth"));
    if (index < 0 || index > 3)
        index = index < 0 ? 0 : 3;
    const int row = (selectedLook ? 4 : forOutput ? 2 : 0) + (wide ? 1 : 0);
    return kWidths[row][index];
}

TColor TPenBrush::selectionColor(TColor c)
{
    return colorRed(c) > 127 ? kColorBlack : kColorRed;
}

void TPenBrush::apply(bool forOutput, TCanvas &canvas, bool wide)
{
    if (selected(aPenColor))
        canvas.setPenColor(fPenColor);
    if (selected(aPenWidth))
        canvas.setPenWidth(penLineWidth(fPenWidthIndex, forOutput, wide, fSelectedLook));
    if (selected(aPenStyle))
        canvas.setPenStyle(fUseOuterStyle ? fOuterPenStyle : fPenStyle);
    if (selected(aBrushColor))
        canvas.setBrushColor(fBrushColor);
    if (selected(aBrushStyle))
        canvas.setBrushStyle(fBrushStyle);
    releasePen(canvas);
    const int width = canvas.penWidth();
    const TPenStyle style = canvas.penStyle();
    if (width > 1 && isStyledLine(style)) {
        canvas.setGeometricPen(style, width, canvas.penColor());
        fPenCreated = true;
    }
}

void TPenBrush::applyToCanvas(bool forOutput, TCanvas &canvas)
{
    apply(forOutput, canvas, false);
}

void TPenBrush::applyToCanvasWide(bool forOutput, TCanvas &canvas)
{
    apply(forOutput, canvas, true);
}

void TPenBrush::releasePen(TCanvas &canvas)
{
    if (fPenCreated) {
        canvas.releaseGeometricPen();
        fPenCreated = false;
    }
}

TPenBrush::Flags TPenBrush::compare(const TPenBrush &other) const
{
    Flags f {};
    f[aPenColor] = selected(aPenColor) && fPenColor != other.fPenColor;
    f[aPenWidth] = selected(aPenWidth) && fPenWidthIndex != other.fPenWidthIndex;
    f[aPenStyle] = selected(aPenStyle) && fPenStyle != other.fPenStyle;
    f[aBrushColor] = selected(aBrushColor) && fBrushColor != other.fBrushColor;
    f[aBrushStyle] = selected(aBrushStyle) && fBrushStyle != other.fBrushStyle;
    f[aOuterPenStyle] = selected(aOuterPenStyle) && fOuterPenStyle != other.fOuterPenStyle;
    f[aViewType] = selected(aViewType) && fViewType != other.fViewType;
    return f;
}

void TPenBrush::copyFrom(const TPenBrush &other)
{
    fUseOuterStyle = other.fUseOuterStyle;
    fSelectedLook = other.fSelectedLook;
    fStates = other.fStates;
    fPenColor = other.fPenColor;
    fPenWidthIndex = other.fPenWidthIndex;
    fPenStyle = other.fPenStyle;
    fBrushColor = other.fBrushColor;
    fBrushStyle = other.fBrushStyle;
    fOuterPenStyle = other.fOuterPenStyle;
    fViewType = other.fViewType;
}

void TPenBrush::copyApplicable(const TPenBrush &source)
{
    auto both = [&](Attribute a) { return selected(a) && source.selected(a); };
    if (both(aPenColor))
        fPenColor = source.fPenColor;
    if (both(aPenWidth))
        fPenWidthIndex = source.fPenWidthIndex;
    if (both(aPenStyle))
        fPenStyle = source.fPenStyle;
    if (both(aBrushColor))
        fBrushColor = source.fBrushColor;
    if (both(aBrushStyle))
        fBrushStyle = source.fBrushStyle;
    if (both(aOuterPenStyle))
        fOuterPenStyle = source.fOuterPenStyle;
    if (both(aViewType))
        fViewType = source.fViewType;
}

std::unique_ptr<TPenBrush> TPenBrush::clone() const
{
    auto pb = std::make_unique<TPenBrush>();
    pb->copyFrom(*this);
    pb->fOwner = fOwner;
    return pb;
}

std::unique_ptr<TPenBrush> TPenBrush::selectionPenBrush() const
{
    auto pb = clone();
    pb->fPenColor = selectionColor(fPenColor);
    pb->fBrushColor = selectionColor(fBrushColor);
    pb->fSelectedLook = true;
    return pb;
}

bool TPenBrush::isPenVisible() const
{
    return (fUseOuterStyle ? fOuterPenStyle : fPenStyle) != TPenStyle::psClear;
}

void TPenBrush::saveToFile(TAbstractFileWriter &w, const QString &tag) const
{
    w.openTag(tag);
    w.openTag(QStringLiteral("state"));
    w.writePenBrushState(QStringLiteral("penColor"), fStates[aPenColor]);
    w.writePenBrushState(QStringLiteral("penWidth"), fStates[aPenWidth]);
    w.writePenBrushState(QStringLiteral("penStyle"), fStates[aPenStyle]);
    w.newLine();
    w.writePenBrushState(QStringLiteral("outerPenStyle"), fStates[aOuterPenStyle]);
    w.newLine();
    w.writePenBrushState(QStringLiteral("brushColor"), fStates[aBrushColor]);
    w.writePenBrushState(QStringLiteral("brushStyle"), fStates[aBrushStyle]);
    w.newLine();
    w.writePenBrushState(QStringLiteral("viewType"), fStates[aViewType]);
    w.newLine();
    w.closeTag(QStringLiteral("state"));
    w.writeColor(QStringLiteral("penColor"), fPenColor);
    w.writePenWidthIndex(fPenWidthIndex);
    w.writePenStyle(QStringLiteral("penStyle"), fPenStyle);
    w.newLine();
    w.writePenStyle(QStringLiteral("outerPenStyle"), fOuterPenStyle);
    w.newLine();
    w.writeColor(QStringLiteral("brushColor"), fBrushColor);
    w.writeBrushStyle(fBrushStyle);
    w.newLine();
    w.writeViewType(fViewType);
    w.newLine();
    w.closeTag(tag);
}

void TPenBrush::loadFromFile(TAbstractXmlNode &node)
{
    fPenColor = node.readColor(QStringLiteral("penColor"));
    const int width = node.readInteger(QStringLiteral("penWidthIndex"));
    if (width < 0 || width > 3)
        node.raiseFormatError(
            QStringLiteral("penWidthIndex(%1)は0..3の整数でなければなりません。").arg(width));
    fPenWidthIndex = width;
    fPenStyle = node.readEnum<TPenStyle>(QStringLiteral("penStyle"));
    fOuterPenStyle = node.readEnum<TPenStyle>(QStringLiteral("outerPenStyle"));
    fBrushColor = node.readColor(QStringLiteral("brushColor"));
    fBrushStyle = node.readEnum<TBrushStyle>(QStringLiteral("brushStyle"));
    fViewType = node.readEnum<TViewType>(QStringLiteral("viewType"));

    // The state group: each element names one attribute; an unknown name
    // means the file is not one of ours.
    TAbstractXmlNode &group = node.getThisTagNode(QStringLiteral("state"));
    for (TAbstractXmlNode *child : group.children()) {
        bool known = false;
        for (const StateTag &t : kStateTags) {
            if (child->tagName() == QLatin1String(t.tag)) {
                fStates[t.attribute]
                    = TEnumConverter<TPenBrushState>::to_T(group.readString(child->tagName()));
                known = true;
                break;
            }
        }
        if (!known)
            throw EFileFormatError(safeFormat(QStringLiteral("タグ名(%s:%s)は認識できません。"),
                { fmtArg(child->tagName()), fmtArg(child->positionText()) }));
    }
}

QString TPenBrush::penWidthName(int index)
{
    static const char *names[] = { "極細線", "細線", "太線", "極太線" };
    return index >= 0 && index <= 3 ? QString::fromUtf8(names[index]) : QString();
}

QString TPenBrush::penStyleName(TPenStyle s)
{
    switch (s) {
    case TPenStyle::psSolid: return QStringLiteral("実線");
    case TPenStyle::psDash: return QStringLiteral("破線");
    case TPenStyle::psDot: return QStringLiteral("点線");
    case TPenStyle::psDashDot: return QStringLiteral("一点鎖線");
    case TPenStyle::psDashDotDot: return QStringLiteral("二点鎖線");
    case TPenStyle::psClear: return QStringLiteral("透明");
    }
    return {};
}

QString TPenBrush::brushStyleName(TBrushStyle s)
{
    switch (s) {
    case TBrushStyle::bsClear: return QStringLiteral("なし");
    case TBrushStyle::bsSolid: return QStringLiteral("塗潰し");
    case TBrushStyle::bsHorizontal: return QStringLiteral("横線");
    case TBrushStyle::bsVertical: return QStringLiteral("縦線");
    case TBrushStyle::bsFDiagonal: return QStringLiteral("左斜線");
    case TBrushStyle::bsBDiagonal: return QStringLiteral("右斜線");
    case TBrushStyle::bsCross: return QStringLiteral("格子");
    case TBrushStyle::bsDiagCross: return QStringLiteral("斜格子");
    }
    return {};
}

QString TPenBrush::viewTypeName(TViewType v)
{
    switch (v) {
    case TViewType::vtEditVisible: return QStringLiteral("編集時表示");
    case TViewType::vtVisible: return QStringLiteral("表示");
    case TViewType::vtInvisible: return QString();
    }
    return {};
}

} // namespace zarno
