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
    void moveTo(int x, int y) override { log << QStringLiteral("moveTo %1 %2").arg(x).arg(y); }
    void lineTo(int x, int y) override { log << QStringLiteral("lineTo %1 %2").arg(x).arg(y); }
    void polyline(const QPoint *points, int count) override
    {
        log << QStringLiteral("polyline") + pointsText(points, count);
    }
    void polygon(const QPoint *points, int count) override
    {
        log << QStringLiteral("polygon") + pointsText(points, count);
    }
    void ellipse(int x1, int y1, int x2, int y2) override
    {
        log << QStringLiteral("ellipse %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override
    {
        log << QStringLiteral("arc %1 %2 %3 %4 %5 %6 %7 %8")
                   .arg(x1)
                   .arg(y1)
                   .arg(x2)
                   .arg(y2)
                   .arg(x3)
                   .arg(y3)
                   .arg(x4)
                   .arg(y4);
    }
    void rectangle(int x1, int y1, int x2, int y2) override
    {
        log << QStringLiteral("rectangle %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void fillRect(const QRect &r) override
    {
        log << QStringLiteral("fillRect %1 %2 %3 %4")
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height());
    }
    void setCopyMode(TCopyMode m) override { fCopyMode = m; }
    TCopyMode copyMode() const override { return fCopyMode; }
    void drawBitmap(int, int, const TBitmap &) override { }
    void copyRect(const QRect &, const TBitmap &, const QRect &) override { }
    void setClipRects(const QVector<QRect> &) override { }
    void clearClip() override { }
    void setFont(const QString &family, int pixelSize, TColor color) override
    {
        fFontFamily = family;
        fFontPixelSize = pixelSize;
        fFontColor = color;
    }
    void textOut(int x, int y, const QString &text) override
    {
        log << QStringLiteral("textOut %1 %2 %3").arg(x).arg(y).arg(text);
    }
    // Made-up but consistent metrics: every character half an em wide, the
    // cell one em tall with three quarters above the baseline.
    QSize textExtent(const QString &text) override
    {
        return QSize(int(text.size()) * fFontPixelSize / 2, fFontPixelSize);
    }
    TTextMetric textMetric() override
    {
        TTextMetric m;
        m.height = fFontPixelSize;
        m.ascent = fFontPixelSize * 3 / 4;
        m.descent = m.height - m.ascent;
        m.averageCharWidth = fFontPixelSize / 2;
        m.maxCharWidth = fFontPixelSize;
        return m;
    }
    QString fontFamily() const override { return fFontFamily; }
    int fontPixelSize() const override { return fFontPixelSize; }
    TColor fontColor() const override { return fFontColor; }
    void drawGlyphText(double x, double baseline, const QString &text, const TGlyphFont &f) override
    {
        QString codes;
        for (QChar ch : text)
            codes += QStringLiteral("%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        log << QStringLiteral("glyphs %1 %2 at %3,%4 em %5%6%7%8%9")
                   .arg(f.family, codes)
                   .arg(x, 0, 'f', 2)
                   .arg(baseline, 0, 'f', 2)
                   .arg(f.pixelSize, 0, 'f', 2)
                   .arg(f.scaleX != 1 || f.scaleY != 1 ? QStringLiteral(" scale %1x%2")
                                                             .arg(f.scaleX, 0, 'f', 3)
                                                             .arg(f.scaleY, 0, 'f', 3)
                                                       : QString())
                   .arg(f.bold ? QStringLiteral(" bold") : QString())
                   .arg(f.color != kColorBlack
                           ? QStringLiteral(" color %1").arg(f.color, 6, 16, QLatin1Char('0'))
                           : QString())
                   .arg(f.characterMapOnly ? QString() : QStringLiteral(" shaped"));
    }

private:
    static QString pointsText(const QPoint *points, int count)
    {
        QString s;
        for (int i = 0; i < count; ++i)
            s += QStringLiteral(" %1,%2").arg(points[i].x()).arg(points[i].y());
        return s;
    }

    TColor fPenColor = 0;
    int fPenWidth = 1;
    TPenStyle fPenStyle = TPenStyle::psSolid;
    TColor fBrushColor = 0xFFFFFF;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
    TCopyMode fCopyMode = TCopyMode::cmSrcCopy;
    QString fFontFamily;
    int fFontPixelSize = 13;
    TColor fFontColor = 0;
};

} // namespace zarno::test
