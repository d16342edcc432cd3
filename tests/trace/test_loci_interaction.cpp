// Loci as a teacher makes them: a mark on a point dragged with the mouse,
// erased, shown in view mode, undone, saved and read back.
#include "loci_fixture.h"
#include "persist/zarnofile.h"
#include "platform/bitmap.h"

#include <QTemporaryDir>
#include <functional>

using namespace zarno;
using namespace zarno::test;

namespace {

constexpr TColor kGreen = 65280; // a new locus's colour

class Loci : public LociTest
{
protected:
    Loci()
    {
        p = clickPoint(-2, 0);
        mark = markOf(p);
        model.clearSelection();
    }
    // Presses on the point and drags it through the pixels, one move each.
    void dragThrough(const std::vector<QPoint> &path)
    {
        const QPoint start = screen.modelToPixel(p->getXY());
        controller->mouse(TMouseKind::mkPress, TMouseButton::mbLeft, 0, start.x(), start.y());
        for (QPoint q : path)
            controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, q.x(), q.y());
        controller->mouse(
            TMouseKind::mkRelease, TMouseButton::mbLeft, 0, path.back().x(), path.back().y());
    }
    int screenPixels(TColor colour, QRect area) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += screen.getBitmap().pixel(x, y) == colour ? 1 : 0;
        return n;
    }
    int tracks() { return tracerOf(mark).count(); }

    TShapeDot *p = nullptr;
    TShapeTracer *mark = nullptr;
};

TEST_F(Loci, DraggingBackAndForthOverTheSamePathAddsNoRecords)
{
    ASSERT_NE(mark, nullptr);
    const QPoint s = screen.modelToPixel(p->getXY());
    std::vector<QPoint> forth;
    for (int i = 1; i <= 40; ++i)
        forth.push_back(s + QPoint(3 * i, i % 7));
    dragThrough(forth);
    const int once = tracks();
    EXPECT_GE(once, 40);
    std::vector<QPoint> back(forth.rbegin(), forth.rend());
    back.push_back(s);
    dragThrough(back);
    dragThrough(forth);
    EXPECT_EQ(tracks(), once + 1); // the start, where the first drag left from
    // The locus is on the screen beside the point.
    EXPECT_GT(screenPixels(kGreen, QRect(s, forth.back()).normalized().adjusted(-3, -3, 3, 3)), 40);
}

TEST_F(Loci, ADragIsOneUndoStepAndItsRecordsGoWithIt)
{
    const QPoint s = screen.modelToPixel(p->getXY());
    std::vector<QPoint> path;
    for (int i = 1; i <= 20; ++i)
        path.push_back(s + QPoint(4 * i, 0));
    dragThrough(path);
    const int first = tracks();
    for (QPoint &q : path)
        q += QPoint(0, 30);
    dragThrough(path);
    ASSERT_GT(tracks(), first);
    controller->undo();
    // Undo reads the document back: the mark is a new object.
    auto *again = dynamic_cast<TShapeTracer *>(field().last());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(tracerOf(again).count(), first);
}

TEST_F(Loci, ErasingLeavesTheMarkAndABlankLayer)
{
    const QPoint s = screen.modelToPixel(p->getXY());
    dragThrough({ s + QPoint(10, 0), s + QPoint(20, 5), s + QPoint(30, 0) });
    ASSERT_GT(tracks(), 0);
    model.clearSelection();
    model.addToSelection(mark);
    EXPECT_EQ(window.propertyType, TPropertyType::Tracer);
    controller->executeAction(TCommandId::cmdEraseTrace);
    EXPECT_EQ(tracks(), 0);
    EXPECT_TRUE(field().contains(mark));
    const TBitmap &layer = TTraceAdapter::instance().getBitmap();
    int ink = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            ink += layer.pixel(x, y) != kColorWhite ? 1 : 0;
    EXPECT_EQ(ink, 0);
    EXPECT_EQ(screenPixels(kGreen, QRect(s + QPoint(5, -5), s + QPoint(35, 10))), 0);
}

// Every way a locus goes leaves nothing of it on the screen or the layer.
TEST_F(Loci, DeletingTheMarkAChangedDisplayAndANewDocumentBlankTheLayer)
{
    const std::vector<std::pair<const char *, std::function<void()>>> ways = {
        { "delete",
            [&] {
                model.clearSelection();
                model.addToSelection(mark);
                controller->executeAction(TCommandId::cmdDelete);
                EXPECT_FALSE(field().contains(mark));
            } },
        { "display", [&] { controller->clearAllTraces(); } },
        { "new", [&] { controller->newFile(); } },
    };
    for (const auto &[name, erase] : ways) {
        if (!field().contains(mark)) {
            p = clickPoint(-2, -1.5); // away from the point the deleted mark traced
            mark = markOf(p);
            model.clearSelection();
        }
        const QPoint s = screen.modelToPixel(p->getXY());
        dragThrough({ s + QPoint(10, 0), s + QPoint(20, 0), s + QPoint(30, 0) });
        const QRect locus(s + QPoint(5, -3), s + QPoint(25, 3));
        ASSERT_GT(screenPixels(kGreen, locus), 10) << name;
        erase();
        model.setDrawStatusAndRedraw(TCurrentDrawStatus::Ordinary);
        EXPECT_EQ(screenPixels(kGreen, locus), 0) << name;
        if (field().contains(mark)) {
            EXPECT_EQ(tracks(), 0) << name;
        }
    }
}

