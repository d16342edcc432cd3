#include "app/logic/autosave.h"
#include "interaction_fixture.h"
#include "model/shapedot.h"
#include "persist/zarnofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace zarno;
using namespace zarno::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

class AutosaveTest : public InteractionTest
{
protected:
    AutosaveTest()
    {
        autosave = std::make_unique<TAutosave>(dir.filePath(QStringLiteral("recovery")));
        autosave->setClock([this] { return now; });
        autosave->setStepBudgetMs(0); // each snapshot in one go, unless a test says
        EXPECT_TRUE(autosave->start());
        controller->setAutosave(autosave.get());
    }
    ~AutosaveTest() override
    {
        controller->setAutosave(nullptr);
        autosave.reset();
    }
    // What a save of the document now would write.
    QByteArray documentBytes()
    {
        const QString path = dir.filePath(QStringLiteral("reference.znt"));
        TDocumentWriter::write(controller->document(), path);
        return readAll(path);
    }
    // Leaves a copy as a killed program would: the copy, its name, no lock.
    TRecoveryCopy leaveOrphan(const QString &originalName)
    {
        {
            TAutosave other(autosave->root());
            other.setClock([this] { return now; });
            other.setStepBudgetMs(0);
            EXPECT_TRUE(other.start());
            other.setDocument(&controller->document());
            other.edited(true);
            other.waitForWriter();
            EXPECT_EQ(other.copiesWritten(), 1);
            // What a killed program leaves: its copy and name, no lock.
            const QString killed = other.ownFolder() + QStringLiteral("-killed");
            EXPECT_TRUE(QDir().mkpath(killed));
            for (const QString &name :
                { QStringLiteral("document.znt"), QStringLiteral("origin.txt") })
                EXPECT_TRUE(QFile::copy(
                    QDir(other.ownFolder()).filePath(name), QDir(killed).filePath(name)));
        }
        const QList<TRecoveryCopy> found = autosave->orphans();
        EXPECT_EQ(found.size(), 1);
        if (found.isEmpty())
            return {};
        if (!originalName.isEmpty()) {
            QFile f(QDir(found.first().folder).filePath(QStringLiteral("origin.txt")));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(originalName.toUtf8());
        }
        return autosave->orphans().first();
    }

    QTemporaryDir dir;
    qint64 now = 1'000'000'000;
    std::unique_ptr<TAutosave> autosave;
};

TEST_F(AutosaveTest, AChangeSchedulesACopyAConstructionWritesOneAtOnceAndItReadsBackExactly)
{
    EXPECT_FALSE(autosave->isCopyDue());
    clickPoint(-1, 0); // a new point: structural, and no copy yet
    autosave->waitForWriter();
    EXPECT_EQ(autosave->copiesWritten(), 1);
    EXPECT_EQ(readAll(autosave->ownCopyPath()), documentBytes());

    // A drag is an edit: due within the minute, not at once.
    drag(-1, 0, -1, 1);
    autosave->waitForWriter();
    EXPECT_TRUE(autosave->isCopyDue());
    EXPECT_EQ(autosave->copiesWritten(), 1);
    EXPECT_GT(autosave->nextCopyInMs(), 50000);
    // A second point within 10 s of the last copy waits until they are over ...
    now += 5000;
    clickPoint(1, 0, true);
    autosave->waitForWriter();
    EXPECT_EQ(autosave->copiesWritten(), 1);
    EXPECT_GT(autosave->nextCopyInMs(), 4000);
    EXPECT_LE(autosave->nextCopyInMs(), 5000);
    // ... and the timer brings it.
    autosave->intervalPassed();
    autosave->waitForWriter();
    EXPECT_EQ(autosave->copiesWritten(), 2);
    EXPECT_FALSE(autosave->isCopyDue());
    EXPECT_EQ(readAll(autosave->ownCopyPath()), documentBytes());

    // A construction more than 10 s after the last copy writes at once.
    now += 11000;
    construct(TFiguretype::FIG_senbun);
    autosave->waitForWriter();
    EXPECT_EQ(autosave->copiesWritten(), 3);
    EXPECT_EQ(readAll(autosave->ownCopyPath()), documentBytes());
}

