#pragma once

#include "base/fileio.h"
#include "persist/xmlwriter.h"

namespace zarno {

// The shape-level writer of a document: values by their file vocabulary,
// through a tagged text writer.
class TFileWriter : public TAbstractFileWriter
{
public:
    explicit TFileWriter(const QString &fileName)
        : fXml(fileName)
    { }

    TXmlFileWriter &xml() { return fXml; }

    void openTag(const QString &name) override { fXml.openTag(name); }
    void closeTag(const QString &name) override { fXml.closeTag(name); }
    void writeFiguretype(TFiguretype v) override { writeEnum(v); }
    void writeShapetype(TShapetype v) override { writeEnum(v); }
    void writeViewOnOff(TViewOnOff v) override { writeEnum(v); }
    void writeNumberMode(TNumberMode v) override { writeEnum(v); }
    void writePenBrushState(const QString &name, TPenBrushState s) override { writeEnum(name, s); }
    void writeColor(const QString &name, TColor color) override;
    void writePenWidthIndex(int index) override
    {
        fXml.writeInteger(QStringLiteral("penWidthIndex"), index);
    }
    void writePenStyle(const QString &name, TPenStyle s) override { writeEnum(name, s); }
    void writeBrushStyle(TBrushStyle s) override { writeEnum(s); }
    void writeViewType(TViewType v) override { writeEnum(v); }
    void writeGraphicFileScaletype(TGraphicFileScaletype v) override { writeEnum(v); }
    void writeGraphicFileFontScaletype(TGraphicFileFontScaletype v) override { writeEnum(v); }
    void writeDotCircle2settenDirection(TDotCircle2settenDirection v) override { writeEnum(v); }
    void writeBool(const QString &name, bool b) override { fXml.writeBool(name, b); }
    void writeInteger(const QString &name, int i) override { fXml.writeInteger(name, i); }
    void writePoint(const QString &name, const QPoint &p) override;
    void writeDouble(const QString &name, double d) override { fXml.writeDouble(name, d); }
    void writeModelPoint(const QString &name, const TModelPoint &p) override { writePair(name, p); }
    void writeScalePair(const QString &name, const TModelPoint &p) override { writePair(name, p); }
    void writeMmOffset(const QString &name, const TModelPoint &v) override { writePair(name, v); }
    void writeDirection(const QString &name, T_Direction d) override { writeEnum(name, d); }
    void writeZahyouScaletype(const QString &name, TZahyouScaletype v) override
    {
        writeEnum(name, v);
    }
    void writeZahyouViewtype(const QString &name, TZahyouViewtype v) override
    {
        writeEnum(name, v);
    }
    void newLine() override { fXml.newLine(); }
    TWrittenOffsets writeString(const QString &name, const QString &text) override
    {
        return fXml.writeString(name, text);
    }

private:
    template <typename E> void writeEnum(E v) { writeEnum(TEnumConverter<E>::tagName(), v); }
    template <typename E> void writeEnum(const QString &name, E v)
    {
        fXml.writeString(name, TEnumConverter<E>::name(v));
    }
    void writePair(const QString &name, const TModelPoint &p);

    TXmlFileWriter fXml;
};

} // namespace zarno
