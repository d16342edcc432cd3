#include "app/logic/commandtable.h"

namespace zarno {

namespace {
QString s(const char *text)
{
    return QString::fromUtf8(text);
}
} // namespace

const QList<TCommandActionProperty> &TCommandTable::commands()
{
    static const QList<TCommandActionProperty> table = {
        { TCommandId::cmdNewFile, false, s("newFile"), true, QKeyCombination(Qt::CTRL | Qt::Key_N),
            s("file"), s("新規作成(&N)"), QString() },
        { TCommandId::cmdOpen, false, s("open"), true, QKeyCombination(Qt::Key_O), s("file"),
            s("開く(&O)..."), s("開く|既存のファイルを開く") },
        { TCommandId::cmdSaveAs, false, s("saveAs"), false, QKeyCombination(), s("file"),
            s("名前を付けて保存(&A)"), s("名前を付けて保存") },
        { TCommandId::cmdSave, false, s("save"), true, QKeyCombination(Qt::CTRL | Qt::Key_S),
            s("file"), s("上書き保存(&S)"), s("上書き保存") },
        { TCommandId::cmdSaveGraphicfile, false, s("saveGraphicfile"), true, QKeyCombination(),
            s("file"), s("画像ファイルの保存(&G)"), s("画像ファイルの保存") },
        { TCommandId::cmdExit, false, s("exit"), false, QKeyCombination(), s("file"), s("終了(&X)"),
            s("終了|アプリケーションを終了する") },
        { TCommandId::cmdUndo, false, s("undo"), true, QKeyCombination(Qt::CTRL | Qt::Key_Z),
            s("編集"), s("元に戻す(&U)"), s("元に戻す|直前の操作を取り消す") },
        { TCommandId::cmdRedo, false, s("redo"), true, QKeyCombination(Qt::CTRL | Qt::Key_Y),
            s("編集"), s("やり直し(&R)"), s("やり直し|取り消した操作をやり直す"),
            QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) },
        { TCommandId::cmdCopyFigure, false, s("copyFigure"), false,
            QKeyCombination(Qt::CTRL | Qt::Key_C), s("編集"), s("図をコピー(&C)"),
            s("図をコピー|出力範囲の図を画像としてクリップボードにコピーする") },
        { TCommandId::cmdDelete, false, s("delete"), true, QKeyCombination(Qt::Key_Delete),
            s("編集"), s("削除(&D)"), s("削除|選択図形を削除する") },
        { TCommandId::cmdFigureProperty, false, s("figureProperty"), true, QKeyCombination(),
            s("編集"), s("プロパティ(&P)"), s("図形のプロパティを表示する") },
        { TCommandId::cmdEraseTrace, false, s("eraseTrace"), false, QKeyCombination(), s("編集"),
            s("軌跡消去(&E)"), s("軌跡を消去する") },
        { TCommandId::cmdScale1_1, false, s("scale1_1_"), true, QKeyCombination(), s("view"),
            s("座標1:1表示(&S)"), s("座標軸のスケールを1：1にする") },
        { TCommandId::cmdCenterGenten, false, s("centerGenten"), true, QKeyCombination(), s("view"),
            s("原点を真ん中に(&C)"), s("原点をフィールドの真ん中へ移動する") },
        { TCommandId::cmdZahyoujikuToggle, true, s("zahyoujikuToggle"), true, QKeyCombination(),
            s("toggle"), s("座標軸表示(&Z)"), s("座標軸の表示・非表示の切り替え") },
        { TCommandId::cmdFixFieldToggle, true, s("fixFieldToggle"), true, QKeyCombination(),
            s("toggle"), s("フィールド固定(&F)"), s("フィールドの固定・移動可の切り替え") },
        { TCommandId::cmdPreviewToggle, true, s("previewToggle"), true, QKeyCombination(),
            s("toggle"), s("編集, ビュー(&V)"), s("編集モード, ビューモードの切り替え") },
        { TCommandId::cmdFigureList, true, s("figureList"), true, QKeyCombination(), s("toggle"),
            s("図形リスト表示(&L)"), s("図形のリストの表示・非表示の切り替え") },
        { TCommandId::cmdPrintAreaToggle, true, s("printAreaToggle"), true, QKeyCombination(),
            s("toggle"), s("出力範囲(&P)"), s("画像ファイル出力範囲の設定方法の切り替え") },
        { TCommandId::cmdViewScaleToggle, true, s("viewScaleToggle"), true, QKeyCombination(),
            s("toggle"), s("画像ファイル目盛表示(&S)"),
            s("画像ファイル用目盛りの表示・非表示の切り替え") },
        { TCommandId::cmdSetupToolbar, false, s("setupToolbar"), true, QKeyCombination(), s("設定"),
            s("図形ツールバーのカスタマイズ(&T)"),
            s("各図形ツールボタンの表示・非表示を切り替える") },
        { TCommandId::cmdHelpContents, false, s("helpContents"), true, QKeyCombination(), s("help"),
            s("zarnoヘルプ(&H)"), s("zarnoのヘルプ") },
        { TCommandId::cmdSplash, false, s("splash"), false, QKeyCombination(), s("help"),
            s("バージョン情報(&I)"), s("zarnoのバージョン情報") },
    };
    return table;
}

