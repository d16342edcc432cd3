#include "persist/inifile.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "core/safeformat.h"
#include "persist/xmlreader.h"
#include "persist/xmltext.h"
#include "persist/xmlwriter.h"
#include "persist/zarnofile.h"

#include <QFileInfo>

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TXmlIniFile");

std::unique_ptr<TXmlIniFile> &theFile()
{
    static std::unique_ptr<TXmlIniFile> file;
    return file;
}

const char *const kWindowStates[] = { "wsNormal", "wsMinimized", "wsMaximized" };

} // namespace

template <class T> T &TGLightHash<T>::add(const QString &name, std::unique_ptr<T> object)
{
    for (auto &[key, existing] : fEntries) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!fAllowReplace)
            throw ESouteigai(QStringLiteral("TGLightHash"), { fmtArg(name) },
                QStringLiteral("key(%s)は既に登録されています。"), QStringLiteral("setValue"));
        existing = std::move(object);
        return *existing;
    }
    fEntries.emplace_back(name, std::move(object));
    return *fEntries.back().second;
}

template class TGLightHash<TIniHash>;
template class TGLightHash<TIniString>;

TIniHash &TIniHash::section(const QString &name)
{
    if (TIniHash *found = fSections.find(name))
        return *found;
    auto created = std::make_unique<TIniHash>();
    created->fParent = this;
    return fSections.add(name, std::move(created));
}

QString TIniHash::readString(const QString &name, const QString &defaultValue) const
{
    const TIniString *v = fValues.find(name);
    return v ? v->text : defaultValue;
}

bool TIniHash::readBool(const QString &name, bool defaultValue) const
{
    const TIniString *v = fValues.find(name);
    return v ? TCommonProcs::str2bool(v->text) : defaultValue;
}

int TIniHash::readInteger(const QString &name, int defaultValue) const
{
    const TIniString *v = fValues.find(name);
    return v ? TCommonProcs::str2dint(v->text) : defaultValue;
}

TWindowState TIniHash::readWindowState(const QString &name, TWindowState defaultValue) const
{
    const TIniString *v = fValues.find(name);
    if (!v)
        return defaultValue;
    for (int i = 0; i < 3; ++i)
        if (v->text == QLatin1String(kWindowStates[i]))
            return TWindowState(i);
    throw EFileFormatError(safeFormat(QStringLiteral("列挙型(%s)には, %s はありません。"),
        { fmtArg(QStringLiteral("windowState")), fmtArg(v->text) }));
}

void TIniHash::writeString(const QString &name, const QString &text, bool lineBreak)
{
    TIniString *v = fValues.find(name);
    if (!v)
        v = &fValues.add(name, std::make_unique<TIniString>());
    v->text = text;
    v->lineBreak = lineBreak;
}

void TIniHash::writeBool(const QString &name, bool b, bool lineBreak)
{
    writeString(name, b ? QStringLiteral("true") : QStringLiteral("false"), lineBreak);
}

void TIniHash::writeInteger(const QString &name, int i, bool lineBreak)
{
    writeString(name, QString::number(i), lineBreak);
}

void TIniHash::writeWindowState(const QString &name, TWindowState state, bool lineBreak)
{
    writeString(name, QLatin1String(kWindowStates[int(state)]), lineBreak);
}

void TIniHash::write(TXmlFileWriter &writer) const
{
    for (const auto &[name, sub] : fSections.entries()) {
        writer.openTag(name);
        sub->write(writer);
        writer.closeTag(name);
    }
    for (const auto &[name, value] : fValues.entries()) {
        writer.writeString(name, value->text);
        if (value->lineBreak)
            writer.newLine();
    }
}

void TIniHash::readFrom(TAbstractXmlNode &node)
{
    for (TAbstractXmlNode *child : node.children()) {
        if (child->isValueElement())
            writeString(child->tagName(), child->valueText(), true);
        else
            section(child->tagName()).readFrom(*child);
    }
}

TXmlIniFile *TXmlIniFile::checkedInstance(const QString &operation)
{
    if (!theFile())
        throw ESouteigai(kClass, QStringLiteral("ファイル名が設定されていません。"), operation);
    return theFile().get();
}

