// What the user sees when the data file cannot take a write: a full disk,
// an I/O error, a read-only file or folder, another program's lock, a
// damaged or emptied file. Driven through the real day windows over the
// real store; the faults of the disk come from a file layer under the
// engine, the lock from a second process.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "FaultyDisk.h"
#include "TestSupport.h"
#include "app/Unit1.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "day/Unit2.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "widgets/DBEdit.h"
#include "widgets/DBNavigator.h"

using namespace testsupport;
namespace disk = testsupport::faultydisk;

namespace {

const QDate kSafetyToday(2008, 3, 10);
const QString kStoredDay = QStringLiteral("2008-03-05");
constexpr int kPageSize = 1024;
// A fault at a later write of a post, after the journal's first writes: the
// engine must roll back what it had begun.
constexpr int kLastWriteOfAPost = 5;

enum class Cause {
    DiskFull,
    DiskFullWhileCommitting,
    IoError,
    IoErrorWhileCommitting,
    ReadOnlyFile,
    ReadOnlyFolder,
    LockedByAnotherProgram,
    AnotherProgramWriting,
    PagesOverwritten,
    ByteChangedTimesKept,
    Truncated,
    Emptied,
    ReadOnlyFileMode,
    ReadOnlyFolderMode,
};

bool IsDamage(Cause cause) {
    return cause == Cause::PagesOverwritten || cause == Cause::ByteChangedTimesKept ||
           cause == Cause::Truncated || cause == Cause::Emptied;
}

// Read-only files are played by the file layer only when their handle
// opens after the fault: the program meets them when a day opens.
bool ActsOnNewHandles(Cause cause) {
    return cause == Cause::ReadOnlyFile || cause == Cause::ReadOnlyFileMode;
}

widgets::DBEdit* SlotEdit(QWidget* table, int slot) {
    return table->findChild<widgets::DBEdit*>(QStringLiteral("DBEdit%1").arg(slot));
}

QAbstractButton* PostButtonOf(QWidget* window) {
    return window->findChild<widgets::DBNavigator*>(QStringLiteral("DBNavigator1"))
        ->button(widgets::NavigatorButton::Post);
}

QLabel* DayCell(QWidget* form, int day) {
    for (int cell = 1; cell <= MonthCalendar::kDayCells; ++cell) {
        auto* label = form->findChild<QLabel*>(QStringLiteral("LabelD%1").arg(cell));
        if (label->text() == QString::number(day)) {
            return label;
        }
    }
    return nullptr;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// Every row of the day table, as text, through a connection of its own.
QStringList StoredDays() {
    store::DiscardIdleHandles();
    store::Connection connection;
    connection.reopen(app().AppConnectionString);
    store::Statement statement(connection,
                               QStringLiteral("SELECT * FROM RANTEBOU ORDER BY HMEROMHNIA"));
    QStringList rows;
    while (statement.step()) {
        QStringList values;
        for (int column = 0; column < statement.columnCount(); ++column) {
            values.append(statement.value(column).toString());
        }
        rows.append(values.join(QLatin1Char('|')));
    }
    return rows;
}

void OverwritePage(const QString& path, int page) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.size() > qint64(page) * kPageSize);
    QVERIFY(file.seek(qint64(page - 1) * kPageSize));
    QCOMPARE(file.write(QByteArray(kPageSize, '\xA5')), qint64(kPageSize));
}

// One byte in the middle of a page, and the file's times put back as a
// program that keeps them does: the size and the modification time say
// nothing of the change.
void ChangeByteKeepingTimes(const QString& path, int page) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    QVERIFY(::stat(name.constData(), &before) == 0);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 offset = qint64(page - 1) * kPageSize + kPageSize / 2;
        QVERIFY(file.seek(offset));
        const QByteArray byte = file.read(1);
        QCOMPARE(byte.size(), 1);
        QVERIFY(file.seek(offset));
        QCOMPARE(file.write(QByteArray(1, char(~byte.at(0)))), qint64(1));
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(::utimensat(AT_FDCWD, name.constData(), times, 0) == 0);
    struct stat after {};
    QVERIFY(::stat(name.constData(), &after) == 0);
    QCOMPARE(after.st_size, before.st_size);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

