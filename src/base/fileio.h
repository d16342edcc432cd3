#pragma once

#include "core/enums.h"
#include "core/figurecatalog.h"
#include "core/valuetypes.h"
#include "platform/canvas.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace zarno {

// Byte offsets of one written value element: start tag, value, end tag.
struct TWrittenOffsets
{
    qint64 startTag = 0;
    qint64 value = 0;
    qint64 endTag = 0;
};

// The shape-level writer of a document. Each value operation writes one
// value element without a line end; newLine ends the line. The tagged text
// writer of the persistence layer implements it.
class TAbstractFileWriter
{
public:
    virtual ~TAbstractFileWriter() = default;
    virtual void openTag(const QString &name) = 0;
    virtual void closeTag(const QString &name) = 0;
    virtual void writeFiguretype(TFiguretype value) = 0;
    virtual void writeShapetype(TShapetype value) = 0;
    virtual void writeViewOnOff(TViewOnOff value) = 0;
    virtual void writeNumberMode(TNumberMode value) = 0;
    virtual void writePenBrushState(const QString &name, TPenBrushState state) = 0;
    virtual void writeColor(const QString &name, TColor color) = 0;
    virtual void writePenWidthIndex(int index) = 0;
    virtual void writePenStyle(const QString &name, TPenStyle style) = 0;
    virtual void writeBrushStyle(TBrushStyle style) = 0;
    virtual void writeViewType(TViewType value) = 0;
    virtual void writeGraphicFileScaletype(TGraphicFileScaletype value) = 0;
    virtual void writeGraphicFileFontScaletype(TGraphicFileFontScaletype value) = 0;
    virtual void writeDotCircle2settenDirection(TDotCircle2settenDirection value) = 0;
    virtual void writeBool(const QString &name, bool b) = 0;
    virtual void writeInteger(const QString &name, int i) = 0;
    virtual void writePoint(const QString &name, const QPoint &point) = 0;
    virtual void writeDouble(const QString &name, double d) = 0;
    virtual void writeModelPoint(const QString &name, const TModelPoint &point) = 0;
    virtual void writeScalePair(const QString &name, const TModelPoint &pair) = 0;
    virtual void writeMmOffset(const QString &name, const TModelPoint &vector) = 0;
    virtual void writeDirection(const QString &name, T_Direction direction) = 0;
    virtual void writeZahyouScaletype(const QString &name, TZahyouScaletype value) = 0;
    virtual void writeZahyouViewtype(const QString &name, TZahyouViewtype value) = 0;
    virtual void newLine() = 0;
    virtual TWrittenOffsets writeString(const QString &name, const QString &text) = 0;
};

// One element of a read document: its children are read by tag name, each
// at most once, and a shape checks at the end that it read all of them.
class TAbstractXmlNode
{
public:
    virtual ~TAbstractXmlNode() = default;
    virtual QString tagName() const = 0;
    virtual bool isValueElement() const = 0;
    // The first child with this name, marked read; nullptr when missing.
    virtual TAbstractXmlNode *getThisTagNodePermitNil(const QString &name) = 0;
    // The same; a missing child is an error.
    virtual TAbstractXmlNode &getThisTagNode(const QString &name) = 0;
    virtual QList<TAbstractXmlNode *> children() = 0;
    virtual QList<TAbstractXmlNode *> childrenNotRead() = 0;
    // The element's own value text.
    virtual QString valueText() const = 0;
    virtual QString readString(const QString &name) = 0;
    virtual bool readBool(const QString &name) = 0;
    virtual int readInteger(const QString &name) = 0;
    virtual double readDouble(const QString &name) = 0;
    virtual TColor readColor(const QString &name) = 0;
    virtual TModelPoint readModelPoint(const QString &name) = 0;
    virtual bool readBoolOr(const QString &name, bool defaultValue) = 0;
    virtual int readIntegerOr(const QString &name, int defaultValue) = 0;
    // Raises when a child was not read by the given class's operation.
    virtual void checkAllRead(const QString &className, const QString &operation) = 0;
    // Where the element starts in its file, as messages show it.
    virtual QString positionText() const = 0;
    // Raises the file-format error for this element: the text and its position.
    [[noreturn]] virtual void raiseFormatError(const QString &text) const = 0;

    template <typename E> E readEnum(const QString &name)
    {
        return TEnumConverter<E>::to_T(readString(name));
    }
    template <typename E> E readEnum() { return readEnum<E>(TEnumConverter<E>::tagName()); }
    template <typename E> E readEnumOr(const QString &name, E defaultValue)
    {
        TAbstractXmlNode *n = getThisTagNodePermitNil(name);
        return n ? TEnumConverter<E>::to_T(n->valueText()) : defaultValue;
    }
};

} // namespace zarno