// A copy of the figure (PNG and SVG, as an export draws them) carries the
// locus drawn straight onto it, as vector dots in the SVG, and no mark; the
// screen shows the locus as before.
TEST_F(Loci, AnExportDrawsTheLocusItselfAndLeavesTheScreenAsItWas)
{
    const QPoint s = screen.modelToPixel(p->getXY());
    std::vector<QPoint> path;
    for (int i = 1; i <= 12; ++i)
        path.push_back(s + QPoint(5 * i, 0));
    dragThrough(path);
    const QRect locus(s + QPoint(3, -2), s + QPoint(50, 2));
    const int before = screenPixels(kGreen, locus);
    ASSERT_GT(before, 20);
    model.clearSelection();
    ASSERT_TRUE(controller->copyFigure());
    const QString svg = QString::fromUtf8(window.clipboardSvg);
    EXPECT_GE(svg.count(QStringLiteral("#00ff00")), tracks()) << tracks();
    model.redraw();
    EXPECT_EQ(screenPixels(kGreen, locus), before);
}

TEST_F(Loci, AMarkIsNotDrawnInViewModeButItsLocusIs)
{
    const QPoint s = screen.modelToPixel(p->getXY());
    dragThrough({ s + QPoint(10, 0), s + QPoint(20, 0), s + QPoint(30, 0) });
    const QPoint end = screen.modelToPixel(p->getXY());
    const QRect icon(end + QPoint(2, -TShapeTracer::kIconHeight), end + QPoint(18, -2));
    const TColor iconInk = makeColor(0x1e, 0x5e, 0x22);
    const QRect locus(s + QPoint(3, -2), s + QPoint(25, 2));
    for (quint8 preview : { 0, 1 }) {
        screen.FPreview = preview;
        model.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged);
        EXPECT_EQ(screenPixels(iconInk, icon) > 0, preview == 0) << int(preview);
        EXPECT_GT(screenPixels(kGreen, locus), 10) << int(preview);
    }
    screen.FPreview = 0;
}

TEST_F(Loci, RecordsAreSavedAfterTheMarkAndReadBack)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.znt"));
    TDocumentWriter::write(controller->document(), empty);
    auto readText = [](const QString &path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        return QString::fromUtf16(
            reinterpret_cast<const char16_t *>(b.constData() + 2), (b.size() - 2) / 2);
    };
    // A mark without a locus writes nothing more than before.
    EXPECT_FALSE(readText(empty).contains(QStringLiteral("traceRecords")));

    const QPoint s = screen.modelToPixel(p->getXY());
    std::vector<QPoint> path;
    for (int i = 1; i <= 30; ++i)
        path.push_back(s + QPoint(3 * i, (i * i) % 11));
    dragThrough(path);
    const QStringList saved = recordTexts(mark);
    ASSERT_GE(saved.size(), 30);
    const QString first = dir.filePath(QStringLiteral("first.znt"));
    TDocumentWriter::write(controller->document(), first);
    EXPECT_TRUE(readText(first).contains(QStringLiteral("<traceRecords>")));

    auto loaded = TFileReader(first, factory).read();
    auto *back = dynamic_cast<TShapeTracer *>(loaded->field().last());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(recordTexts(back), saved);
    const QString second = dir.filePath(QStringLiteral("second.znt"));
    TDocumentWriter::write(*loaded, second);
    EXPECT_EQ(readText(second), readText(first));

    // Opening it shows the locus at once.
    controller->openNamedFile(first);
    auto *shown = dynamic_cast<TShapeTracer *>(field().last());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(tracerOf(shown).count(), saved.size());
    EXPECT_GT(screenPixels(kGreen, QRect(s, path.back()).normalized().adjusted(-3, -3, 3, 3)), 30);
}

TEST_F(Loci, ADocumentWithUnreadableRecordsIsRefusedWithAMessage)
{
    const QPoint s = screen.modelToPixel(p->getXY());
    dragThrough({ s + QPoint(10, 0), s + QPoint(20, 0) });
    const QByteArray state = TDocumentWriter::state(controller->document());
    ASSERT_NO_THROW(TFileReader(QString(), factory).readState(state));
    const QString text = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(state.constData()), state.size() / 2);
    const qsizetype at = text.indexOf(QStringLiteral("<r>"));
    const qsizetype end = text.indexOf(QStringLiteral("</r>"), at);
    ASSERT_GE(at, 0);
    // Not a number; a number too many for a point; an element that is no record.
    for (const auto &[pos, insert] :
        { std::pair { at + 3, QStringLiteral("x") }, std::pair { end, QStringLiteral(",5") },
            std::pair { at, QStringLiteral("<q>1</q>") } }) {
        QString damaged = text;
        damaged.insert(pos, insert);
        const QByteArray bytes(reinterpret_cast<const char *>(damaged.utf16()),
            damaged.size() * qsizetype(sizeof(char16_t)));
        try {
            TFileReader(QString(), factory).readState(bytes);
            ADD_FAILURE() << "read with " << insert.toStdString();
        } catch (const EFileFormatError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("破損しているため")))
                << e.message().toStdString();
        }
    }
}

} // namespace
