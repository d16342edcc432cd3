#include "core/figurecatalog.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"

#include <array>

namespace zarno {

namespace {

using F = TFiguretype;

struct Row
{
    F type;
    const char *id;
    const char *guidance;
    bool tool;
    bool visible;
    const char *letter;
    const char *digit;
    const char *group;
};

// clang-format off
constexpr std::array<Row, TFigureInfo::kRowCount> kRows = {{
    {F::FIG_null, "null", "(null)", false, false, "", "", ""},
    {F::FIG_printArea, "printArea", "画像ファイル出力領域", false, false, "", "", ""},
    {F::FIG_zahyoujiku, "zahyoujiku", "座標軸", false, false, "", "", ""},
    {F::FIG_genten, "genten", "原点", false, false, "", "", ""},
    {F::FIG_dotOnField, "dotOnField", "フィールド上の点", false, true, "", "", ""},
    {F::FIG_dotOnLine, "dotOnSen", "SR1上の点", false, false, "", "", ""},
    {F::FIG_dotOnCircle, "dotOnCircle", "C1上の点", false, false, "", "", ""},
    {F::FIG_dotOnEllipse, "dotOnEllipse", "E1上の点", false, false, "", "", ""},
    {F::FIG_dotOnFunction, "dotOnFunction", "F1上の点", false, false, "", "", ""},
    {F::FIG_dotOnFunctionY, "dotOnFunctionY", "F1上の点", false, false, "", "", ""},
    {F::FIG_shapeVariable2dot, "shapeVariable2dot", "SH1,SH2,…の属性を使った式を座標とする点", true, true, "D", "1", "点"},
    {F::FIG_setten, "setten", "P1からC1に引いた接線の接点", true, true, "D", "2", "点"},
    {F::FIG_seishiki2kyokuchiDots, "seishiki2kyokuchiDots", "4次以下の整式で微分が0になる点", true, true, "D", "3", "点"},
    {F::FIG_line, "line", "P1,P2を通る直線", true, true, "L", "1", "直線"},
    {F::FIG_line_1tenHeikou, "line_1tenHeikou", "P1を通り, L1に平行な直線", true, true, "L", "2", "直線"},
    {F::FIG_line_1tenSuicyoku, "line_1tenSuicyoku", "P1を通り, L1に垂直な直線", true, true, "L", "3", "直線"},
    {F::FIG_sessenOnCircle, "sessenOnCircle", "C1上のP1における接線", true, false, "L", "4", "直線"},
    {F::FIG_sessenOnEllipse, "sessenOnEllipse", "E1上のP1における接線", true, false, "L", "5", "直線"},
    {F::FIG_senbun, "senbun", "P1,P2を両端とする線分", true, true, "S", "1", "線分・半直線"},
    {F::FIG_hanCyokusen, "hanCyokusen", "P1を端点としP2を通る半直線", true, true, "S", "2", "線分・半直線"},
    {F::FIG_circle, "circle", "P1を中心とし, P2を通る円", true, true, "C", "1", "円"},
    {F::FIG_gaisetsuen, "gaisetsuen", "P1,P2,P3を通る円", true, true, "C", "2", "円"},
    {F::FIG_arc, "arc", "P1を中心, P2を始点とし, P1,P3を通る半直線を終点とする円弧", true, true, "C", "3", "円"},
    {F::FIG_ellipse, "ellipse", "P1を中心とし, P2,P3を通る楕円", true, true, "E", "1", "楕円"},
    {F::FIG_paint, "paint", "P1を含み, 曲線群を境界とする領域の塗潰し", true, true, "P", "1", "塗潰し"},
    {F::FIG_writing, "writing", "P1に関連した文字列", true, true, "W", "1", "文字列"},
    {F::FIG_arrow2writing, "arrow2writing", "A1に関連した文字列", true, false, "W", "2", "文字列"},
    {F::FIG_dot2zahyou, "dot2zahyou", "P1の座標 (x,y)タイプ", true, true, "W", "3", "文字列"},
    {F::FIG_shapeVariable2value, "shapeVariable2value", "SH1,SH2,…の属性を使った式の値", true, true, "W", "4", "文字列"},
    {F::FIG_function, "function", "P1を原点とするy=f(x)タイプの関数のグラフ", true, true, "F", "1", "関数のグラフ"},
    {F::FIG_functionY, "functionY", "P1を原点とするx=g(y)タイプの関数のグラフ", true, true, "F", "2", "関数のグラフ"},
    {F::FIG_seishiki, "seishiki", "P1,P2,P3,…を通る4次以下の整式のグラフ", true, true, "F", "3", "関数のグラフ"},
    {F::FIG_shapeVariable2function, "shapeVariable2function", "P1を原点とし, P1,SH1,SH2,…の属性をパラメータとするy=f(x)タイプの関数のグラフ", true, true, "F", "4", "関数のグラフ"},
    {F::FIG_arrow, "arrow", "P1を始点,P2を終点とする矢印（線分）", true, true, "A", "1", "矢印"},
    {F::FIG_arrowLine, "arrowLine", "P1からP2方向へ向かう矢印（直線）", true, true, "A", "2", "矢印"},
    {F::FIG_arrowHanCyokusen, "arrowHanCyokusen", "P1を始点,P2方向へ向かう矢印（半直線）", true, true, "A", "3", "矢印"},
    {F::FIG_tracer, "tracer", "SHの軌跡マーク", true, true, "T", "1", "軌跡マーク"},
    {F::FIG_dot2zahyouGroup, "dot2zahyouGroup", "P1の座標 軸上にかくタイプ", true, true, "M", "1", "複合図形"},
    {F::FIG_triangle, "triangle", "(三角形)", false, false, "", "", ""},
    {F::FIG_square, "square", "(四角形)", false, false, "", "", ""},
    {F::FIG_polygon, "polygon", "(ポリゴン)", false, false, "", "", ""},
    {F::FIG_koutenLineLine, "koutenLineLine", "L1,L2の交点", true, true, "D", "4", "点"},
    {F::FIG_koutenLineCircle, "koutenLineCircle", "L1,C1の交点", true, true, "D", "5", "点"},
    {F::FIG_koutenCircleCircle, "koutenCircleCircle", "C1,C2の交点", true, true, "D", "6", "点"},
}};
// clang-format on

const std::array<TFigureActionInfo, TFigureInfo::kRowCount> &rows()
{
    static const std::array<TFigureActionInfo, TFigureInfo::kRowCount> table = [] {
        std::array<TFigureActionInfo, TFigureInfo::kRowCount> t;
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            const Row &r = kRows[i];
            t[i] = TFigureActionInfo { r.type, QString::fromUtf8(r.id),
                QString::fromUtf8(r.guidance), r.tool, r.visible, QString::fromUtf8(r.letter),
                QString::fromUtf8(r.digit), QString::fromUtf8(r.group) };
        }
        return t;
    }();
    return table;
}

} // namespace

