// The daily backup of data.mdb: made through the engine, checked before it
// takes its name, ten kept, restorable by copying it over data.mdb; and the
// backup a login makes, whose failure is told once and never stops the user.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "TestSupport.h"
#include "access/PasswordHash.h"
#include "app/ScreenResolution.h"
#include "app/Unit1.h"
#include "core/AppGlobals.h"
#include "store/Backup.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DatabaseError.h"

using testsupport::FindControl;

namespace {

const QDate kFirstDay(2026, 3, 1);
const QString kPassword = QStringLiteral("Secret1");

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(contents);
}

QString BackupFolder() {
    return QDir(app().AppDirectory).filePath(store::kBackupFolderName);
}

QString BackupOf(const QDate& day) {
    return store::BackupPath(QDir(app().AppDirectory).filePath(store::kDatabaseFileName), day);
}

// Everything in backups/, by name.
QStringList BackupFolderEntries() {
    return QDir(BackupFolder())
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList BackupNames(const QList<int>& days) {
    QStringList names;
    for (int day : days) {
        names.append(QFileInfo(BackupOf(kFirstDay.addDays(day))).fileName());
    }
    names.sort();
    return names;
}

void AddContacts(const QStringList& names) {
    for (const QString& name : names) {
        testsupport::ExecuteStored(
            QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES (?)"), {name});
    }
}

// Restores a backup the way the README tells a user to: copied over data.mdb
// of a folder, opened with nothing but the database password.
QStringList ContactsOfRestoredCopy(const QString& backup) {
    QTemporaryDir restored;
    const QString database = QDir(restored.path()).filePath(store::kDatabaseFileName);
    if (!QFile::copy(backup, database)) {
        return {QStringLiteral("cannot copy ") + backup};
    }
    store::Connection connection;
    connection.reopen(store::BuildConnectionString(restored.path()));
    const QStringList names = testsupport::ColumnValues(
        connection,
        QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA ORDER BY ONOMATEPWNYMO"));
    connection.close();
    store::DiscardIdleHandles();
    return names;
}

void StorePassword() {
    testsupport::ExecuteStored(
        QStringLiteral("INSERT INTO ADMINISTRATOR_ACCOUNT (PASSWORD) VALUES (?)"),
        {accesscontrol::HashPassword(kPassword)});
}

// Answers the login window of a start-up, with the right password or with
// Έξοδος; the splash before it closes itself.
class LoginAnswer : public QObject {
public:
    explicit LoginAnswer(bool rightPassword) : rightPassword_(rightPassword) {
        connect(&poll_, &QTimer::timeout, this, &LoginAnswer::Poll);
        poll_.start(5);
    }

    int logins = 0;

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == answered_ ||
            modal->objectName() != QLatin1String("TForm165")) {
            return;
        }
        answered_ = modal;
        ++logins;
        if (rightPassword_) {
            testsupport::ReplaceText(modal, QStringLiteral("Edit3"), kPassword);
            QTest::keyClick(FindControl<QLineEdit>(modal, QStringLiteral("Edit3")), Qt::Key_Return);
        } else {
            testsupport::Click(modal, QStringLiteral("Button2"));
        }
    }

    bool rightPassword_;
    QTimer poll_;
    QPointer<QWidget> answered_;
};

// The notes the main window shows that are still up.
QList<QMessageBox*> VisibleNotes(const QWidget& form1) {
    QList<QMessageBox*> notes;
    for (QMessageBox* box : form1.findChildren<QMessageBox*>(QStringLiteral("NoteBox"))) {
        if (box->isVisible()) {
            notes.append(box);
        }
    }
    return notes;
}

}  // namespace

class TestBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void backupOpensWithTheKeyAndHoldsItsRows_data();
    void backupOpensWithTheKeyAndHoldsItsRows();
    void oneBackupADay();
    void theNewestTenAreKept_data();
    void theNewestTenAreKept();
    void failedBackupChangesNothing_data();
    void failedBackupChangesNothing();

    void loginBacksUpOnceADay_data();
    void loginBacksUpOnceADay();
    void failedBackupIsNotedOnceAndLoginGoesOn();

private:
    std::unique_ptr<testsupport::WorkDir> workDir_;
};

void TestBackup::init() {
    testsupport::ResetTestHooks();
    workDir_ = std::make_unique<testsupport::WorkDir>();
    SetDisplayAccess({[] { return ScreenGeometry{QSize(1024, 768)}; }, {}});
}