const QList<TMenuProperty> &TCommandTable::mainMenu()
{
    static const QList<TMenuProperty> table = {
        { s("mnuFile"), s("root"), QString(), s("ファイル(&F)") },
        { s("mnuFigure"), s("root"), QString(), s("図形(&P)") },
        { s("mnuEdit"), s("root"), QString(), s("編集(&E)") },
        { s("mnuView"), s("root"), QString(), s("表示(&V)") },
        { s("mnuViewToggle"), s("root"), QString(), s("モード切替(&M)") },
        { s("mnuSetting"), s("root"), QString(), s("設定(&S)") },
        { s("mnuHelp"), s("root"), QString(), s("ヘルプ(&H)") },
        { s("mnuNewFile"), s("mnuFile"), s("newFile"), QString() },
        { s("mnuOpenFile"), s("mnuFile"), s("open"), QString() },
        { s("mnuSave"), s("mnuFile"), s("save"), QString() },
        { s("mnuSaveAs"), s("mnuFile"), s("saveAs"), QString() },
        { s("mnuSaveGraphicfile"), s("mnuFile"), s("saveGraphicfile"), QString() },
        { s("mnuEnd"), s("mnuFile"), s("exit"), QString() },
        { s("mnuEditUndo"), s("mnuEdit"), s("undo"), QString() },
        { s("mnuEditRedo"), s("mnuEdit"), s("redo"), QString() },
        { s("mnuEditCopyFigure"), s("mnuEdit"), s("copyFigure"), QString() },
        { s("mnuEditDelete"), s("mnuEdit"), s("delete"), QString() },
        { s("mnuFigureProperty"), s("mnuEdit"), s("figureProperty"), QString() },
        { s("mnuPrintAreaToggle"), s("mnuView"), s("printAreaToggle"), QString() },
        { s("mnuScale1_1"), s("mnuView"), s("scale1_1_"), QString() },
        { s("mnuCenterGenten"), s("mnuView"), s("centerGenten"), QString() },
        { s("mnuZahyoujikuToggle"), s("mnuViewToggle"), s("zahyoujikuToggle"), QString() },
        { s("mnuFixFieldToggle"), s("mnuViewToggle"), s("fixFieldToggle"), QString() },
        { s("mnuPreviewToggle"), s("mnuViewToggle"), s("previewToggle"), QString() },
        { s("mnuShapeListToggle"), s("mnuViewToggle"), s("figureList"), QString() },
        { s("mnuViewScaleToggle"), s("mnuViewToggle"), s("viewScaleToggle"), QString() },
        { s("mnuSetupToolbar"), s("mnuSetting"), s("setupToolbar"), QString() },
        { s("mnuHelpContenns"), s("mnuHelp"), s("helpContents"), QString() },
        { s("mnuSplash"), s("mnuHelp"), s("splash"), QString() },
    };
    return table;
}

const QList<TMenuProperty> &TCommandTable::popupMenu()
{
    static const QList<TMenuProperty> table = {
        { s("mnuFigureProperty"), s("root"), s("figureProperty"), QString() },
        { s("mnuEditDelete"), s("root"), s("delete"), QString() },
        { s("mnuEraseTracer"), s("root"), s("eraseTrace"), QString() },
    };
    return table;
}

const TCommandActionProperty *TCommandTable::find(const QString &name)
{
    for (const TCommandActionProperty &c : commands())
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString TCommandTable::tooltipOf(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString TCommandTable::plainCaption(const QString &caption)
{
    QString t = caption;
    if (t.endsWith(QLatin1String("...")))
        t.chop(3);
    const qsizetype accel = t.lastIndexOf(QStringLiteral("(&"));
    if (accel >= 0 && t.endsWith(QLatin1Char(')')))
        t.truncate(accel);
    return t;
}

QString TCommandTable::statusTipOf(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace zarno
