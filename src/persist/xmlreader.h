#pragma once

#include "model/fileio.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace zarno {

// One token of a tagged text file: a start tag, an end tag or a text.
struct TXmlToken
{
    enum Kind : quint8 { Open = 0, Close = 1, Text = 2 };
    Kind kind = Text;
    QString text;
    qint64 byteOffset = 0;
    int line = 1;
    int column = 1;

    QString position() const;
};

// An element read from a file. Shapes read their values from it by tag
// name; every child may be read once.
class TXmlNode : public TAbstractXmlNode
{
public:
    explicit TXmlNode(TXmlToken start) : fStart(std::move(start)) {}

    QString tagName() const override { return fStart.text; }
    bool isValueElement() const override { return fHasText; }
    QString valueText() const override;
    QString positionText() const override { return fStart.position(); }

    TAbstractXmlNode *getThisTagNodePermitNil(const QString &name) override;
    TAbstractXmlNode &getThisTagNode(const QString &name) override;
    QList<TAbstractXmlNode *> children() override;
    QList<TAbstractXmlNode *> childrenNotRead() override;
    QString readString(const QString &name) override;
    bool readBool(const QString &name) override;
    int readInteger(const QString &name) override;
    double readDouble(const QString &name) override;
    TColor readColor(const QString &name) override;
    TModelPoint readModelPoint(const QString &name) override;
    bool readBoolOr(const QString &name, bool defaultValue) override;
    int readIntegerOr(const QString &name, int defaultValue) override;
    void checkAllRead(const QString &className, const QString &operation) override;
    [[noreturn]] void raiseFormatError(const QString &text) const override;

    // Children with this name, in file order (not marked read).
    QList<TXmlNode *> childrenNamed(const QString &name);
    TXmlNode *addChild(TXmlToken start);
    void setText(const TXmlToken &text);
    bool isRead() const { return fRead; }
    void markRead() { fRead = true; }
    const TXmlToken &startToken() const { return fStart; }
    const TXmlToken &textToken() const { return fText; }

private:
    TXmlNode *findFirst(const QString &name);
    [[noreturn]] void conversionError(const QString &word, const TXmlNode &node) const;

    TXmlToken fStart;
    TXmlToken fText;
    bool fHasText = false;
    bool fRead = false;
    std::vector<std::unique_ptr<TXmlNode>> fChildren;
};

// Reads a tagged text file into a tree under a synthetic root named "root".
class TXmlFileReader
{
public:
    explicit TXmlFileReader(QString fileName) : fFileName(std::move(fileName)) {}

    // With the size and line limits and the digest check; raises
    // EFileFormatError for a damaged file.
    TXmlNode &checkedLoad();
    // Without limits or digest.
    TXmlNode &plainLoad();

    // The same on bytes already in memory (the file name only names them).
    TXmlNode &checkedLoadBytes(const QByteArray &bytes);
    TXmlNode &plainLoadBytes(const QByteArray &bytes);

    // Parses the text of a file (after its byte-order mark). With
    // firstElementOnly the parse stops after the first top-level element.
    static std::unique_ptr<TXmlNode> parse(const QString &text, bool firstElementOnly = false);

private:
    QByteArray readFile(bool limited) const;

    QString fFileName;
    std::unique_ptr<TXmlNode> fRoot;
};

} // namespace zarno