void TestBackup::cleanup() {
    store::DiscardIdleHandles();
    workDir_.reset();
    testsupport::ResetTestHooks();
}

void TestBackup::backupOpensWithTheKeyAndHoldsItsRows_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("a fresh data folder") << QString();
    QTest::newRow("an unfinished copy left by a crash") << "unfinished";
    QTest::newRow("an existing backup folder") << "folder";
}

void TestBackup::backupOpensWithTheKeyAndHoldsItsRows() {
    QFETCH(QString, before);
    const QString backup = BackupOf(kFirstDay);
    if (!before.isEmpty()) {
        QVERIFY(QDir().mkpath(BackupFolder()));
    }
    if (before == QLatin1String("unfinished")) {
        Write(backup + QStringLiteral(".part"), QByteArray(3000, 'x'));
    }
    AddContacts({QStringLiteral("Άννα"), QStringLiteral("Βασίλης")});
    const QByteArray database = Contents(workDir_->databasePath());

    QCOMPARE(store::BackUpDatabase(workDir_->connectionString(), kFirstDay),
             store::BackupResult::Made);
    // The database was only read; rows stored after the backup are not in it.
    QCOMPARE(Contents(workDir_->databasePath()), database);
    AddContacts({QStringLiteral("Γιώργος")});

    QCOMPARE(BackupFolderEntries(), QStringList{QFileInfo(backup).fileName()});
    QVERIFY2(!Contents(backup).startsWith("SQLite format 3"), "the backup is not encrypted");
    QCOMPARE(QFile::permissions(backup) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(ContactsOfRestoredCopy(backup),
             (QStringList{QStringLiteral("Άννα"), QStringLiteral("Βασίλης")}));
}

// A second backup on one day keeps the first; the next day makes its own.
void TestBackup::oneBackupADay() {
    const QString connection = workDir_->connectionString();
    AddContacts({QStringLiteral("Άννα")});
    QCOMPARE(store::BackUpDatabase(connection, kFirstDay), store::BackupResult::Made);
    AddContacts({QStringLiteral("Βασίλης")});
    QCOMPARE(store::BackUpDatabase(connection, kFirstDay), store::BackupResult::AlreadyMadeToday);
    QCOMPARE(store::BackUpDatabase(connection, kFirstDay.addDays(1)), store::BackupResult::Made);

    QCOMPARE(BackupFolderEntries(), BackupNames({0, 1}));
    QCOMPARE(ContactsOfRestoredCopy(BackupOf(kFirstDay)), QStringList{QStringLiteral("Άννα")});
    QCOMPARE(ContactsOfRestoredCopy(BackupOf(kFirstDay.addDays(1))),
             (QStringList{QStringLiteral("Άννα"), QStringLiteral("Βασίλης")}));
}

void TestBackup::theNewestTenAreKept_data() {
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("today");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<QStringList>("others");
    QTest::newRow("the eleventh day removes the oldest")
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << 10
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << QStringList();
    QTest::newRow("the tenth removes none")
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << 9 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}
        << QStringList();
    QTest::newRow("after a gap of days the two oldest of twelve go")
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 40
        << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 40} << QStringList();
    QTest::newRow("clock set back: today's stays, the oldest other goes")
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 0
        << QList<int>{0, 2, 3, 4, 5, 6, 7, 8, 9, 10} << QStringList();
    QTest::newRow("the user's own files are never removed")
        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << 10
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << QStringList{"data-2020-01-01.mdb.txt", "data-old.mdb", "notes.txt"};
}

void TestBackup::theNewestTenAreKept() {
    QFETCH(QList<int>, before);
    QFETCH(int, today);
    QFETCH(QList<int>, after);
    QFETCH(QStringList, others);
    QVERIFY(QDir().mkpath(BackupFolder()));
    for (int day : before) {
        Write(BackupOf(kFirstDay.addDays(day)), "an older backup");
    }
    for (const QString& name : others) {
        Write(QDir(BackupFolder()).filePath(name), "the user's");
    }

    QCOMPARE(store::BackUpDatabase(workDir_->connectionString(), kFirstDay.addDays(today)),
             store::BackupResult::Made);

    QStringList expected = BackupNames(after) + others;
    expected.sort();
    QCOMPARE(BackupFolderEntries(), expected);
}

void TestBackup::failedBackupChangesNothing_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("named");
    QTest::newRow("backups is a file, not a folder") << "backups is a file"
                                                     << "backups";
    QTest::newRow("a damaged page in data.mdb") << "damaged page"
                                                << "data.mdb";
}

