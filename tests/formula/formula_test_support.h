#pragma once

#include "formula/calcformulafacade.h"
#include "support/raised_message.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace zarno::test {

inline TCalcSymbolOnOff onOffXY()
{
    TCalcSymbolOnOff on;
    on.xOn = true;
    on.yOn = true;
    return on;
}

inline std::unique_ptr<TCalcFormulaFacade> facadeWith(const TCalcSymbolOnOff &onOff)
{
    auto f = TCalcFormulaFacade::createCalcFormulaFacade();
    f->setCalcSymbolOnOff(onOff);
    return f;
}

} // namespace zarno::test