void CutFile(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY(file.resize(size));
}

// Records and closes any day table that opens, so that a table that should
// not have opened fails the test instead of waiting for a user.
class TableWatch {
public:
    TableWatch() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* table = qobject_cast<TForm2*>(QApplication::activeModalWidget())) {
                ++opened_;
                table->close();
            }
        });
        timer_.start();
    }
    int opened() const { return opened_; }

private:
    QTimer timer_;
    int opened_ = 0;
};

}  // namespace

Q_DECLARE_METATYPE(Cause)

// Holds the lock of the database file from a second process, as another
// program would, until released.
class LockHolder {
public:
    ~LockHolder() { release(); }

    // kind: "EXCLUSIVE" (no reader gets in) or "IMMEDIATE" (another writer).
    bool take(const QString& connectionString, const QString& kind) {
        process_.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--hold-lock"), connectionString, kind});
        if (!process_.waitForStarted(kModalTimeoutMs)) {
            return false;
        }
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(kModalTimeoutMs)) {
                return false;
            }
        }
        return process_.readLine().trimmed() == "locked";
    }

    void release() {
        if (process_.state() == QProcess::NotRunning) {
            return;
        }
        process_.closeWriteChannel();
        if (!process_.waitForFinished(kModalTimeoutMs)) {
            process_.kill();
            process_.waitForFinished(kModalTimeoutMs);
        }
    }

private:
    QProcess process_;
};

// The second process: keys the file, takes its lock, says so, and holds it
// until its input ends.
int HoldLock(const char* connectionString, const char* kind) {
    store::Connection connection;
    connection.reopen(QString::fromUtf8(connectionString));
    store::Execute(connection, QStringLiteral("BEGIN %1").arg(QString::fromLatin1(kind)));
    std::fputs("locked\n", stdout);
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

class TestSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void failedPostKeepsTheRowAndTheFile_data();
    void failedPostKeepsTheRowAndTheFile();
    void dayThatCannotBeWrittenSaysSoWhenItOpens_data();
    void dayThatCannotBeWrittenSaysSoWhenItOpens();
    void damageAfterAPostIsFoundAtTheNextPost_data();
    void damageAfterAPostIsFoundAtTheNextPost();
    void refusedSettingStopsTheOpening_data();
    void refusedSettingStopsTheOpening();

private:
    void AddCauses(bool forPost);
    void Apply(Cause cause);
    void RemoveCauses();
    QString DatabasePath() const { return work_->databasePath(); }

    std::unique_ptr<WorkDir> work_;
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<LockHolder> lock_;
};

void TestSafety::initTestCase() {
    disk::Install();
}

void TestSafety::init() {
    ResetTestHooks();
    work_ = std::make_unique<WorkDir>();
    SetLocalNowForTests(QDateTime(kSafetyToday, QTime(12, 0)));
    main_ = std::make_unique<TForm1>(StartupMode::CalendarOnly);
    main_->show();
}

void TestSafety::cleanup() {
    RemoveCauses();
    main_.reset();
    store::DiscardIdleHandles();
    work_.reset();
    ResetTestHooks();
}

