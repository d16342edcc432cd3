#pragma once

#include "base/fileio.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace zarno {

class TXmlTree;

// An element read from a file. Shapes read their values from it by tag
// name; every child may be read once.
//
// Nodes live in the arena of their TXmlTree and look at its text: the name
// and most values are views into it, so a node is only valid while its tree
// lives. Everything a node hands out (tagName, valueText, ...) is an owned
// copy and may be kept.
class TXmlNode : public TAbstractXmlNode
{
    struct Key
    {
        explicit Key() = default;
    };

public:
    // Only a tree makes nodes; the key keeps the constructor usable by its
    // arena and by nothing else.
    TXmlNode(Key, TXmlTree *tree, quint32 tagAt, quint32 nameSize);
    TXmlNode(const TXmlNode &) = delete;
    TXmlNode &operator=(const TXmlNode &) = delete;

    QString tagName() const override { return tagNameView().toString(); }
    bool isValueElement() const override { return fHasValue; }
    QString valueText() const override;
    QString positionText() const override;

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
    bool isRead() const { return fRead; }
    void markRead() { fRead = true; }

    QStringView tagNameView() const;
    // The value as it stands in the tree (empty for a structure element);
    // valid while the tree lives.
    QStringView valueView() const;
    // Byte offsets in the file (byte-order mark included) of the start tag
    // and of the value's first character.
    qint64 startByteOffset() const;
    qint64 valueByteOffset() const;

private:
    friend class TXmlTree;
    friend class TXmlTreeBuilder;

    TXmlNode *findFirst(QStringView name);
    [[noreturn]] void conversionError(const QString &word) const;

    TXmlTree *fTree;
    TXmlNode *fFirstChild = nullptr;
    TXmlNode *fNextSibling = nullptr;
    // Character indexes into the tree's text: the start tag's "<" and the
    // value's first character.
    quint32 fTagAt;
    quint32 fValueAt = 0;
    // The length of the value's view, or with fOwnedValue the index of the
    // value in the tree's owned values (unescaped or joined texts).
    quint32 fValueSize = 0;
    quint32 fNameSize : 29;
    quint32 fHasValue : 1 = 0;
    quint32 fOwnedValue : 1 = 0;
    quint32 fRead : 1 = 0;
};

// The synthetic root named "root" of a parsed file. It holds the text, every
// node and the few values that had to be rewritten, so the nodes cannot
// outlive what they look at.
class TXmlTree : public TXmlNode
{
public:
    ~TXmlTree() override;

    // The text a tree's offsets are counted in (after the byte-order mark).
    QStringView text() const { return fView; }
    // 1-based line and column of a character index.
    std::pair<int, int> lineColumn(qsizetype at) const;
    // "12行5文字目,ファイル先頭から001Abytes目" for a character index.
    QString positionOf(qsizetype at) const;
    // Elements in the tree, the root included.
    qsizetype nodeCount() const { return qsizetype(fNodes.size()) + 1; }

private:
    friend class TXmlNode;
    friend class TXmlTreeBuilder;
    friend class TXmlFileReader;

    TXmlTree();
    // The tree keeps the string (shared, not copied) and reads it in place.
    static std::unique_ptr<TXmlTree> ofText(const QString &text);
    // A file image: byte-order mark, then UTF-16LE. On a little-endian host
    // the bytes are read in place; raises the damaged-file error naming
    // fileName when they cannot be a file of ours.
    static std::unique_ptr<TXmlTree> ofFileBytes(const QByteArray &bytes, const QString &fileName);

    TXmlNode *newNode(quint32 tagAt, quint32 nameSize);
    quint32 keepValue(QString value);
    void setText(QStringView view);

    QString fOwnedText;
    QByteArray fOwnedBytes;
    QStringView fView;
    std::deque<TXmlNode> fNodes;
    std::vector<QString> fOwnedValues;
    // Where each line starts; built on the first position asked for.
    mutable std::vector<quint32> fLineStarts;
};

// Reads a tagged text file into a tree under a synthetic root named "root".
class TXmlFileReader
{
public:
    explicit TXmlFileReader(QString fileName)
        : fFileName(std::move(fileName))
    { }

    // With the size and line limits and the digest check; raises
    // EFileFormatError for a damaged file.
    TXmlNode &checkedLoad();
    // Without limits or digest.
    TXmlNode &plainLoad();

    // The same on bytes already in memory (the file name only names them).
    // The tree shares the bytes rather than copying them.
    TXmlNode &checkedLoadBytes(const QByteArray &bytes);
    TXmlNode &plainLoadBytes(const QByteArray &bytes);

    // Parses the text of a file (after its byte-order mark). With
    // firstElementOnly the parse stops after the first top-level element.
    static std::unique_ptr<TXmlTree> parse(const QString &text, bool firstElementOnly = false);

private:
    QByteArray readFile(bool limited) const;

    QString fFileName;
    std::unique_ptr<TXmlTree> fRoot;
};

} // namespace zarno
