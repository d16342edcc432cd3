#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace zarno {

class TField;
class TAbstractXmlNode;
class TXmlFileWriter;
class TShapeFactory;
class TFileWriter;

// The five header texts of a document file.
class TZarnoFileInfo
{
public:
    QString applicationName;
    QString applicationVersion;
    QString digest;
    QString encoding;
    QString notification;

    static QString notificationText();
    // Reads the required texts; filetype is not read and nothing is compared.
    void load(TAbstractXmlNode &node);
    // Writes the six lines; filetype index 0 writes "field", 1 "ini".
    // Returns the byte offset of the digest's value.
    qint64 save(int filetypeIndex, TXmlFileWriter &writer) const;
};

// One document: its field and its names.
class TZarnofile
{
public:
    explicit TZarnofile(std::unique_ptr<TField> field);
    ~TZarnofile();

    TField &field() { return *fField; }
    TZarnoFileInfo &fileInfo() { return fFileInfo; }

    void setDocumentName(const QString &fileName);
    void setImagePath(const QString &fileName);
    // basePath + ".znt" when named, else "zarnofile1.znt".
    QString documentFileName() const;
    QString documentFolder() const;
    QString documentFileNameOnly() const;
    QString documentTitle() const;
    QString imagePath() const;
    bool isNamed() const { return fNamed; }
    bool isChanged() const;
    void clearChanged();

private:
    TZarnoFileInfo fFileInfo;
    std::unique_ptr<TField> fField;
    QString fBasePath;
    QString fImagePath;
    bool fNamed = false;
};

// Writes a document: header with its digest, field information and every
// shape, replacing the file safely.
class TDocumentWriter
{
public:
    // A document written into memory with its digest not yet sealed: taking
    // one is all that must happen while the document holds still; sealing
    // and writing may follow on another thread.
    struct Snapshot
    {
        QByteArray bytes;
        qint64 digestAt = 0;
    };

    // Raises EXmlFileWriteError when the file cannot be written.
    static void write(TZarnofile &document, const QString &fileName);
    static Snapshot snapshot(TZarnofile &document);
    // Seals and writes through the safe replace; raises as write does.
    static void writeSnapshot(Snapshot snapshot, const QString &fileName);
};

// Takes a document's snapshot a few shapes at a time, so that a large
// document never holds the caller up for long. The document must not change
// between steps: when it did, the snapshot is thrown away and begun again.
class TSteppedSnapshot
{
public:
    explicit TSteppedSnapshot(TZarnofile &document);
    ~TSteppedSnapshot();
    // Writes shapes while timeLeft() says so (at least one); true once the
    // snapshot is complete.
    bool step(const std::function<bool()> &timeLeft);
    bool isComplete() const { return fComplete; }
    TDocumentWriter::Snapshot take();

private:
    TZarnofile &fDocument;
    std::unique_ptr<TFileWriter> fWriter;
    qint64 fDigestAt = 0;
    int fNext = 0;
    bool fComplete = false;
};

// Reads a document file into a new document; raises EFileFormatError for a
// damaged file.
class TFileReader
{
public:
    TFileReader(QString fileName, const TShapeFactory &factory)
        : fFileName(std::move(fileName))
        , fFactory(factory)
    { }
    std::unique_ptr<TZarnofile> read();
    // The same on bytes in memory; with checkDigest false the parser is
    // reached for any input (fuzzing).
    std::unique_ptr<TZarnofile> readBytes(const QByteArray &bytes, bool checkDigest = true);

private:
    QString fFileName;
    const TShapeFactory &fFactory;
};

} // namespace zarno