void TestSafety::RemoveCauses() {
    disk::Disarm();
    lock_.reset();
    if (work_ != nullptr) {
        QFile::setPermissions(work_->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(DatabasePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

void TestSafety::Apply(Cause cause) {
    const QString path = DatabasePath();
    switch (cause) {
        case Cause::DiskFull:
            disk::Arm(disk::Fault::DiskFull, path);
            break;
        case Cause::DiskFullWhileCommitting:
            disk::Arm(disk::Fault::DiskFull, path, kLastWriteOfAPost);
            break;
        case Cause::IoError:
            disk::Arm(disk::Fault::IoError, path);
            break;
        case Cause::IoErrorWhileCommitting:
            disk::Arm(disk::Fault::IoError, path, kLastWriteOfAPost);
            break;
        case Cause::ReadOnlyFile:
            disk::Arm(disk::Fault::ReadOnlyFile, path);
            break;
        case Cause::ReadOnlyFolder:
            disk::Arm(disk::Fault::ReadOnlyFolder, path);
            break;
        case Cause::LockedByAnotherProgram:
        case Cause::AnotherProgramWriting:
            lock_ = std::make_unique<LockHolder>();
            QVERIFY(lock_->take(app().AppConnectionString, cause == Cause::LockedByAnotherProgram
                                                               ? QStringLiteral("EXCLUSIVE")
                                                               : QStringLiteral("IMMEDIATE")));
            break;
        case Cause::PagesOverwritten:
            OverwritePage(path, 3);
            break;
        case Cause::ByteChangedTimesKept:
            ChangeByteKeepingTimes(path, 3);
            break;
        case Cause::Truncated:
            CutFile(path, QFileInfo(path).size() / 2 / kPageSize * kPageSize);
            break;
        case Cause::Emptied:
            CutFile(path, 0);
            break;
        case Cause::ReadOnlyFileMode:
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
            break;
        case Cause::ReadOnlyFolderMode:
            QVERIFY(QFile::setPermissions(work_->path(), QFile::ReadOwner | QFile::ExeOwner));
            break;
    }
    if (ActsOnNewHandles(cause)) {
        store::DiscardIdleHandles();
    }
}

void TestSafety::AddCauses(bool forPost) {
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<bool>("namesFolder");
    const QString full = QStringLiteral("Ο δίσκος είναι γεμάτος");
    const QString ioError = QStringLiteral("Σφάλμα του δίσκου");
    const QString readOnly = QStringLiteral("είναι μόνο για ανάγνωση");
    const QString folder = QStringLiteral("δεν επιτρέπει εγγραφή");
    // The wait for another program's lock is short and stated.
    const QString locked = QStringLiteral(
        "χρησιμοποιείται αυτή τη στιγμή από άλλο πρόγραμμα και δεν άνοιξε για εγγραφή μέσα σε "
        "1 δευτερόλεπτο");
    const QString damaged = QStringLiteral("είναι κατεστραμμένο");
    QTest::newRow("disk full") << Cause::DiskFull << full << false;
    if (forPost) {
        QTest::newRow("disk full while committing")
            << Cause::DiskFullWhileCommitting << full << false;
    }
    QTest::newRow("I/O error") << Cause::IoError << ioError << false;
    if (forPost) {
        QTest::newRow("I/O error while committing")
            << Cause::IoErrorWhileCommitting << ioError << false;
    }
    QTest::newRow("read-only file") << Cause::ReadOnlyFile << readOnly << false;
    QTest::newRow("read-only folder") << Cause::ReadOnlyFolder << folder << true;
    QTest::newRow("locked by another program") << Cause::LockedByAnotherProgram << locked << false;
    QTest::newRow("another program writing") << Cause::AnotherProgramWriting << locked << false;
    QTest::newRow("pages overwritten") << Cause::PagesOverwritten << damaged << false;
    QTest::newRow("one byte changed, times kept")
        << Cause::ByteChangedTimesKept << damaged << false;
    QTest::newRow("truncated") << Cause::Truncated << damaged << false;
    QTest::newRow("emptied") << Cause::Emptied << QStringLiteral("είναι άδειο (0 bytes)") << false;
    // Root writes whatever the modes say; elsewhere the real modes are
    // checked too.
    if (::geteuid() != 0) {
        QTest::newRow("read-only file by its mode") << Cause::ReadOnlyFileMode << readOnly << false;
        QTest::newRow("read-only folder by its mode")
            << Cause::ReadOnlyFolderMode << folder << true;
    }
}

void TestSafety::failedPostKeepsTheRowAndTheFile_data() {
    AddCauses(true);
}

// The day's row exists with two slots; the user types into a third and
// posts while the file cannot take it.
void TestSafety::failedPostKeepsTheRowAndTheFile() {
    QFETCH(Cause, cause);
    QFETCH(QString, problem);
    QFETCH(bool, namesFolder);
    ExecuteStored(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA, \"0800-0830\", \"0830-0900\") "
                                 "VALUES(?, ?, ?)"),
                  {kStoredDay, QStringLiteral("πρωινό"), QStringLiteral("γιατρός")});
    const QStringList storedBefore = StoredDays();
    const QString typed = QStringLiteral("νέα εργασία");
    MessageLog messages;
    int messagesBeforePost = -1;
    QStringList postMessages;
    bool stillEditing = false;
    QString slotText;
    QByteArray damagedBytes;
    if (ActsOnNewHandles(cause)) {
        Apply(cause);
    }
    {
        const auto table = AnswerNextWindow<TForm2>([&](TForm2* window) {
            TypeText(SlotEdit(window, 3), typed);
            if (!ActsOnNewHandles(cause)) {
                Apply(cause);
            }
            damagedBytes = FileBytes(DatabasePath());
            messagesBeforePost = int(messages.requests.size());
            QTest::mouseClick(PostButtonOf(window), Qt::LeftButton);
            postMessages = messages.texts().mid(messagesBeforePost);
            slotText = SlotEdit(window, 3)->text();
            stillEditing = PostButtonOf(window)->isEnabled();
            if (IsDamage(cause)) {
                QCOMPARE(FileBytes(DatabasePath()), damagedBytes);
            }
            if (cause == Cause::DiskFullWhileCommitting || cause == Cause::IoErrorWhileCommitting) {
                QVERIFY2(disk::WritesSeen() >= kLastWriteOfAPost,
                         "the fault came before the file itself was written");
            }
            RemoveCauses();
        });
        QTest::mouseClick(DayCell(main_.get(), 5), Qt::LeftButton);
        VERIFY_MODAL(table);
    }
    // Later messages may follow: the markers of a damaged file cannot be
    // read when the table closes.
    QCOMPARE(postMessages.size(), 1);
    const QString message = postMessages.first();
    QVERIFY2(message.contains(problem), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(DatabasePath())), qPrintable(message));
    if (namesFolder) {
        QVERIFY2(message.contains(QDir::toNativeSeparators(work_->path())), qPrintable(message));
    }
    QVERIFY2(message.contains(QStringLiteral("Η εγγραφή δεν αποθηκεύτηκε")), qPrintable(message));
    QCOMPARE(slotText, typed);
    QVERIFY(stillEditing);
    if (IsDamage(cause)) {
        QCOMPARE(FileBytes(DatabasePath()), damagedBytes);
    } else {
        QCOMPARE(StoredDays(), storedBefore);
    }
}

void TestSafety::dayThatCannotBeWrittenSaysSoWhenItOpens_data() {
    AddCauses(false);
}

// 6 March has no row yet: opening it must make one. When that cannot be
// done, the user hears why at once, and no table opens for typing into.
void TestSafety::dayThatCannotBeWrittenSaysSoWhenItOpens() {
    QFETCH(Cause, cause);
    QFETCH(QString, problem);
    QFETCH(bool, namesFolder);
    const QStringList storedBefore = StoredDays();
    Apply(cause);
    const QByteArray bytes = FileBytes(DatabasePath());
    MessageLog messages;
    TableWatch tables;
    QTest::mouseClick(DayCell(main_.get(), 6), Qt::LeftButton);
    QCOMPARE(tables.opened(), 0);
    QCOMPARE(messages.requests.size(), 1);
    const QString message = messages.texts().first();
    QVERIFY2(message.startsWith(QStringLiteral("Η ημέρα 6/3/2008 δεν μπορεί να γραφτεί.")),
             qPrintable(message));
    QVERIFY2(message.contains(problem), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(DatabasePath())), qPrintable(message));
    if (namesFolder) {
        QVERIFY2(message.contains(QDir::toNativeSeparators(work_->path())), qPrintable(message));
    }
    QCOMPARE(FileBytes(DatabasePath()), bytes);
    QVERIFY(main_->isVisible());
    RemoveCauses();
    if (!IsDamage(cause)) {
        QCOMPARE(StoredDays(), storedBefore);
    }
}

void TestSafety::damageAfterAPostIsFoundAtTheNextPost_data() {
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<QString>("problem");
    const QString damaged = QStringLiteral("είναι κατεστραμμένο");
    QTest::newRow("pages overwritten") << Cause::PagesOverwritten << damaged;
    QTest::newRow("one byte changed, times kept") << Cause::ByteChangedTimesKept << damaged;
    QTest::newRow("truncated") << Cause::Truncated << damaged;
    QTest::newRow("emptied") << Cause::Emptied << QStringLiteral("είναι άδειο (0 bytes)");
}

// The window's connection has read the file in full and written it: another
// program damages it after that, and the next post must still find it.
void TestSafety::damageAfterAPostIsFoundAtTheNextPost() {
    QFETCH(Cause, cause);
    QFETCH(QString, problem);
    ExecuteStored(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA, \"0800-0830\") VALUES(?, ?)"),
                  {kStoredDay, QStringLiteral("πρωινό")});
    const QString typed = QStringLiteral("νέα εργασία");
    MessageLog messages;
    bool firstPostStored = false;
    QStringList postMessages;
    bool stillEditing = false;
    QString slotText;
    QByteArray damagedBytes;
    QByteArray bytesAfterPost;
    {
        const auto table = AnswerNextWindow<TForm2>([&](TForm2* window) {
            TypeText(SlotEdit(window, 2), QStringLiteral("γιατρός"));
            QTest::mouseClick(PostButtonOf(window), Qt::LeftButton);
            firstPostStored = messages.requests.isEmpty() && !PostButtonOf(window)->isEnabled();
            Apply(cause);
            damagedBytes = FileBytes(DatabasePath());
            TypeText(SlotEdit(window, 3), typed);
            QTest::mouseClick(PostButtonOf(window), Qt::LeftButton);
            postMessages = messages.texts();
            slotText = SlotEdit(window, 3)->text();
            stillEditing = PostButtonOf(window)->isEnabled();
            bytesAfterPost = FileBytes(DatabasePath());
        });
        QTest::mouseClick(DayCell(main_.get(), 5), Qt::LeftButton);
        VERIFY_MODAL(table);
    }
    QVERIFY2(firstPostStored, qPrintable(messages.texts().join(QLatin1Char('\n'))));
    QCOMPARE(bytesAfterPost, damagedBytes);
    QCOMPARE(postMessages.size(), 1);
    const QString message = postMessages.first();
    QVERIFY2(message.contains(problem), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(DatabasePath())), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Η εγγραφή δεν αποθηκεύτηκε")), qPrintable(message));
    QCOMPARE(slotText, typed);
    QVERIFY(stillEditing);
    QCOMPARE(FileBytes(DatabasePath()), damagedBytes);
}

