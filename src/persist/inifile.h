#pragma once

#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace zarno {

class TAbstractXmlNode;
class TXmlFileWriter;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// A map from name to owned object kept as a list in the order of addition;
// names compare without regard to letter case. Adding a name that is there
// replaces its object when replacing is allowed and is a program fault
// otherwise.
template <class T> class TGLightHash
{
public:
    explicit TGLightHash(bool allowReplace = false)
        : fAllowReplace(allowReplace)
    { }

    T *find(const QString &name) const
    {
        for (const auto &[key, object] : fEntries)
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return object.get();
        return nullptr;
    }
    T &add(const QString &name, std::unique_ptr<T> object);
    const std::vector<std::pair<QString, std::unique_ptr<T>>> &entries() const { return fEntries; }

private:
    bool fAllowReplace;
    std::vector<std::pair<QString, std::unique_ptr<T>>> fEntries;
};

// A value of the settings: its text, and whether a line end follows it
// when written.
struct TIniString
{
    QString text;
    bool lineBreak = true;
};

// A section of the settings: subsections in the order of first creation,
// then values in the order of first setting.
class TIniHash
{
public:
    // The subsection of that name, created empty when absent.
    TIniHash &section(const QString &name);
    TIniHash *parent() const { return fParent; }
    void clearParent() { fParent = nullptr; }

    QString readString(const QString &name, const QString &defaultValue) const;
    // The text must be exactly "true" or "false", or a decimal integer.
    bool readBool(const QString &name, bool defaultValue) const;
    int readInteger(const QString &name, int defaultValue) const;
    TWindowState readWindowState(const QString &name, TWindowState defaultValue) const;

    void writeString(const QString &name, const QString &text, bool lineBreak = true);
    void writeBool(const QString &name, bool b, bool lineBreak = true);
    void writeInteger(const QString &name, int i, bool lineBreak = true);
    void writeWindowState(const QString &name, TWindowState state, bool lineBreak = true);

    // The section's content: each subsection within its tags, then the values.
    void write(TXmlFileWriter &writer) const;
    // Copies what a read element holds: structures become subsections.
    void readFrom(TAbstractXmlNode &node);

    bool isEmpty() const { return fSections.entries().empty() && fValues.entries().empty(); }

private:
    TIniHash *fParent = nullptr;
    TGLightHash<TIniHash> fSections;
    TGLightHash<TIniString> fValues;
};

// The program's settings file: read once at start-up into a tree of
// sections, each part of the program using the root section it registered
// for, and written back once at a clean end.
class TXmlIniFile
{
public:
    // Opens the file (the name gets ".zni" when it has no extension). A
    // missing file gives an empty tree; a damaged or unreadable one is
    // reported and gives an empty tree too.
    static void open(const void *creator, const QString &baseName);
    // Only the creator may close it.
    static void close(const void *creator);
    static bool isOpen();
    static QString fileName();
    static bool settingsFileExisted();

    // Writes the whole tree with its digest through the safe replace. A
    // failure is reported (once: the program is ending) and goes no further.
    static void save();

    // The root section of that name, for the one owner that uses it; the
    // class name goes into the message when another owner asks for it.
    static TIniHash &getMyRootHash(
        const void *owner, const QString &ownerClassName, const QString &name);

    // The tree itself (tests).
    static TIniHash &root();

private:
    TXmlIniFile() = default;
    static TXmlIniFile *checkedInstance(const QString &operation);

    QString fFileName;
    const void *fCreator = nullptr;
    TIniHash fRoot;
    std::vector<std::pair<QString, std::pair<const void *, QString>>> fOwners;
    bool fExisted = false;
};

} // namespace zarno