TEST_F(AutosaveTest, ALargeDocumentIsTakenInStepsAndADragThrowsAHalfTakenSnapshotAway)
{
    for (int i = 0; i < 2000; ++i) {
        TShapeStore built = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
        static_cast<TShapeDot *>(built.first())->setInitialXY({ (i % 50) * 0.1, (i / 50) * 0.1 });
        field().takeAllFrom(built);
    }
    autosave->setStepBudgetMs(1);
    clickPoint(-3, -3); // structural: the snapshot begins
    ASSERT_TRUE(autosave->isTakingSnapshot()); // 2001 points take more than 1 ms
    EXPECT_EQ(autosave->copiesWritten(), 0);
    // A drag of the new point comes between two steps.
    drag(-3, -3, -3, -2);
    EXPECT_FALSE(autosave->isTakingSnapshot());
    EXPECT_TRUE(autosave->isCopyDue());
    EXPECT_LE(autosave->nextCopyInMs(), TAutosave::kRetryMs);
    // Tried again, and taken to the end one step at a time.
    autosave->intervalPassed();
    int steps = 1;
    while (!autosave->stepSnapshot() && steps < 100000)
        ++steps;
    EXPECT_GT(steps, 1);
    autosave->waitForWriter();
    EXPECT_EQ(autosave->copiesWritten(), 1);
    EXPECT_EQ(readAll(autosave->ownCopyPath()), documentBytes()); // with the point moved
}

TEST_F(AutosaveTest, SavingOrANewDocumentRemovesTheCopyAndACleanEndRemovesTheFolder)
{
    clickPoint(0, 0);
    autosave->waitForWriter();
    ASSERT_TRUE(QFileInfo::exists(autosave->ownCopyPath()));
    dialogs->answers.clear();
    controller->document().setDocumentName(dir.filePath(QStringLiteral("saved.znt")));
    ASSERT_EQ(controller->saveFile(false), TLoadSave::Saved::Written);
    EXPECT_FALSE(QFileInfo::exists(autosave->ownCopyPath()));
    EXPECT_FALSE(autosave->isCopyDue());

    now += 20000;
    clickPoint(1, 1);
    autosave->waitForWriter();
    ASSERT_TRUE(QFileInfo::exists(autosave->ownCopyPath()));
    dialogs->answers.push_back(TModalResult::mrNo); // do not save
    controller->executeAction(TCommandId::cmdNewFile);
    EXPECT_FALSE(QFileInfo::exists(autosave->ownCopyPath()));

    const QString folder = autosave->ownFolder();
    controller->setAutosave(nullptr);
    autosave.reset();
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(AutosaveTest, ACopyOfAKilledProgramIsOfferedAndRestoredUnsavedUnderItsName)
{
    clickPoint(-1, -1);
    clickPoint(1, 1, true);
    construct(TFiguretype::FIG_circle);
    const QByteArray before = documentBytes();
    const int shapes = field().count();
    const QString original = dir.filePath(QStringLiteral("円の図.znt"));
    leaveOrphan(original);
    dialogs->answers.push_back(TModalResult::mrNo); // the running document: do not save
    controller->executeAction(TCommandId::cmdNewFile);
    ASSERT_EQ(field().count(), 0);

    dialogs->shown.clear();
    dialogs->answers.push_back(TModalResult::mrYes);
    EXPECT_TRUE(controller->offerRecovery());
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown.first().text.startsWith(
        QStringLiteral("前回正常に終了しなかったときの図があります。復元しますか？")));
    EXPECT_TRUE(dialogs->shown.first().text.contains(QStringLiteral("円の図.znt")));
    EXPECT_EQ(field().count(), shapes);
    EXPECT_TRUE(controller->document().isChanged());
    EXPECT_EQ(controller->document().documentFileName(), original);
    EXPECT_EQ(window.title, QStringLiteral("zarno - 円の図.znt"));
    // The restored work stays safe as this program's own copy until saved.
    EXPECT_TRUE(autosave->orphans().isEmpty());
    EXPECT_EQ(readAll(autosave->ownCopyPath()), before);
    EXPECT_FALSE(controller->offerRecovery());
}

