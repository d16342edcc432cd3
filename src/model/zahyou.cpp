#include "model/zahyou.h"

#include "base/fileio.h"
#include "core/exceptions.h"

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TZahyou");
}

TZahyou::TZahyou(bool canBeFree)
    : fCanBeFree(canBeFree)
    , fXfreeFlag(canBeFree)
    , fYfreeFlag(canBeFree)
{ }

std::unique_ptr<TZahyou> TZahyou::createFreeZahyou()
{
    return std::unique_ptr<TZahyou>(new TZahyou(true));
}

std::unique_ptr<TZahyou> TZahyou::createFormulaZahyou()
{
    return std::unique_ptr<TZahyou>(new TZahyou(false));
}

void TZahyou::setFXfree(bool b)
{
    if (b && !fCanBeFree)
        throw ESouteigai(kClass, QStringLiteral("この座標を自由移動にすることはできません。"),
            QStringLiteral("setFXfree"));
    fXfreeFlag = b;
}

void TZahyou::setFYfree(bool b)
{
    if (b && !fCanBeFree)
        throw ESouteigai(kClass, QStringLiteral("この座標を自由移動にすることはできません。"),
            QStringLiteral("setFYfree"));
    fYfreeFlag = b;
}

void TZahyou::pushCurrent()
{
    if (fTop >= 2)
        throw ESouteigai(
            kClass, QStringLiteral("情報は既にpushされています。"), QStringLiteral("pushCurrent"));
    fSaved[std::size_t(++fTop)] = State { fCanBeFree, fXfreeFlag, fYfreeFlag, fXstr, fYstr };
}

void TZahyou::pop()
{
    if (fTop < 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("pop"));
    const State &s = fSaved[std::size_t(fTop--)];
    fCanBeFree = s.canBeFree;
    fXfreeFlag = s.xFree;
    fYfreeFlag = s.yFree;
    fXstr = s.xstr;
    fYstr = s.ystr;
}

void TZahyou::clearPushed()
{
    if (fTop < 0)
        throw ESouteigai(
            kClass, QStringLiteral("情報がpushされていません。"), QStringLiteral("clearPushed"));
    --fTop;
}

void TZahyou::saveInfo(TAbstractFileWriter &w) const
{
    w.writeBool(QStringLiteral("fXfree"), fXfreeFlag);
    w.writeBool(QStringLiteral("fYfree"), fYfreeFlag);
    w.newLine();
    w.writeString(QStringLiteral("xstr"), fXstr);
    w.writeString(QStringLiteral("ystr"), fYstr);
    w.newLine();
}

void TZahyou::loadInfo(TAbstractXmlNode &node)
{
    fXfreeFlag = node.readBool(QStringLiteral("fXfree"));
    fYfreeFlag = node.readBool(QStringLiteral("fYfree"));
    fXstr = node.readString(QStringLiteral("xstr"));
    fYstr = node.readString(QStringLiteral("ystr"));
}

} // namespace zarno
