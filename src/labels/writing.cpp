#include "labels/writing.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "platform/bitmap.h"
#include "render/dpi.h"
#include "typeset/drawformulafacade.h"
#include "typeset/fontinfo.h"
#include "typeset/tex2list.h"
#include "typeset/writingstr.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TWriting");

// No label needs more: a text that lays out larger (a damaged file, a
// runaway formula) is cut at this size instead of taking all memory.
constexpr int kMaxBitmapSide = 16000;

// Many numbers of one scale differ only in their multiple; a view shows a
// few dozen of them, so this many bitmaps keep every frame of a drag warm.
constexpr std::size_t kMaxCachedNumbers = 256;

int ceilToPixels(double v)
{
    if (!(v > 0))
        return 0;
    return int(std::min(std::ceil(v), double(kMaxBitmapSide)));
}

} // namespace

std::unique_ptr<TWriting> TWriting::createTextWriting()
{
    const double big = std::numeric_limits<double>::max();
    return std::unique_ptr<TWriting>(new TWriting(
        std::make_unique<TWritingTeXStr>(), std::make_unique<TWritingOffsetInfo>(), -big, big));
}

std::unique_ptr<TWriting> TWriting::createNumberWriting()
{
    return std::unique_ptr<TWriting>(new TWriting(std::make_unique<TWritingCalcStr>(),
        std::make_unique<TWritingOffsetInfo>(), 0, std::numeric_limits<double>::max()));
}

std::unique_ptr<TWriting> TWriting::createHiddenNumberWriting(bool anySign)
{
    const double big = std::numeric_limits<double>::max();
    auto info = std::make_unique<TWritingInfo>();
    info->setView(false);
    return std::unique_ptr<TWriting>(new TWriting(
        std::make_unique<TWritingCalcStr>(), std::move(info), anySign ? -big : 0, big));
}

TWriting::TWriting(std::unique_ptr<TAbstractWritingStr> str, std::unique_ptr<TWritingInfo> info,
    double minValue, double maxValue)
    : fStr(std::move(str))
    , fInfo(std::move(info))
    , fParser(std::make_unique<TTeX2ListFacade>())
    , fLayout(std::make_unique<TDrawFormulaFacade>())
    , fBitmap(std::make_unique<TBitmap>())
    , fMinValue(minValue)
    , fMaxValue(maxValue)
{ }

TWriting::~TWriting() = default;

int TWriting::screenFontResolution()
{
    const TModelPoint s = TDpi::screen();
    return int(std::nearbyint((s.x + s.y) / 2));
}

QString TWriting::text() const
{
    return fStr->texStr();
}

void TWriting::setText(const QString &text)
{
    if (fStr->texStr() == text)
        return;
    fStr->setStr(text);
    markDirty();
}

void TWriting::setPt(int pt)
{
    if (fInfo->pt() == pt)
        return;
    fInfo->setPt(pt);
    markDirty();
}

void TWriting::setRationalNumber(const QString &numerator, const QString &denominator, int pt)
{
    fStr->setRationalNumber(numerator, denominator);
    setPt(pt);
    markDirty();
}

void TWriting::setRationalNumberPi(const QString &numerator, const QString &denominator, int pt)
{
    fStr->setRationalNumberPi(numerator, denominator);
    setPt(pt);
    markDirty();
}

void TWriting::setRealNumber(const QString &text, int pt)
{
    fStr->setRealNumber(text);
    setPt(pt);
    markDirty();
}

void TWriting::setDegreeNumber(const QString &text, int pt)
{
    fStr->setDegreeNumber(text);
    setPt(pt);
    markDirty();
}

double TWriting::value(int multiple) const
{
    return fStr->value(multiple);
}

QString TWriting::valueTeXStr(int multiple) const
{
    return fStr->valueTeXStr(multiple);
}

TNumberMode TWriting::numberMode() const
{
    return fStr->numberMode();
}

QString TWriting::numeratorStr() const
{
    return fStr->numeratorStr();
}

QString TWriting::denominatorStr() const
{
    return fStr->denominatorStr();
}

QString TWriting::realStr() const
{
    return fStr->realStr();
}

int TWriting::kind() const
{
    return fStr->kind();
}

void TWriting::pushCurrent()
{
    if (fBackupIndex >= TWritingInfo::kBackupSlots - 1)
        throw ESouteigai(
            kClass, QStringLiteral("情報は既にpushされています。"), QStringLiteral("pushCurrent"));
    ++fBackupIndex;
    fStr->store(fBackupIndex);
    fInfo->store(fBackupIndex);
}

void TWriting::pop()
{
    if (fBackupIndex < 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("pop"));
    fStr->restore(fBackupIndex);
    fInfo->restore(fBackupIndex);
    --fBackupIndex;
    markDirty();
}

void TWriting::clearPushed()
{
    if (fBackupIndex < 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("clearPushed"));
    --fBackupIndex;
}

bool TWriting::differsFromPushed() const
{
    return fBackupIndex >= 0
        && (fStr->differsFrom(fBackupIndex) || fInfo->differsFrom(fBackupIndex));
}

void TWriting::save(TAbstractFileWriter &writer) const
{
    fStr->save(writer);
    // A number's lines end themselves; a typeset text is one value.
    if (fStr->kind() == 1)
        writer.newLine();
    fInfo->save(writer);
}

void TWriting::load(TAbstractXmlNode &node)
{
    fStr->load(node);
    fInfo->load(node);
    markDirty();
}

