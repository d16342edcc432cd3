#include "persist/loadsave.h"

#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "persist/xmltext.h"
#include "persist/zarnofile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zarno {

namespace {
std::unique_ptr<TFileDialogs> &slot()
{
    static std::unique_ptr<TFileDialogs> dialogs;
    return dialogs;
}

// Where the file dialogs start before any document was opened or saved:
// the user's documents, never the folder the program happened to start in.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
} // namespace

std::unique_ptr<TFileDialogs> TFileDialogs::install(std::unique_ptr<TFileDialogs> dialogs)
{
    std::swap(slot(), dialogs);
    return dialogs;
}

TFileDialogs *TFileDialogs::current()
{
    return slot().get();
}

std::unique_ptr<TZarnofile> TLoadSave::openDocument()
{
    TFileDialogs *d = TFileDialogs::current();
    return d ? loadDocument(d->openDialog(startFolder(), filter())) : nullptr;
}

std::unique_ptr<TZarnofile> TLoadSave::loadDocument(const QString &fileName)
{
    if (fileName.isEmpty())
        return nullptr;
    try {
        std::unique_ptr<TZarnofile> document = TFileReader(fileName, fFactory).read();
        document->setDocumentName(fileName);
        lastDocumentFolder = QFileInfo(fileName).absolutePath();
        return document;
    } catch (const EFileFormatError &) {
        showAppMessage(TXmlText::damagedFileMessage(fileName), TMsgDlgType::mtWarning);
    } catch (const EFileStreamError &e) {
        showAppMessage(e.message(), TMsgDlgType::mtWarning);
    } catch (const EMyException &) {
        // A file that passed its digest but does not fit the schema (written
        // by another version, say) is as unreadable as a damaged one; the
        // current document, perhaps with unsaved work, must survive it.
        showAppMessage(TXmlText::damagedFileMessage(fileName), TMsgDlgType::mtWarning);
    }
    return nullptr;
}

TLoadSave::Saved TLoadSave::saveDocument(TZarnofile &document)
{
    try {
        TDocumentWriter::write(document, document.documentFileName());
    } catch (const EXmlFileWriteError &e) {
        showCaptionedMessage(e.message(), e.caption(), TMsgDlgType::mtError);
        return Saved::Failed;
    }
    lastDocumentFolder = document.documentFolder();
    return Saved::Written;
}

TLoadSave::Saved TLoadSave::saveDocumentAs(TZarnofile &document)
{
    TFileDialogs *d = TFileDialogs::current();
    if (!d)
        return Saved::Cancelled;
    const QString initial = QDir(startFolder()).filePath(document.documentFileNameOnly());
    const QString name
        = d->saveDialog(initial, filter(), QStringLiteral("名前を付けてzarnoファイルを保存"));
    if (name.isEmpty())
        return Saved::Cancelled;
    document.setDocumentName(name);
    return saveDocument(document);
}

TLoadSave::Saved TLoadSave::save(TZarnofile &document)
{
    return document.isNamed() ? saveDocument(document) : saveDocumentAs(document);
}

QString TLoadSave::startFolder() const
{
    return lastDocumentFolder.isEmpty() ? documentsFolder() : lastDocumentFolder;
}

void TLoadSave::rememberImageFolder(const QString &fileName)
{
    lastImageFolder = QFileInfo(fileName).absolutePath();
}

} // namespace zarno
