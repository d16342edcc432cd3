#pragma once

#include <QString>
#include <memory>

namespace zarno {

class TShapeFactory;
class TZarnofile;

// The platform's open and save dialogs as the logic asks for them; the
// program installs Qt's, tests a scripted one. An empty name means cancelled.
class TFileDialogs
{
public:
    virtual ~TFileDialogs() = default;
    virtual QString openDialog(const QString &initialFolder, const QString &filter) = 0;
    // Asks before overwriting an existing file.
    virtual QString saveDialog(const QString &fileName, const QString &filter, const QString &title)
        = 0;

    static std::unique_ptr<TFileDialogs> install(std::unique_ptr<TFileDialogs> dialogs);
    static TFileDialogs *current();
};

// Opens and saves documents: the dialogs, the error reports and the folders
// last used.
class TLoadSave
{
public:
    enum class Saved { Written, Cancelled, Failed };

    explicit TLoadSave(const TShapeFactory &factory)
        : fFactory(factory)
    { }

    static QString filter() { return QStringLiteral("zarno file (*.znt)|*.znt"); }

    // nullptr when cancelled or unreadable; the reason has been shown and
    // the current document is untouched.
    std::unique_ptr<TZarnofile> openDocument();
    std::unique_ptr<TZarnofile> loadDocument(const QString &fileName);
    Saved saveDocument(TZarnofile &document);
    Saved saveDocumentAs(TZarnofile &document);
    // A named document is written; an unnamed one asks for its name first.
    Saved save(TZarnofile &document);
    void rememberImageFolder(const QString &fileName);

    QString lastDocumentFolder;
    QString lastImageFolder;

private:
    QString startFolder() const;

    const TShapeFactory &fFactory;
};

} // namespace zarno