void TXmlIniFile::open(const void *creator, const QString &baseName)
{
    if (baseName.isEmpty())
        throw ESouteigai(
            kClass, QStringLiteral("ファイル名がnull文字列です。"), QStringLiteral("loadFromFile"));
    if (theFile())
        throw ESouteigai(kClass, QStringLiteral("ファイル名は既に設定済みです。"),
            QStringLiteral("loadFromFile"));
    std::unique_ptr<TXmlIniFile> file(new TXmlIniFile());
    file->fFileName
        = QFileInfo(baseName).suffix().isEmpty() ? baseName + QStringLiteral(".zni") : baseName;
    file->fCreator = creator;
    file->fExisted = QFileInfo::exists(file->fFileName);
    if (file->fExisted) {
        try {
            TXmlFileReader reader(file->fFileName);
            TXmlNode &root = reader.checkedLoad();
            TZarnoFileInfo info;
            info.load(root.getThisTagNode(QStringLiteral("fileInfo")));
            file->fRoot.readFrom(root.getThisTagNode(QStringLiteral("ini")));
        } catch (const EFileFormatError &) {
            file->fRoot = TIniHash();
            showAppMessage(safeFormat(QStringLiteral("設定ファイル(%s)が破損しています。\r\n"
                                                     "設定を初期化してzarnoの実行を開始します。"),
                               { fmtArg(file->fFileName) }),
                TMsgDlgType::mtError);
        } catch (const EFileStreamError &e) {
            file->fRoot = TIniHash();
            showAppMessage(
                e.message() + QStringLiteral("設定を初期化してzarnoの実行を開始します。"),
                TMsgDlgType::mtWarning);
        }
    }
    theFile() = std::move(file);
}

void TXmlIniFile::close(const void *creator)
{
    if (!theFile())
        return;
    if (creator != theFile()->fCreator)
        throw ESouteigai(kClass, QStringLiteral("インスタンスを破棄できるのは, 作成者だけです。"),
            QStringLiteral("freeObject"));
    theFile().reset();
}

bool TXmlIniFile::isOpen()
{
    return theFile() != nullptr;
}

QString TXmlIniFile::fileName()
{
    return checkedInstance(QStringLiteral("fileName"))->fFileName;
}

bool TXmlIniFile::settingsFileExisted()
{
    return checkedInstance(QStringLiteral("settingsFileExisted"))->fExisted;
}

void TXmlIniFile::save()
{
    TXmlIniFile *file = checkedInstance(QStringLiteral("saveToFile"));
    try {
        TXmlFileWriter writer(file->fFileName);
        writer.writeHeader();
        writer.openTag(QStringLiteral("fileInfo"));
        const qint64 digestAt = TZarnoFileInfo().save(1, writer);
        writer.closeTag(QStringLiteral("fileInfo"));
        writer.openTag(QStringLiteral("ini"));
        file->fRoot.write(writer);
        writer.closeTag(QStringLiteral("ini"));
        writer.saveWithDigest(digestAt);
    } catch (const EXmlFileWriteError &e) {
        showCaptionedMessage(e.message(), e.caption(), TMsgDlgType::mtError);
    }
}

TIniHash &TXmlIniFile::getMyRootHash(
    const void *owner, const QString &ownerClassName, const QString &name)
{
    TXmlIniFile *file = checkedInstance(QStringLiteral("getMyRootHash"));
    if (!owner)
        throw ESouteigai(kClass, QStringLiteral("キーとなるオブジェクトが nil です。"),
            QStringLiteral("getMyRootHash"));
    bool registered = false;
    for (const auto &[key, who] : file->fOwners) {
        if (key != name)
            continue;
        if (who.first != owner)
            throw ESouteigai(kClass, { fmtArg(ownerClassName), fmtArg(name), fmtArg(who.second) },
                QStringLiteral("%sがアクセスしようとしたiniFileのキー(%s)は既にオブジェクト(%s)で使"
                               "われています。"),
                QStringLiteral("getMyRootHash"));
        registered = true;
    }
    if (!registered)
        file->fOwners.push_back({ name, { owner, ownerClassName } });
    TIniHash &section = file->fRoot.section(name);
    section.clearParent();
    return section;
}

TIniHash &TXmlIniFile::root()
{
    return checkedInstance(QStringLiteral("root"))->fRoot;
}

} // namespace zarno
