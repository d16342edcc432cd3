#pragma once

#include "platform/canvas.h"

#include <QStringList>

namespace zarno::test {

// A canvas that keeps its state like a real one and logs every call, for
// tests of code that sets pens and brushes.
class RecordingCanvas : public TCanvas
{
public:
    QStringList log;
    bool geometric = false;

    void setPenColor(TColor c) override
    {
        fPenColor = c;
        log << QStringLiteral("penColor %1").arg(c, 6, 16, QLatin1Char('0'));
    }
    void setPenWidth(int w) override
    {
        fPenWidth = w;
        log << QStringLiteral("penWidth %1").arg(w);
    }
    void setPenStyle(TPenStyle s) override
    {
        fPenStyle = s;
        log << QStringLiteral("penStyle ") + TEnumConverter<TPenStyle>::name(s);
    }
    void setGeometricPen(TPenStyle s, int w, TColor c) override
    {
        geometric = true;
        log << QStringLiteral("geometricPen %1 %2 %3")
                   .arg(TEnumConverter<TPenStyle>::name(s))
                   .arg(w)
                   .arg(c, 6, 16, QLatin1Char('0'));
    }
    void releaseGeometricPen() override
    {
        geometric = false;
        log << QStringLiteral("releaseGeometricPen");
    }
    TColor penColor() const override { return fPenColor; }
    int penWidth() const override { return fPenWidth; }
    TPenStyle penStyle() const override { return fPenStyle; }
    void setBrushColor(TColor c) override
    {
        fBrushColor = c;
        log << QStringLiteral("brushColor %1").arg(c, 6, 16, QLatin1Char('0'));
    }
    void setBrushStyle(TBrushStyle s) override
    {
        fBrushStyle = s;
        log << QStringLiteral("brushStyle ") + TEnumConverter<TBrushStyle>::name(s);
    }
    TColor brushColor() const override { return fBrushColor; }
    TBrushStyle brushStyle() const override { return fBrushStyle; }
    void moveTo(int, int) override { }
    void lineTo(int, int) override { }
    void polyline(const QPoint *, int) override { }
    void polygon(const QPoint *, int) override { }
    void ellipse(int, int, int, int) override { }
    void arc(int, int, int, int, int, int, int, int) override { }
    void rectangle(int, int, int, int) override { }
    void fillRect(const QRect &) override { }
    void setCopyMode(TCopyMode m) override { fCopyMode = m; }
    TCopyMode copyMode() const override { return fCopyMode; }
    void drawBitmap(int, int, const TBitmap &) override { }
    void copyRect(const QRect &, const TBitmap &, const QRect &) override { }
    void setClipRects(const QVector<QRect> &) override { }
    void clearClip() override { }
    void setFont(const QString &, int, TColor) override { }
    void textOut(int, int, const QString &) override { }
    QSize textExtent(const QString &) override { return {}; }
    TTextMetric textMetric() override { return {}; }

private:
    TColor fPenColor = 0;
    int fPenWidth = 1;
    TPenStyle fPenStyle = TPenStyle::psSolid;
    TColor fBrushColor = 0xFFFFFF;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
    TCopyMode fCopyMode = TCopyMode::cmSrcCopy;
};

} // namespace zarno::test