TFigureActionInfo TFigureInfo::Iterator::next()
{
    if (fReturned >= kRowCount)
        throw ESouteigai(QStringLiteral("TFigureInfo"), QStringLiteral("次の行はありません。"),
            QStringLiteral("next"));
    return rows()[std::size_t(fReturned++)];
}

const TFigureActionInfo &TFigureInfo::row(int index)
{
    if (index < 0 || index >= kRowCount)
        throw ESouteigai(QStringLiteral("TFigureInfo"), { fmtArg(index) },
            QStringLiteral("行番号(%d)が範囲外です。"), QStringLiteral("row"));
    return rows()[std::size_t(index)];
}

const TFigureActionInfo *TFigureInfo::find(TFiguretype type)
{
    for (const TFigureActionInfo &r : rows())
        if (r.figureType == type)
            return &r;
    return nullptr;
}

QString TFigureInfo::guidanceTemplate(TFiguretype type)
{
    const TFigureActionInfo *r = find(type);
    return r ? r->guidance : QString();
}

QString TFigureInfo::toolbarText(const QString &guidanceTemplate)
{
    return TCommonProcs::replaceInOrder(guidanceTemplate,
        { { "P", "点" }, { "CL", "曲線" }, { "L", "線" }, { "C", "円" }, { "E", "楕円" },
            { "F", "関数" }, { "A", "矢印" }, { "SH", "形" } });
}

const QStringList &TFigureInfo::menuGroups()
{
    static const QStringList groups
        = { QStringLiteral("点"), QStringLiteral("直線"), QStringLiteral("線分・半直線"),
              QStringLiteral("円"), QStringLiteral("楕円"), QStringLiteral("双曲線"),
              QStringLiteral("矢印"), QStringLiteral("文字列"), QStringLiteral("関数のグラフ"),
              QStringLiteral("塗潰し"), QStringLiteral("軌跡マーク"), QStringLiteral("複合図形") };
    return groups;
}

} // namespace zarno
