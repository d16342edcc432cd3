#include "support/memory_document.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"

namespace zarno::test {

MemoryNode *MemoryNode::addChild(const QString &name, const QString &value, bool isValue)
{
    fChildren.push_back(std::make_unique<MemoryNode>(name, value, isValue));
    return fChildren.back().get();
}

MemoryNode *MemoryNode::findChild(const QString &name)
{
    for (auto &c : fChildren)
        if (c->fName == name)
            return c.get();
    return nullptr;
}

TAbstractXmlNode *MemoryNode::getThisTagNodePermitNil(const QString &name)
{
    MemoryNode *c = findChild(name);
    if (!c)
        return nullptr;
    if (c->fRead)
        throw ESouteigai(QStringLiteral("TXmlNode"), { fmtArg(name) },
            QStringLiteral("タグ<%s>は既にサブクラスで読み込み済です。"),
            QStringLiteral("getThisTagNodePermitNil"));
    c->fRead = true;
    return c;
}

TAbstractXmlNode &MemoryNode::getThisTagNode(const QString &name)
{
    TAbstractXmlNode *c = getThisTagNodePermitNil(name);
    if (!c)
        throw ESouteigai(QStringLiteral("TXmlNode"), { fmtArg(name) },
            QStringLiteral("必要なタグ名(%s)がファイルに存在しません。"),
            QStringLiteral("getThisTagNode"));
    return *c;
}

QList<TAbstractXmlNode *> MemoryNode::children()
{
    QList<TAbstractXmlNode *> r;
    for (auto &c : fChildren)
        r << c.get();
    return r;
}

QList<TAbstractXmlNode *> MemoryNode::childrenNotRead()
{
    QList<TAbstractXmlNode *> r;
    for (auto &c : fChildren)
        if (!c->fRead)
            r << c.get();
    return r;
}

QString MemoryNode::readString(const QString &name)
{
    return getThisTagNode(name).valueText();
}

bool MemoryNode::readBool(const QString &name)
{
    const QString t = readString(name);
    if (t == QLatin1String("true"))
        return true;
    if (t == QLatin1String("false"))
        return false;
    formatError(QStringLiteral("boolに変換できない文字列(%1)です。").arg(t));
}

int MemoryNode::readInteger(const QString &name)
{
    const QString t = readString(name);
    if (!TCommonProcs::isIntegerString(t))
        formatError(QStringLiteral("integerに変換できない文字列(%1)です。").arg(t));
    return TCommonProcs::str2dint(t);
}

double MemoryNode::readDouble(const QString &name)
{
    bool ok = false;
    const double v = readString(name).toDouble(&ok);
    if (!ok)
        formatError(QStringLiteral("doubleに変換できない文字列です。"));
    return v;
}

TColor MemoryNode::readColor(const QString &name)
{
    const QString t = readString(name);
    bool ok = false;
    const uint v = t.mid(1).toUInt(&ok, 16);
    if (!t.startsWith(QLatin1Char('$')) || !ok)
        formatError(QStringLiteral("colorに変換できない文字列(%1)です。").arg(t));
    return v;
}

TModelPoint MemoryNode::readModelPoint(const QString &name)
{
    const QStringList parts = readString(name).split(QLatin1Char(','));
    if (parts.size() != 2)
        formatError(QStringLiteral("数値の区切り文字(,)がありません。"));
    return { parts[0].toDouble(), parts[1].toDouble() };
}

bool MemoryNode::readBoolOr(const QString &name, bool defaultValue)
{
    TAbstractXmlNode *n = getThisTagNodePermitNil(name);
    return n ? n->valueText() == QLatin1String("true") : defaultValue;
}

int MemoryNode::readIntegerOr(const QString &name, int defaultValue)
{
    TAbstractXmlNode *n = getThisTagNodePermitNil(name);
    return n ? n->valueText().toInt() : defaultValue;
}

void MemoryNode::checkAllRead(const QString &className, const QString &operation)
{
    for (auto &c : fChildren)
        if (!c->fRead)
            throw ESouteigai(className, { fmtArg(c->fName), fmtArg(c->valueText()) },
                QStringLiteral("タグ<%s>(%s)がファイルに存在しますが, 読み込まれませんでした。"),
                operation);
}

void MemoryNode::raiseFormatError(const QString &text) const
{
    formatError(text);
}

void MemoryNode::formatError(const QString &text) const
{
    throw EFileFormatError(text + QStringLiteral("(<") + fName + QStringLiteral(">)"));
}

MemoryWriter::MemoryWriter()
    : fRoot(std::make_unique<MemoryNode>(QStringLiteral("root")))
{
    fStack.push_back(fRoot.get());
}

QStringList MemoryWriter::lines() const
{
    QStringList r = fLines;
    if (!fCurrentLine.isEmpty())
        r << fCurrentLine;
    return r;
}

void MemoryWriter::openTag(const QString &name)
{
    fLines << QString(qsizetype(fStack.size() - 1), QLatin1Char('\t')) + QLatin1Char('<') + name
            + QLatin1Char('>');
    fStack.push_back(fStack.back()->addChild(name));
}

void MemoryWriter::closeTag(const QString &name)
{
    fStack.pop_back();
    fLines << QString(qsizetype(fStack.size() - 1), QLatin1Char('\t')) + QStringLiteral("</") + name
            + QLatin1Char('>');
}

void MemoryWriter::writeColor(const QString &n, TColor c)
{
    value(n, QStringLiteral("$%1").arg(c, 8, 16, QLatin1Char('0')).toUpper());
}

void MemoryWriter::newLine()
{
    fLines << fCurrentLine;
    fCurrentLine.clear();
}

void MemoryWriter::value(const QString &name, const QString &text)
{
    if (fCurrentLine.isEmpty())
        fCurrentLine = QString(qsizetype(fStack.size() - 1), QLatin1Char('\t'));
    fCurrentLine += QLatin1Char('<') + name + QLatin1Char('>') + text + QStringLiteral("</") + name
        + QLatin1Char('>');
    fStack.back()->addChild(name, text, true);
}

void MemoryWriter::pair(const QString &name, const TModelPoint &p)
{
    value(name, QString::number(p.x, 'g', 15) + QLatin1Char(',') + QString::number(p.y, 'g', 15));
}

} // namespace zarno::test
