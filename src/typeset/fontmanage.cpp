#include "typeset/fontmanage.h"

#include "core/exceptions.h"

#include <QHash>
#include <cmath>
#include <vector>

namespace zarno {

namespace {

const TFixedTeXResolution kScreenResolution;
const TTeXResolution *gResolution = nullptr;

struct FontTableRow
{
    const char16_t *normal;
    const char16_t *small;
};
// By TFonttype.
constexpr FontTableRow kFontTable[] = {
    { u"cmr10", u"cmr6" },
    { u"cmsy10", u"cmsy6" },
    { u"cmmi10", u"cmmi6" },
    { u"cmex10", u"cmex10" },
    { u"ＭＳ Ｐ明朝", u"ＭＳ Ｐ明朝" },
};
constexpr int kFontTypeCount = int(std::size(kFontTable));

// Index of each TFM type's tables in kTfmTables: normal, small.
constexpr int kTfmIndex[4][2] = { { 0, 1 }, { 2, 3 }, { 4, 5 }, { 6, 6 } };

struct FontState
{
    const TFontCatalog *catalog = nullptr;
    bool available[kFontTypeCount] = {};
    QHash<QString, QString> families;
    // By type: the families of the normal and the small name.
    QString typeFamilies[kFontTypeCount][2];
};
FontState &fontState()
{
    static FontState s;
    return s;
}

QString typeName(TFonttype type)
{
    return TEnumConverter<TFonttype>::name(type);
}

void checkType(TFonttype type, const char *method)
{
    if (ord(type) < 0 || ord(type) >= kFontTypeCount)
        throw ESouteigai(QStringLiteral("TFontManage"), { fmtArg(int(ord(type))) },
            QStringLiteral("フォントタイプ(%d)はサポートしていません。"),
            QString::fromLatin1(method));
}

} // namespace

int TFixedTeXResolution::mmToPixels(double mm) const
{
    return int(std::nearbyint(mm * fFontScale * (fDpiX + fDpiY) / 2 / 25.4));
}

void TTeXResolution::install(const TTeXResolution *resolution)
{
    gResolution = resolution;
}

const TTeXResolution &TTeXResolution::current()
{
    return gResolution ? *gResolution : kScreenResolution;
}

TTeXResolutionScope::TTeXResolutionScope(const TTeXResolution &resolution)
    : fPrevious(gResolution)
{
    TTeXResolution::install(&resolution);
}

TTeXResolutionScope::~TTeXResolutionScope()
{
    TTeXResolution::install(fPrevious);
}

double TFontSize::factor(int level)
{
    static constexpr double kFactors[] = { 1.0, 0.7072135785007072, 0.5893446487505893,
        0.41679253801314664, 0.34732711501095553, 0.24563445191722455 };
    if (level > 0)
        level = 0;
    if (level < kSmallestLevel)
        level = kSmallestLevel;
    return kFactors[-level];
}

int TFontSize::pointSize() const
{
    const double points
        = std::nearbyint(TTeXResolution::current().fontScale() * fBaseSize * factor(fLevel));
    // Sizes come from dialogs and files; a huge or broken one must not
    // overflow the conversion.
    if (!(points >= 1))
        return 1;
    return points > 10000 ? 10000 : int(points);
}

double TFontSize::pixelsPerEm(const TCanvas &canvas) const
{
    return pointSize() * double(canvas.fontResolution()) / 72.0;
}

int TFontSize::canvasPixelSize(const TCanvas &canvas) const
{
    return std::max(1, int(std::lround(pixelsPerEm(canvas))));
}

void TFontSize::toLarger()
{
    if (fLevel >= 0)
        throw ESouteigai(QStringLiteral("TFontSize"),
            QStringLiteral("フォントレベルをこれ以上大きくできません。"),
            QStringLiteral("toLarger"));
    ++fLevel;
}

const TTfmMetrics &TTfmMetrics::getInstance()
{
    static const TTfmMetrics instance;
    return instance;
}

TTfmMetrics::TTfmMetrics()
{
    fIndex.fill(-1);
    const TTfmTable &first = kTfmTables[0];
    for (int i = 0; i < kTfmCharCount; ++i)
        fIndex[first.records[std::size_t(i)].code] = std::int16_t(i);
    for (const TTfmTable &table : kTfmTables)
        for (int i = 0; i < kTfmCharCount; ++i)
            if (table.records[std::size_t(i)].code != first.records[std::size_t(i)].code)
                throw ESouteigai(QStringLiteral("TTfmMetrics"),
                    QStringLiteral("tfmRecordのデータの整合性が取れていません。"),
                    QStringLiteral("create"));
}

const TTfmTable &TTfmMetrics::table(TFonttype type, bool small) const
{
    if (type == TFonttype::ftMincyo)
        throw ESouteigai(QStringLiteral("TTfmMetrics"), { fmtArg(typeName(type)) },
            QStringLiteral("フォントタイプ(%s)はtfmフォーマットのフォントではありません。"),
            QStringLiteral("table"));
    checkType(type, "table");
    return kTfmTables[std::size_t(kTfmIndex[ord(type)][small ? 1 : 0])];
}

const TTfmTable *TTfmMetrics::tableOfName(const QString &fontName) const
{
    for (const TTfmTable &t : kTfmTables)
        if (fontName == QLatin1String(t.name))
            return &t;
    return nullptr;
}

void TFontManage::initialize(const TFontCatalog &catalog)
{
    TTfmMetrics::getInstance();
    FontState &s = fontState();
    s.catalog = &catalog;
    s.families.clear();
    const QString mincyo = normalName(TFonttype::ftMincyo);
    if (!catalog.isInstalled(mincyo)) {
        s.catalog = nullptr;
        throw EMyFatalException(QStringLiteral("TFontManage"),
            safeFormat(QStringLiteral("表示に必要なフォント(%s)がインストールされていません。"),
                { fmtArg(mincyo) }),
            QStringLiteral("initialize"));
    }
    for (int t = 0; t < kFontTypeCount; ++t) {
        const auto type = static_cast<TFonttype>(t);
        s.available[t]
            = catalog.isInstalled(normalName(type)) && catalog.isInstalled(smallName(type));
        s.typeFamilies[t][0] = family(normalName(type));
        s.typeFamilies[t][1] = family(smallName(type));
    }
}

const QString &TFontManage::family(TFonttype type, bool small)
{
    checkType(type, "family");
    catalog();
    return fontState().typeFamilies[ord(type)][small ? 1 : 0];
}

bool TFontManage::isInitialized()
{
    return fontState().catalog != nullptr;
}

const TFontCatalog &TFontManage::catalog()
{
    const TFontCatalog *c = fontState().catalog;
    if (!c)
        throw ESouteigai(QStringLiteral("TFontManage"),
            QStringLiteral("フォントの初期化が済んでいません。"), QStringLiteral("catalog"));
    return *c;
}

namespace {

// The table's names as strings, made once: names are asked for every glyph
// measured.
struct FontNames
{
    QString normal[kFontTypeCount];
    QString small[kFontTypeCount];
    FontNames()
    {
        for (int t = 0; t < kFontTypeCount; ++t) {
            normal[t] = QString::fromUtf16(kFontTable[t].normal);
            small[t] = QString::fromUtf16(kFontTable[t].small);
        }
    }
};
const FontNames &fontNames()
{
    static const FontNames names;
    return names;
}

} // namespace

QString TFontManage::normalName(TFonttype type)
{
    checkType(type, "normalName");
    return fontNames().normal[ord(type)];
}

QString TFontManage::smallName(TFonttype type)
{
    checkType(type, "smallName");
    return fontNames().small[ord(type)];
}

bool TFontManage::isAvailable(TFonttype type)
{
    checkType(type, "isAvailable");
    catalog();
    return fontState().available[ord(type)];
}

TFonttype TFontManage::effectiveType(TFonttype type)
{
    return isAvailable(type) ? type : TFonttype::ftMincyo;
}

QString TFontManage::fontName(TFonttype type, const TFontSize &size)
{
    const TFonttype used = effectiveType(type);
    return size.usesSmallFonts() ? smallName(used) : normalName(used);
}

TFonttype TFontManage::romanType()
{
    return isAvailable(TFonttype::ftCmr) ? TFonttype::ftCmr : TFonttype::ftMincyo;
}

TFonttype TFontManage::fonttypeOfName(const QString &name)
{
    for (int t = 0; t < kFontTypeCount; ++t) {
        const auto type = static_cast<TFonttype>(t);
        if (name == normalName(type) || name == smallName(type))
            return type;
    }
    throw ESouteigai(QStringLiteral("TFontManage"), { fmtArg(name) },
        QStringLiteral("フォント(%s)のフォントタイプは存在しません。"),
        QStringLiteral("fonttypeOfName"));
}

bool TFontManage::isFontName(const QString &name)
{
    for (int t = 0; t < kFontTypeCount; ++t) {
        const auto type = static_cast<TFonttype>(t);
        if (name == normalName(type) || name == smallName(type))
            return true;
    }
    return false;
}

bool TFontManage::isInstalled(const QString &name)
{
    return !name.isEmpty() && catalog().isInstalled(name);
}

QString TFontManage::family(const QString &fontName)
{
    FontState &s = fontState();
    auto it = s.families.constFind(fontName);
    if (it == s.families.constEnd()) {
        QString family = catalog().familyFor(fontName);
        if (family.isEmpty())
            family = fontName;
        it = s.families.insert(fontName, family);
    }
    return *it;
}

namespace {

struct MetricsCache
{
    const TCanvas *canvas = nullptr;
    struct Entry
    {
        int pixelSize;
        bool small;
        TVerticalMetrics metrics;
    };
    std::vector<Entry> entries;
};
MetricsCache &metricsCache()
{
    static MetricsCache cache;
    return cache;
}

} // namespace

TMetricsCacheScope::TMetricsCacheScope(const TCanvas &canvas)
    : fOwner(metricsCache().canvas == nullptr)
{
    if (fOwner) {
        metricsCache().canvas = &canvas;
        metricsCache().entries.clear();
    }
}

TMetricsCacheScope::~TMetricsCacheScope()
{
    if (fOwner) {
        metricsCache().canvas = nullptr;
        metricsCache().entries.clear();
    }
}

TVerticalMetrics TFontManage::textMetrics(TCanvas &canvas, const TFontSize &size)
{
    MetricsCache &cache = metricsCache();
    const bool cached = cache.canvas == &canvas;
    const int pixelSize = size.canvasPixelSize(canvas);
    const bool small = size.usesSmallFonts();
    if (cached)
        for (const MetricsCache::Entry &e : cache.entries)
            if (e.pixelSize == pixelSize && e.small == small)
                return e.metrics;
    canvas.setFont(family(TFonttype::ftCmr, small), pixelSize, canvas.fontColor());
    const TTextMetric m = canvas.textMetric();
    const TVerticalMetrics metrics { double(m.height), double(m.ascent), double(m.descent) };
    if (cached)
        cache.entries.push_back({ pixelSize, small, metrics });
    return metrics;
}

} // namespace zarno
