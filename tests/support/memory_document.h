#pragma once

#include "base/fileio.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace zarno::test {

// An element tree kept in memory: what a shape writes can be read back by
// the same shape, and the written lines can be compared as text.
class MemoryNode : public TAbstractXmlNode
{
public:
    explicit MemoryNode(QString name, QString value = QString(), bool isValue = false)
        : fName(std::move(name))
        , fValue(std::move(value))
        , fIsValue(isValue)
    { }

    MemoryNode *addChild(
        const QString &name, const QString &value = QString(), bool isValue = false);
    MemoryNode *findChild(const QString &name);

    QString tagName() const override { return fName; }
    bool isValueElement() const override { return fIsValue; }
    TAbstractXmlNode *getThisTagNodePermitNil(const QString &name) override;
    TAbstractXmlNode &getThisTagNode(const QString &name) override;
    QList<TAbstractXmlNode *> children() override;
    QList<TAbstractXmlNode *> childrenNotRead() override;
    QString valueText() const override { return fIsValue ? fValue : QStringLiteral("(no value)"); }
    QString readString(const QString &name) override;
    bool readBool(const QString &name) override;
    int readInteger(const QString &name) override;
    double readDouble(const QString &name) override;
    TColor readColor(const QString &name) override;
    TModelPoint readModelPoint(const QString &name) override;
    bool readBoolOr(const QString &name, bool defaultValue) override;
    int readIntegerOr(const QString &name, int defaultValue) override;
    void checkAllRead(const QString &className, const QString &operation) override;
    QString positionText() const override
    {
        return QStringLiteral("<") + fName + QStringLiteral(">");
    }
    [[noreturn]] void raiseFormatError(const QString &text) const override;

    void setValue(const QString &v) { fValue = v; }

private:
    [[noreturn]] void formatError(const QString &text) const;

    QString fName;
    QString fValue;
    bool fIsValue;
    bool fRead = false;
    std::vector<std::unique_ptr<MemoryNode>> fChildren;
};

class MemoryWriter : public TAbstractFileWriter
{
public:
    MemoryWriter();

    MemoryNode &root() { return *fRoot; }
    // The written lines, indented with one tab per depth.
    QStringList lines() const;

    void openTag(const QString &name) override;
    void closeTag(const QString &name) override;
    void writeFiguretype(TFiguretype v) override
    {
        value(TEnumConverter<TFiguretype>::tagName(), TEnumConverter<TFiguretype>::name(v));
    }
    void writeShapetype(TShapetype v) override
    {
        value(TEnumConverter<TShapetype>::tagName(), TEnumConverter<TShapetype>::name(v));
    }
    void writeViewOnOff(TViewOnOff v) override
    {
        value(TEnumConverter<TViewOnOff>::tagName(), TEnumConverter<TViewOnOff>::name(v));
    }
    void writeNumberMode(TNumberMode v) override
    {
        value(TEnumConverter<TNumberMode>::tagName(), TEnumConverter<TNumberMode>::name(v));
    }
    void writePenBrushState(const QString &n, TPenBrushState s) override
    {
        value(n, TEnumConverter<TPenBrushState>::name(s));
    }
    void writeColor(const QString &n, TColor c) override;
    void writePenWidthIndex(int i) override { writeInteger(QStringLiteral("penWidthIndex"), i); }
    void writePenStyle(const QString &n, TPenStyle s) override
    {
        value(n, TEnumConverter<TPenStyle>::name(s));
    }
    void writeBrushStyle(TBrushStyle s) override
    {
        value(TEnumConverter<TBrushStyle>::tagName(), TEnumConverter<TBrushStyle>::name(s));
    }
    void writeViewType(TViewType v) override
    {
        value(TEnumConverter<TViewType>::tagName(), TEnumConverter<TViewType>::name(v));
    }
    void writeGraphicFileScaletype(TGraphicFileScaletype v) override
    {
        value(TEnumConverter<TGraphicFileScaletype>::tagName(),
            TEnumConverter<TGraphicFileScaletype>::name(v));
    }
    void writeGraphicFileFontScaletype(TGraphicFileFontScaletype v) override
    {
        value(TEnumConverter<TGraphicFileFontScaletype>::tagName(),
            TEnumConverter<TGraphicFileFontScaletype>::name(v));
    }
    void writeDotCircle2settenDirection(TDotCircle2settenDirection v) override
    {
        value(TEnumConverter<TDotCircle2settenDirection>::tagName(),
            TEnumConverter<TDotCircle2settenDirection>::name(v));
    }
    void writeBool(const QString &n, bool b) override
    {
        value(n, b ? QStringLiteral("true") : QStringLiteral("false"));
    }
    void writeInteger(const QString &n, int i) override { value(n, QString::number(i)); }
    void writePoint(const QString &n, const QPoint &p) override
    {
        value(n, QStringLiteral("%1,%2").arg(p.x()).arg(p.y()));
    }
    void writeDouble(const QString &n, double d) override { value(n, QString::number(d, 'g', 15)); }
    void writeModelPoint(const QString &n, const TModelPoint &p) override { pair(n, p); }
    void writeScalePair(const QString &n, const TModelPoint &p) override { pair(n, p); }
    void writeMmOffset(const QString &n, const TModelPoint &p) override { pair(n, p); }
    void writeDirection(const QString &n, T_Direction d) override
    {
        value(n, TEnumConverter<T_Direction>::name(d));
    }
    void writeZahyouScaletype(const QString &n, TZahyouScaletype v) override
    {
        value(n, TEnumConverter<TZahyouScaletype>::name(v));
    }
    void writeZahyouViewtype(const QString &n, TZahyouViewtype v) override
    {
        value(n, TEnumConverter<TZahyouViewtype>::name(v));
    }
    void newLine() override;
    TWrittenOffsets writeString(const QString &n, const QString &text) override
    {
        value(n, text);
        return {};
    }

private:
    void value(const QString &name, const QString &text);
    void pair(const QString &name, const TModelPoint &p);

    std::unique_ptr<MemoryNode> fRoot;
    std::vector<MemoryNode *> fStack;
    QStringList fLines;
    QString fCurrentLine;
};

} // namespace zarno::test
