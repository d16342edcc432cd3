#pragma once

#include "base/penbrush.h"
#include "labels/labeldialogs.h"
#include "model/field.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render/dpi.h"
#include "support/recording_canvas.h"
#include "typeset/typeset_support.h"

#include <QList>
#include <QSize>
#include <deque>
#include <memory>
#include <utility>

namespace zarno::test {

// The screen as the program has it (90.06 × 90.07 dpi), typesetting set up
// from the installed fonts; both restored afterwards.
struct LabelsReady
{
    LabelsReady()
    {
        useInstalledFonts();
        TDpi::useScreenResolution();
    }
    ~LabelsReady()
    {
        TDpi::useScreenResolution();
        TDpi::setFontScale(1.0);
    }
};

// A screen surface of a fixed size on a field's scale that remembers where
// bitmaps went (labels, scale numbers) and which segments it drew (ticks,
// grid lines), and draws them as well.
class RecordingScreen : public TDisplayAdapter
{
public:
    struct Placed
    {
        TModelPoint anchor;
        QPoint offset;
        QSize size;
    };
    struct Segment
    {
        TColor colour;
        TModelPoint a;
        TModelPoint b;
    };

    explicit RecordingScreen(TField &field, QSize size = QSize(640, 480))
        : fBox(size)
    {
        attachMainWindow(&fBox);
        setController(&field);
        prepareDraw();
        fitToView();
        clear();
    }
    // The box goes before the surface would let go of it.
    ~RecordingScreen() override { attachMainWindow(nullptr); }
    void resize(QSize size)
    {
        fBox.setClientSize(size);
        fitToView();
        clear();
    }
    void forget()
    {
        bitmaps.clear();
        segments.clear();
    }

    void drawBitmapOffsetPx(
        const TBitmap &bmp, const TModelPoint &point, const QPoint &offset) override
    {
        bitmaps.append({ point, offset, QSize(bmp.width(), bmp.height()) });
        TDisplayAdapter::drawBitmapOffsetPx(bmp, point, offset);
    }
    void drawSegment(TPenBrush &pb, double x1, double y1, double x2, double y2) override
    {
        segments.append({ pb.getPenColor(), { x1, y1 }, { x2, y2 } });
        TDisplayAdapter::drawSegment(pb, x1, y1, x2, y2);
    }

    QList<Placed> bitmaps;
    QList<Segment> segments;

private:
    TFixedDrawingBox fBox;
};

// An image-file surface at 300 dpi whose canvas records what is drawn, so
// that the place of typeset text is read off its glyph runs.
class RecordingPrinter : public TImageAdapter
{
public:
    explicit RecordingPrinter(TField &field, QRect view = QRect(0, 0, 2000, 1500))
        : fView(view)
    {
        FViewerType = TViewerType::Printer;
        FPreview = 1;
        TDpi::setCurrent(300, 300);
        canvas.setFontResolution(300);
        setController(&field);
        fitToView();
    }
    QRect getViewrect() const override { return fView; }
    TCanvas &getCanvas() override { return canvas; }

    RecordingCanvas canvas;

private:
    QRect fView;
};

// The label dialog: answers from a queue (an empty queue cancels) and
// remembers what it was shown.
class ScriptedWritingDialog : public TWritingDialogFacade
{
public:
    bool editWriting(QString &text, int &pt) override
    {
        ++calls;
        shownText = text;
        shownPt = pt;
        if (answers.empty())
            return false;
        std::tie(text, pt) = answers.front();
        answers.pop_front();
        return true;
    }

    std::deque<std::pair<QString, int>> answers;
    int calls = 0;
    QString shownText;
    int shownPt = 0;
};

// Installs a scripted label dialog for the life of a test.
class ScopedWritingDialog
{
public:
    ScopedWritingDialog()
    {
        auto d = std::make_unique<ScriptedWritingDialog>();
        fDialog = d.get();
        fPrevious = TWritingDialogFacade::install(std::move(d));
    }
    ~ScopedWritingDialog() { TWritingDialogFacade::install(std::move(fPrevious)); }
    ScriptedWritingDialog *operator->() { return fDialog; }

private:
    ScriptedWritingDialog *fDialog;
    std::unique_ptr<TWritingDialogFacade> fPrevious;
};

// Every pixel that is not white, as a bounding rectangle.
inline QRect inkBounds(const TBitmap &bmp)
{
    QRect b;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) != kColorWhite)
                b |= QRect(x, y, 1, 1);
    return b;
}

} // namespace zarno::test