void TestSafety::refusedSettingStopsTheOpening_data() {
    QTest::addColumn<QString>("pragma");
    QTest::addColumn<QString>("kept");
    QTest::newRow("journal kept in memory")
        << QStringLiteral("journal_mode") << QStringLiteral("memory");
    QTest::newRow("journal written ahead")
        << QStringLiteral("journal_mode") << QStringLiteral("wal");
    QTest::newRow("writes not synchronised")
        << QStringLiteral("synchronous") << QStringLiteral("0");
}

// A setting the engine keeps at another value is named, and the file is
// not used under it.
void TestSafety::refusedSettingStopsTheOpening() {
    QFETCH(QString, pragma);
    QFETCH(QString, kept);
    store::DiscardIdleHandles();
    disk::ForcePragma(DatabasePath(), pragma, kept);
    const QByteArray bytes = FileBytes(DatabasePath());
    store::Connection connection;
    QString message;
    try {
        connection.reopen(app().AppConnectionString);
    } catch (const store::DatabaseError& error) {
        message = error.message();
    }
    QVERIFY(!connection.isOpen());
    QVERIFY2(message.contains(pragma), qPrintable(message));
    QVERIFY2(message.contains(kept), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(DatabasePath())), qPrintable(message));
    QCOMPARE(FileBytes(DatabasePath()), bytes);
}

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], "--hold-lock") == 0) {
        return HoldLock(argv[2], argv[3]);
    }
    QApplication application(argc, argv);
    TestSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_safety.moc"