TEST_F(AutosaveTest, ADeclinedCopyIsKeptSevenDaysThenForgotten)
{
    clickPoint(0, 0);
    leaveOrphan(QString());
    dialogs->answers.push_back(TModalResult::mrNo);
    EXPECT_FALSE(controller->offerRecovery());
    EXPECT_TRUE(dialogs->shown.last().text.contains(QStringLiteral("名前のない図")));
    EXPECT_TRUE(autosave->orphans().isEmpty());
    const QDir discarded(autosave->root() + QStringLiteral("/discarded"));
    ASSERT_EQ(discarded.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    now += 6 * 24 * 3600 * 1000LL;
    autosave->purgeDiscarded();
    EXPECT_EQ(discarded.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    now += 2 * 24 * 3600 * 1000LL;
    autosave->purgeDiscarded();
    EXPECT_EQ(discarded.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 0);
}

TEST_F(AutosaveTest, ADamagedCopyIsReportedAndSetAsideNeverOpened)
{
    clickPoint(0, 0);
    const TRecoveryCopy copy = leaveOrphan(QString());
    QByteArray bytes = readAll(copy.documentPath);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
    {
        QFile f(copy.documentPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    dialogs->answers.push_back(TModalResult::mrNo);
    controller->executeAction(TCommandId::cmdNewFile);
    dialogs->shown.clear();
    dialogs->answers.push_back(TModalResult::mrYes);
    EXPECT_FALSE(controller->offerRecovery());
    ASSERT_EQ(dialogs->shown.size(), 2);
    EXPECT_TRUE(dialogs->shown.last().text.contains(QStringLiteral("破損しているため")))
        << dialogs->shown.last().text.toStdString();
    EXPECT_EQ(field().count(), 0); // the new document stays
    EXPECT_TRUE(autosave->orphans().isEmpty());
    EXPECT_EQ(QDir(autosave->root() + QStringLiteral("/damaged"))
                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                  .size(),
        1);
}

TEST_F(AutosaveTest, ACopyOfAProgramStillRunningIsNeverTouched)
{
    TAutosave other(autosave->root());
    other.setStepBudgetMs(0);
    ASSERT_TRUE(other.start());
    other.setDocument(&controller->document());
    clickPoint(0, 0);
    other.edited(true);
    other.waitForWriter();
    ASSERT_TRUE(QFileInfo::exists(other.ownCopyPath()));
    EXPECT_TRUE(autosave->orphans().isEmpty());
    EXPECT_FALSE(controller->offerRecovery());
    EXPECT_TRUE(QFileInfo::exists(other.ownCopyPath()));

    // The folder of a program that was killed without unsaved work holds
    // nothing to offer and goes.
    const QString empty = autosave->root() + QStringLiteral("/left-empty");
    ASSERT_TRUE(QDir().mkpath(empty));
    EXPECT_TRUE(autosave->orphans().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_TRUE(QFileInfo::exists(other.ownCopyPath()));
}

TEST_F(AutosaveTest, ACopyThatCannotBeWrittenIsReportedOnceAndTheWorkGoesOn)
{
    // The program's folder becomes a file: nothing can be written into it.
    QDir(autosave->ownFolder()).removeRecursively();
    {
        QFile blocker(autosave->ownFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    dialogs->shown.clear();
    clickPoint(0, 0);
    autosave->waitForWriter();
    now += 20000;
    clickPoint(1, 0);
    autosave->waitForWriter();
    now += 20000;
    clickPoint(2, 0);
    EXPECT_EQ(field().count(), 3);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown.first().caption, QStringLiteral("自動保存"));
    QFile::remove(autosave->ownFolder());
}

} // namespace