void TWriting::renderInto(TBitmap &bmp, const QString &tex, TColor colour)
{
    fParser->analyze(tex);
    TCanvas &canvas = bmp.canvas();
    canvas.setFontResolution(screenFontResolution());
    const TWhdXy box = fLayout->measure(canvas, *fParser->tokenList(), pt());
    bmp.setSize(
        ceilToPixels(box.width() + kMarginTotal), ceilToPixels(box.totalHeight() + kMarginTotal));
    // A new size is white already; the same size keeps the old picture.
    canvas.setBrushColor(kColorWhite);
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(0, 0, bmp.width(), bmp.height()));
    canvas.setFont(canvas.fontFamily(), canvas.fontPixelSize(), colour);
    canvas.setPenColor(colour);
    // drawAt puts the box's top 5 pixels below the given top.
    fLayout->drawAt(canvas, kMarginLeft, *fParser->tokenList(), pt(), kMarginTop - 5);
}

void TWriting::renderBitmap(TColor colour)
{
    renderInto(*fBitmap, fStr->texStr(), colour);
    fBitmapColor = colour;
    fDirty = false;
    ++fRenderCount;
}

const TBitmap &TWriting::numberBitmap(int multiple, TColor colour)
{
    const int resolution = screenFontResolution();
    if (colour != fNumbersColor || pt() != fNumbersPt || resolution != fNumbersResolution
        || fNumbers.size() >= kMaxCachedNumbers) {
        fNumbers.clear();
        fNumbersColor = colour;
        fNumbersPt = pt();
        fNumbersResolution = resolution;
    }
    const QString tex = fStr->valueTeXStr(multiple);
    auto it = fNumbers.find(tex);
    if (it == fNumbers.end()) {
        auto bmp = std::make_unique<TBitmap>();
        renderInto(*bmp, tex, colour);
        it = fNumbers.emplace(tex, std::move(bmp)).first;
    }
    return *it->second;
}

void TWriting::drawOnPrinter(
    TAbstractImageAdapter &surface, const QString &tex, TColor colour, const TModelPoint &anchor)
{
    TCanvas &canvas = surface.getCanvas();
    const TCanvasInfoPushGuard saved(canvas);
    canvas.setFont(canvas.fontFamily(), canvas.fontPixelSize(), colour);
    canvas.setPenColor(colour);
    canvas.setBrushColor(kColorWhite);
    fParser->analyze(tex);
    const TWhdXy box = fLayout->measure(canvas, *fParser->tokenList(), pt());
    const QPoint at = surface.modelToPixel(anchor)
        + positionViewOffsetXy(ceilToPixels(box.width()), ceilToPixels(box.totalHeight()));
    // The text's own box, not a bitmap's, lies at the offset here.
    fLayout->drawAt(canvas, at.x(), *fParser->tokenList(), pt(), at.y() - 5);
}

void TWriting::draw(TAbstractImageAdapter &surface, TColor colour, const TModelPoint &anchor)
{
    if (!view())
        return;
    if (surface.isOutput()) {
        drawOnPrinter(surface, fStr->texStr(), colour, anchor);
        return;
    }
    if (fDirty || colour != fBitmapColor || fBitmap->isEmpty())
        renderBitmap(colour);
    const QPoint offset = positionViewOffsetXy(fBitmap->width(), fBitmap->height());
    surface.drawBitmapOffsetPx(*fBitmap, anchor, offset);
    // The bounds are the pixels the bitmap covers, so that picking and the
    // picture agree to the pixel.
    const TModelPoint mpp = surface.getModelPerPixel();
    const QPoint topLeft
        = surface.modelToPixel({ anchor.x + offset.x() * mpp.x, anchor.y - offset.y() * mpp.y });
    const TModelPoint tl = surface.pixelToModel(topLeft.x(), topLeft.y());
    const TModelPoint br
        = surface.pixelToModel(topLeft.x() + fBitmap->width(), topLeft.y() + fBitmap->height());
    fBounds.left = tl.x;
    fBounds.top = tl.y;
    fBounds.right = br.x;
    fBounds.bottom = br.y;
    fHasBounds = true;
}

void TWriting::drawClipped(
    TAbstractImageAdapter &surface, TColor colour, int multiple, const TModelPoint &anchor)
{
    if (surface.isOutput()) {
        drawOnPrinter(surface, fStr->valueTeXStr(multiple), colour, anchor);
        return;
    }
    const TBitmap &bmp = numberBitmap(multiple, colour);
    surface.drawBitmapOffsetPx(bmp, anchor, positionViewOffsetXy(bmp.width(), bmp.height()));
}

int TWriting::measureHeight(int multiple, TAbstractImageAdapter &surface)
{
    if (surface.isOutput()) {
        TCanvas &canvas = surface.getCanvas();
        fParser->analyze(fStr->valueTeXStr(multiple));
        const TWhdXy box = fLayout->measure(canvas, *fParser->tokenList(), pt());
        return std::max(ceilToPixels(box.width()), ceilToPixels(box.totalHeight()));
    }
    const TBitmap &bmp = numberBitmap(multiple, fNumbersColor);
    return std::max(bmp.width(), bmp.height());
}

void TWriting::drawInDialog(TCanvas &canvas, int width, int height)
{
    if (fDirty || fBitmap->isEmpty())
        renderBitmap(fBitmapColor);
    const TCopyMode saved = canvas.copyMode();
    canvas.setCopyMode(TCopyMode::cmSrcAnd);
    canvas.drawBitmap((width - fBitmap->width()) / 2, (height - fBitmap->height()) / 2, *fBitmap);
    canvas.setCopyMode(saved);
}

} // namespace zarno
