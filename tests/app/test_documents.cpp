#include "app/logic/commandline.h"
#include "interaction_fixture.h"
#include "persist/loadsave.h"
#include "persist/zarnofile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>

using namespace zarno;
using namespace zarno::test;

namespace {

// Answers the file dialogs from queues; an empty queue cancels.
class ScriptedFileDialogs : public TFileDialogs
{
public:
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    QStringList titles;
    QString openDialog(const QString &, const QString &) override { return take(openAnswers); }
    QString saveDialog(const QString &, const QString &, const QString &title) override
    {
        titles << title;
        return take(saveAnswers);
    }

private:
    static QString take(std::deque<QString> &q)
    {
        if (q.empty())
            return QString();
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

class DocumentCycle : public InteractionTest
{
protected:
    DocumentCycle()
    {
        auto d = std::make_unique<ScriptedFileDialogs>();
        files = d.get();
        previous = TFileDialogs::install(std::move(d));
    }
    ~DocumentCycle() override { TFileDialogs::install(std::move(previous)); }

    ScriptedFileDialogs *files;
    std::unique_ptr<TFileDialogs> previous;
    QTemporaryDir dir;
};

TEST_F(DocumentCycle, BuildSaveStartNewOpenAndTheFigureIsBack)
{
    clickPoint(0, 0);
    clickPoint(2, 0, true);
    clickPoint(0, 1.5, true);
    construct(TFiguretype::FIG_gaisetsuen);
    const QString path = dir.filePath(QStringLiteral("triangle.znt"));
    files->saveAnswers.push_back(path);
    controller->executeAction(TCommandId::cmdSave);
    EXPECT_EQ(files->titles, QStringList { QStringLiteral("名前を付けてzarnoファイルを保存") });
    EXPECT_EQ(window.title, QStringLiteral("zarno - triangle.znt"));
    EXPECT_FALSE(field().isChanged());

    controller->executeAction(TCommandId::cmdNewFile); // unchanged: no question
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(field().count(), 0);

    files->openAnswers.push_back(path);
    controller->executeAction(TCommandId::cmdOpen);
    ASSERT_EQ(field().count(), 4);
    EXPECT_EQ(field().last()->getFigureType(), TFiguretype::FIG_gaisetsuen);
    EXPECT_EQ(window.title, QStringLiteral("zarno - triangle.znt"));
    EXPECT_FALSE(field().isChanged());
    // And it is alive: dragging a point moves the circle.
    drag(2, 0, 3, 0);
    EXPECT_TRUE(field().isChanged());
    EXPECT_TRUE(field().last()->isDrawable());
}

TEST_F(DocumentCycle, ClosingAChangedUnnamedDocumentWhoseNameDialogIsCancelledAsksAgain)
{
    clickPoint(1, 1);
    dialogs->answers = { TModalResult::mrYes, TModalResult::mrCancel };
    EXPECT_FALSE(controller->closeQuery()); // Yes, then the name dialog cancelled, then Cancel
    EXPECT_EQ(dialogs->shown.size(), 2);
    EXPECT_TRUE(field().isChanged());
}

TEST_F(DocumentCycle, OpeningOverUnsavedWorkAsksFirstAndAFailedOpenKeepsTheDocument)
{
    clickPoint(1, 1);
    dialogs->answers = { TModalResult::mrCancel };
    files->openAnswers.push_back(dir.filePath(QStringLiteral("x.znt")));
    controller->executeAction(TCommandId::cmdOpen);
    EXPECT_EQ(field().count(), 1);
    EXPECT_EQ(files->openAnswers.size(), 1u); // not even asked for a file

    dialogs->answers = { TModalResult::mrNo };
    const QString missing = dir.filePath(QStringLiteral("missing.znt"));
    QFile junk(missing);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a document");
    junk.close();
    files->openAnswers = { missing };
    controller->executeAction(TCommandId::cmdOpen);
    EXPECT_EQ(field().count(), 1); // the damaged file was refused; the work stays
    EXPECT_TRUE(dialogs->shown.last().text.contains(QStringLiteral("破損しているため")));
}

TEST_F(DocumentCycle, AnOpenThatInstallsNothingKeepsTheUnsavedMark)
{
    const QString damaged = dir.filePath(QStringLiteral("damaged.znt"));
    QFile junk(damaged);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a document");
    junk.close();
    // The file dialog cancelled, a damaged file, a file that is not there.
    for (const QString &answer :
        { QString(), damaged, dir.filePath(QStringLiteral("missing.znt")) }) {
        controller->executeAction(TCommandId::cmdNewFile);
        clickPoint(1, 1);
        dialogs->answers = { TModalResult::mrNo }; // do not save before opening
        files->openAnswers = { answer };
        controller->executeAction(TCommandId::cmdOpen);
        EXPECT_EQ(field().count(), 1);
        EXPECT_TRUE(field().isChanged()) << answer.toStdString();
        // So closing still asks, and Cancel keeps the work.
        dialogs->shown.clear();
        dialogs->answers = { TModalResult::mrCancel };
        EXPECT_FALSE(controller->closeQuery());
        EXPECT_EQ(dialogs->shown.size(), 1);
        dialogs->answers = { TModalResult::mrNo };
    }
}

TEST(CommandLine, TheDocumentNamedAmongTheArguments)
{
    const QString here = QDir::currentPath();
    struct Case
    {
        QStringList arguments;
        QString document;
    } cases[] = {
        { { "zarno" }, QString() },
        { { "zarno", "--measure-startup" }, QString() },
        { { "zarno", "lesson.znt" }, here + "/lesson.znt" },
        { { "zarno", "../up/lesson.znt" }, QDir::cleanPath(here + "/../up/lesson.znt") },
        { { "/usr/bin/zarno", "/tmp/授業 1.znt" }, "/tmp/授業 1.znt" },
        { { "zarno", "--measure-startup", "a.znt", "b.znt" }, here + "/a.znt" },
        { { "zarno", "file:///tmp/a%20b.znt" }, "/tmp/a b.znt" },
        { { "zarno", "--", "-odd.znt" }, here + "/-odd.znt" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(TCommandLine::documentPath(c.arguments).toStdString(), c.document.toStdString())
            << c.arguments.join(u' ').toStdString();
}

TEST_F(DocumentCycle, ADocumentNamedFromOutsideOpensAndItsErrorsLeaveTheDocument)
{
    clickPoint(0, 0);
    clickPoint(2, 0, true);
    construct(TFiguretype::FIG_senbun);
    const QString path = dir.filePath(QStringLiteral("lesson.znt"));
    files->saveAnswers.push_back(path);
    controller->executeAction(TCommandId::cmdSave);
    controller->executeAction(TCommandId::cmdNewFile);

    controller->openNamedFile(path); // nothing changed: no question
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_EQ(field().count(), 3);
    EXPECT_EQ(window.title.toStdString(), "zarno - lesson.znt");

    // Unsaved work: the question first; Cancel keeps it and opens nothing.
    controller->executeAction(TCommandId::cmdNewFile);
    clickPoint(1, 1);
    dialogs->answers = { TModalResult::mrCancel };
    controller->openNamedFile(path);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.last().text, QStringLiteral("変更を保存しますか。"));
    EXPECT_EQ(field().count(), 1);

    // A file that is not there, or damaged: its message, and the empty
    // document stays as it was.
    const QString damaged = dir.filePath(QStringLiteral("damaged.znt"));
    QFile junk(damaged);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a document");
    junk.close();
    const QString missing = dir.filePath(QStringLiteral("missing.znt"));
    struct Case
    {
        QString path;
        QString message;
    } cases[] = {
        { missing,
            QStringLiteral("ファイル(") + missing + QStringLiteral(")を開くことができません。") },
        { damaged,
            QStringLiteral("ファイル ") + damaged
                + QStringLiteral(" が\r\n破損しているため, 開くことができません。") },
    };
    for (const Case &c : cases) {
        controller->newFile(); // the state at start
        dialogs->shown.clear();
        controller->openNamedFile(c.path);
        ASSERT_EQ(dialogs->shown.size(), 1);
        EXPECT_EQ(dialogs->shown.first().text.toStdString(), c.message.toStdString());
        EXPECT_EQ(field().count(), 0);
        EXPECT_FALSE(field().isChanged());
        EXPECT_EQ(window.title, QStringLiteral("zarno - "));
    }
}

TEST_F(DocumentCycle, DroppingOneDocumentAmongFoldersOpensIt)
{
    clickPoint(0, 0);
    const QString path = dir.filePath(QStringLiteral("one.znt"));
    files->saveAnswers.push_back(path);
    controller->executeAction(TCommandId::cmdSaveAs);
    controller->executeAction(TCommandId::cmdNewFile);
    controller->openDroppedFiles({ dir.path(), path });
    EXPECT_EQ(field().count(), 1);
    controller->openDroppedFiles({ path, path + QStringLiteral(".znt") });
    QFile(path).copy(dir.filePath(QStringLiteral("two.znt")));
    controller->openDroppedFiles({ path, dir.filePath(QStringLiteral("two.znt")) });
    EXPECT_EQ(dialogs->shown.last().text,
        QStringLiteral("一度に2つ以上のファイルを開くことはできません。"));
}

} // namespace
