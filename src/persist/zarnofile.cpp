#include "persist/zarnofile.h"

#include "core/appinfo.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "model/field.h"
#include "model/shape.h"
#include "model/shapefactory.h"
#include "persist/digest.h"
#include "persist/filewriter.h"
#include "persist/xmlreader.h"
#include "persist/xmltext.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace zarno {

QString TZarnoFileInfo::notificationText()
{
    return QStringLiteral(
        "このファイルを編集しないでください。zarnoで開くことができなくなります。");
}

void TZarnoFileInfo::load(TAbstractXmlNode &node)
{
    applicationName = node.readString(QStringLiteral("applicationName"));
    applicationVersion = node.readString(QStringLiteral("applicationVersion"));
    encoding = node.readString(QStringLiteral("encoding"));
    digest = node.readString(QStringLiteral("digest"));
    notification = node.readString(QStringLiteral("notification"));
}

qint64 TZarnoFileInfo::save(int filetypeIndex, TXmlFileWriter &w) const
{
    w.writeString(QStringLiteral("encoding"), QStringLiteral("utf-16"));
    w.newLine();
    w.writeString(QStringLiteral("applicationName"), QStringLiteral("zarno"));
    w.newLine();
    w.writeString(QStringLiteral("applicationVersion"),
        TAppInfo::versionFromFileVersion(TAppInfo::fileVersion()));
    w.newLine();
    w.writeString(QStringLiteral("filetype"),
        filetypeIndex == 0 ? QStringLiteral("field") : QStringLiteral("ini"));
    w.newLine();
    const qint64 at = w.writeString(QStringLiteral("digest"),
                           TMyFigProp::placeholderText() + TMyFigProp::identifierText())
                          .value;
    w.newLine();
    w.writeString(QStringLiteral("notification"), notificationText());
    w.newLine();
    return at;
}

TZarnofile::TZarnofile(std::unique_ptr<TField> field)
    : fField(std::move(field))
{ }

TZarnofile::~TZarnofile() = default;

void TZarnofile::setDocumentName(const QString &fileName)
{
    const QFileInfo info(fileName);
    fBasePath = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    if (!fNamed)
        fImagePath = fBasePath + QStringLiteral(".jpg");
    fNamed = true;
}

void TZarnofile::setImagePath(const QString &fileName)
{
    fImagePath = fileName;
    if (!fNamed)
        fBasePath = QFileInfo(fileName).completeBaseName();
    fNamed = true;
}

QString TZarnofile::documentFileName() const
{
    return fNamed ? fBasePath + QStringLiteral(".znt") : QStringLiteral("zarnofile1.znt");
}

QString TZarnofile::documentFolder() const
{
    return QFileInfo(documentFileName()).path();
}

QString TZarnofile::documentFileNameOnly() const
{
    return QFileInfo(documentFileName()).fileName();
}

QString TZarnofile::documentTitle() const
{
    return QFileInfo(fBasePath).completeBaseName();
}

QString TZarnofile::imagePath() const
{
    return fNamed ? fImagePath : QStringLiteral("zarnofile1.jpg");
}

bool TZarnofile::isChanged() const
{
    return fField->isChanged();
}

void TZarnofile::clearChanged()
{
    fField->clearChanged();
}

namespace {

qint64 writeDocumentHead(TZarnofile &document, TFileWriter &writer)
{
    TXmlFileWriter &xml = writer.xml();
    xml.writeHeader();
    xml.openTag(QStringLiteral("fileInfo"));
    const qint64 digestAt = document.fileInfo().save(0, xml);
    xml.closeTag(QStringLiteral("fileInfo"));
    xml.openTag(QStringLiteral("field"));
    return digestAt;
}

qint64 writeDocument(TZarnofile &document, TFileWriter &writer)
{
    const qint64 digestAt = writeDocumentHead(document, writer);
    document.field().saveToFile(writer);
    writer.xml().closeTag(QStringLiteral("field"));
    return digestAt;
}

} // namespace

void TDocumentWriter::write(TZarnofile &document, const QString &fileName)
{
    TFileWriter writer(fileName);
    const qint64 digestAt = writeDocument(document, writer);
    writer.xml().saveWithDigest(digestAt);
}

TDocumentWriter::Snapshot TDocumentWriter::snapshot(TZarnofile &document)
{
    TFileWriter writer(document.documentFileName());
    const qint64 digestAt = writeDocument(document, writer);
    return { writer.xml().bytes(), digestAt };
}

void TDocumentWriter::writeSnapshot(Snapshot snapshot, const QString &fileName)
{
    if (snapshot.bytes.size() > TXmlText::kMaxFileSize)
        throw EXmlFileWriteError(
            safeFormat(QStringLiteral("ファイル(%s)が大きすぎるため, 保存できませんでした。"),
                { fmtArg(fileName) }),
            QStringLiteral("zarnoファイルを保存"), 2);
    TMyFigProp::seal(snapshot.bytes, snapshot.digestAt);
    TXmlFileWriter::saveSafely(fileName, snapshot.bytes);
}

TSteppedSnapshot::TSteppedSnapshot(TZarnofile &document)
    : fDocument(document)
    , fWriter(std::make_unique<TFileWriter>(document.documentFileName()))
{
    fDigestAt = writeDocumentHead(fDocument, *fWriter);
    fDocument.field().saveHead(*fWriter);
}

TSteppedSnapshot::~TSteppedSnapshot() = default;

bool TSteppedSnapshot::step(const std::function<bool()> &timeLeft)
{
    TField &field = fDocument.field();
    const int count = field.count();
    do {
        if (fNext >= count)
            break;
        field.item(fNext++)->saveToFile(*fWriter);
    } while (timeLeft());
    if (fNext >= count && !fComplete) {
        field.saveTail(*fWriter);
        fWriter->xml().closeTag(QStringLiteral("field"));
        fComplete = true;
    }
    return fComplete;
}

TDocumentWriter::Snapshot TSteppedSnapshot::take()
{
    return { fWriter->xml().bytes(), fDigestAt };
}

std::unique_ptr<TZarnofile> TFileReader::read()
{
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileStreamError(TXmlText::cannotOpenMessage(fFileName));
    if (file.size() > TXmlText::kMaxFileSize)
        throw EFileFormatError(QStringLiteral("ファイルサイズが大きすぎます。"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileStreamError(TXmlText::cannotOpenMessage(fFileName));
    return readBytes(bytes);
}

std::unique_ptr<TZarnofile> TFileReader::readBytes(const QByteArray &bytes, bool checkDigest)
{
    TXmlFileReader reader(fFileName);
    TXmlNode &root = checkDigest ? reader.checkedLoadBytes(bytes) : reader.plainLoadBytes(bytes);
    auto document = std::make_unique<TZarnofile>(std::make_unique<TField>());
    document->fileInfo().load(root.getThisTagNode(QStringLiteral("fileInfo")));
    TAbstractXmlNode &field = root.getThisTagNode(QStringLiteral("field"));
    document->field().loadFieldInfo(field);
    // A scale that is not a positive number cannot have been written by us.
    const TModelPoint mm = document->field().getMmPerModel1();
    if (!(mm.x > 0 && mm.y > 0 && std::isfinite(mm.x) && std::isfinite(mm.y)))
        throw EFileFormatError(TXmlText::damagedFileMessage(fFileName));
    fFactory.readAll(field.getThisTagNode(QStringLiteral("figureList")), document->field());
    return document;
}

} // namespace zarno