// Neither a partial nor a dubious backup appears, the older backups stay, and
// data.mdb is not written.
void TestBackup::failedBackupChangesNothing() {
    QFETCH(QString, damage);
    QFETCH(QString, named);
    const QString connection = workDir_->connectionString();
    if (damage == QLatin1String("backups is a file")) {
        Write(BackupFolder(), "a file of the user's");
    } else {
        QCOMPARE(store::BackUpDatabase(connection, kFirstDay), store::BackupResult::Made);
        QFile file(workDir_->databasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 4096);
        file.seek(file.size() - 1024 + 100);
        file.write(QByteArray(200, '\0'));
        file.close();
        store::DiscardIdleHandles();
    }
    const QStringList entries = BackupFolderEntries();
    const QByteArray database = Contents(workDir_->databasePath());
    const QByteArray folderFile = Contents(BackupFolder());

    try {
        store::BackUpDatabase(connection, kFirstDay.addDays(1));
        QFAIL("the backup did not fail");
    } catch (const store::DatabaseError& error) {
        QVERIFY2(error.message().contains(named), qPrintable(error.message()));
    }

    QCOMPARE(BackupFolderEntries(), entries);
    QCOMPARE(Contents(workDir_->databasePath()), database);
    QCOMPARE(Contents(BackupFolder()), folderFile);
}

void TestBackup::loginBacksUpOnceADay_data() {
    QTest::addColumn<QList<int>>("startDays");
    QTest::addColumn<bool>("rightPassword");
    QTest::addColumn<QList<int>>("backups");
    QTest::newRow("two starts on one day: one backup") << QList<int>{0, 0} << true << QList<int>{0};
    QTest::newRow("a start on each of two days: two backups")
        << QList<int>{0, 1} << true << QList<int>{0, 1};
    QTest::newRow("no accepted login: no backup") << QList<int>{0} << false << QList<int>();
}

void TestBackup::loginBacksUpOnceADay() {
    QFETCH(QList<int>, startDays);
    QFETCH(bool, rightPassword);
    QFETCH(QList<int>, backups);
    StorePassword();

    for (int day : startDays) {
        SetLocalNowForTests(QDateTime(kFirstDay.addDays(day), QTime(9, 0)));
        AddContacts({QStringLiteral("contact of day %1").arg(day)});
        LoginAnswer login(rightPassword);
        app().ExitMarker.clear();
        TForm1 form1(StartupMode::Full);
        QCOMPARE(login.logins, 1);
        QCOMPARE(form1.quitRequested(), !rightPassword);
    }

    QCOMPARE(BackupFolderEntries(), BackupNames(backups));
    if (!backups.isEmpty()) {
        // The first start of the day made it: the second one's row is not in it.
        QCOMPARE(ContactsOfRestoredCopy(BackupOf(kFirstDay)),
                 QStringList{QStringLiteral("contact of day 0")});
    }
}

void TestBackup::failedBackupIsNotedOnceAndLoginGoesOn() {
    StorePassword();
    Write(BackupFolder(), "a file of the user's");
    const QByteArray database = Contents(workDir_->databasePath());
    SetLocalNowForTests(QDateTime(kFirstDay, QTime(9, 0)));
    LoginAnswer login(true);

    // Any modal box fails the test (the hooks' default).
    TForm1 form1(StartupMode::Full);

    QCOMPARE(login.logins, 1);
    QVERIFY(!form1.quitRequested());
    QCOMPARE(app().TodayYear, quint16(2026));
    QTRY_COMPARE(VisibleNotes(form1).size(), 1);
    QTest::qWait(100);
    const QList<QMessageBox*> notes = VisibleNotes(form1);
    QCOMPARE(notes.size(), 1);
    QCOMPARE(notes.at(0)->windowModality(), Qt::NonModal);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(notes.at(0)->windowTitle(), QStringLiteral("Warning"));
    const QString text = notes.at(0)->text();
    QVERIFY2(text.startsWith(QStringLiteral(
                 "Δεν ήταν δυνατό να γίνει το σημερινό αντίγραφο ασφαλείας των δεδομένων.\n\n")),
             qPrintable(text));
    QVERIFY2(text.contains(QDir::toNativeSeparators(BackupFolder())), qPrintable(text));
    // The main window is usable while the note is up.
    QVERIFY(form1.isEnabled());
    QCOMPARE(Contents(workDir_->databasePath()), database);
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
