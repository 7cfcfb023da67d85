// The program as a user starts it: its command line (the built program run
// as a process), the choice of the data folder and its preparation.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "app/CommandLine.h"
#include "app/ProgramEntry.h"
#include "core/AppGlobals.h"
#include "store/ConnectionString.h"
#include "store/DataFolder.h"
#include "store/DataFolderLock.h"

namespace {

const QString kProgram = QStringLiteral(ORGANIZER_PROGRAM);
const QString kShippedFolder = QFileInfo(QStringLiteral(ORGANIZER_EMPTY_DB)).path();
const QStringList kLayouts{QStringLiteral("EKSODA1.RAV"), QStringLiteral("EKSODA2.RAV"),
                           QStringLiteral("NOTES.RAV")};

const QString kAlreadyRunning = QStringLiteral(
    "Το πρόγραμμα είναι ήδη ανοιχτό με αυτόν τον φάκελο δεδομένων:\r%1\r\r"
    "Χρησιμοποίησε το παράθυρο που είναι ήδη ανοιχτό. Αν δεν φαίνεται, θα το βρεις στην "
    "περιοχή ειδοποιήσεων, δίπλα στο ρολόι.");
// A program that has claimed its folder gets there within this time, even
// in a sanitizer build.
constexpr int kProgramStartMs = 30000;

// The owner's, the group's and the others' bits (Qt's "user" bits repeat the
// owner's for the running user).
constexpr int kModeBits = 0x7077;

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(contents);
}

}  // namespace

class TestEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::ResetTestHooks(); }
    void cleanup() { testsupport::ResetTestHooks(); }

    void commandLine_data();
    void commandLine();
    void versionComesFromTheProject();
    void textOnlyOptionsNeedNoDisplay_data();
    void textOnlyOptionsNeedNoDisplay();

    void dataFolderChoice_data();
    void dataFolderChoice();
    void builtProgramFindsItsShippedFiles();

    void preparationFailures_data();
    void preparationFailures();
    void preparation_data();
    void preparation();
    void enteringTheDataFolder();
    void aFolderThatCannotBeEnteredIsReported();

    void secondProgramOnOneFolderIsRefused();
    void leftLock_data();
    void leftLock();
};

void TestEntry::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    const QString usage = QStringLiteral("Usage: ");
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << kUsageExitCode << QString()
                                    << "Unknown option 'frobnicate'.";
    QTest::newRow("unknown short option")
        << QStringList{"-z"} << kUsageExitCode << QString() << "Unknown option 'z'.";
    QTest::newRow("--data-dir without its folder")
        << QStringList{"--data-dir"} << kUsageExitCode << QString()
        << "Missing value after '--data-dir'.";
    QTest::newRow("a stray argument") << QStringList{"notes.txt"} << kUsageExitCode << QString()
                                      << "Unexpected argument 'notes.txt'.";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
    QTest::newRow("--help names the data folder option")
        << QStringList{"--help"} << 0 << "--data-dir <folder>" << QString();
    QTest::newRow("--help names the environment variable")
        << QStringList{"--help"} << 0 << store::kDataFolderVariable << QString();
    QTest::newRow("--help-all adds Qt's own options")
        << QStringList{"--help-all"} << 0 << "-platform <platformName[:options]>" << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "KAVELO ORGANIZER " << QString();
}

// Every case ends before a window exists: the process must end by itself,
// and the data folder it was given must not appear.
void TestEntry::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("never"));
    QProcess program;
    program.start(kProgram, QStringList{QStringLiteral("--data-dir"), folder} + arguments);
    QVERIFY2(program.waitForFinished(20000), "the program did not end by itself");

    const QString standardOutput = QString::fromUtf8(program.readAllStandardOutput());
    const QString standardError = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY2(standardOutput.contains(output), qPrintable(standardOutput));
    if (exitCode == kUsageExitCode) {
        QVERIFY(standardOutput.isEmpty());
        QVERIFY2(standardError.startsWith(error + QStringLiteral("\n\nUsage: ")),
                 qPrintable(standardError));
        QVERIFY2(standardError.contains(QStringLiteral("--data-dir <folder>")),
                 qPrintable(standardError));
    } else {
        QVERIFY2(standardError.isEmpty(), qPrintable(standardError));
    }
    QVERIFY(!QFileInfo::exists(folder));
}

void TestEntry::versionComesFromTheProject() {
    QProcess program;
    program.start(kProgram, {QStringLiteral("--version")});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()),
             QStringLiteral("KAVELO ORGANIZER " ORGANIZER_VERSION "\n"));
}

void TestEntry::textOnlyOptionsNeedNoDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::newRow("--help") << QStringList{"--help"} << "--data-dir <folder>";
    QTest::newRow("-v") << QStringList{"-v"} << "KAVELO ORGANIZER " ORGANIZER_VERSION "\n";
    QTest::newRow("--version after --data-dir")
        << QStringList{"--data-dir", "/nowhere", "--version"}
        << "KAVELO ORGANIZER " ORGANIZER_VERSION "\n";
}

// An X11 platform with no display to connect to, as over ssh.
void TestEntry::textOnlyOptionsNeedNoDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(kProgram, arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains(output));
}

void TestEntry::dataFolderChoice_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("neither: the home folder's KaveloOrganizer")
        << QString() << QString() << "/home/maria/KaveloOrganizer";
    QTest::newRow("the environment alone") << QString() << "/srv/kavelo"
                                           << "/srv/kavelo";
    QTest::newRow("the command line wins over the environment") << "/media/usb/organizer"
                                                                << "/srv/kavelo"
                                                                << "/media/usb/organizer";
    QTest::newRow("the command line alone")
        << "/media/usb/organizer" << QString() << "/media/usb/organizer";
    QTest::newRow("a trailing separator is dropped")
        << "/srv/kavelo/" << QString() << "/srv/kavelo";
    QTest::newRow("a relative folder stays relative") << "organizer" << QString() << "organizer";
}

void TestEntry::dataFolderChoice() {
    QFETCH(QString, commandLine);
    QFETCH(QString, environment);
    QFETCH(QString, chosen);
    QCOMPARE(store::ChooseDataFolder(commandLine, environment, QStringLiteral("/home/maria")),
             chosen);
}

// The build tree is laid out as an installation: bin/ beside
// share/kavelo-organizer/.
void TestEntry::builtProgramFindsItsShippedFiles() {
    QCOMPARE(store::ShippedFilesFolder(QStringLiteral("/usr/bin")),
             QStringLiteral("/usr/share/kavelo-organizer"));
    const QDir shipped(store::ShippedFilesFolder(QFileInfo(kProgram).path()));
    QVERIFY2(QFileInfo(shipped.filePath(store::kDatabaseFileName)).isFile(),
             qPrintable(shipped.path()));
    for (const QString& layout : kLayouts) {
        QVERIFY2(QFileInfo(shipped.filePath(layout)).isFile(), qPrintable(layout));
    }
}

void TestEntry::preparationFailures_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("named");
    QTest::newRow("no shipped database") << "no shipped database"
                                         << "data.mdb";
    QTest::newRow("the folder's name is taken by a file") << "folder is a file"
                                                          << "organizer";
}

void TestEntry::preparationFailures() {
    QFETCH(QString, situation);
    QFETCH(QString, named);
    QTemporaryDir root;
    QString shipped = kShippedFolder;
    const QString folder = root.filePath(QStringLiteral("organizer"));
    if (situation == QLatin1String("no shipped database")) {
        shipped = root.filePath(QStringLiteral("empty-share"));
        QVERIFY(QDir().mkpath(shipped));
    } else {
        Write(folder, "not a folder");
    }
    try {
        store::PrepareDataFolder(folder, shipped);
        QFAIL("the preparation did not fail");
    } catch (const store::DataFolderError& error) {
        QVERIFY2(QString::fromStdString(error.what()).contains(named), error.what());
    }
    QVERIFY(!QFileInfo(folder).isDir());
}

void TestEntry::preparation_data() {
    QTest::addColumn<QString>("present");
    QTest::newRow("a fresh nested folder") << QString();
    QTest::newRow("an existing data.mdb is never replaced") << "data.mdb";
    QTest::newRow("an edited layout is kept") << "NOTES.RAV";
    QTest::newRow("a dangling link named data.mdb is left alone") << "link";
}

void TestEntry::preparation() {
    QFETCH(QString, present);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("home/maria/KaveloOrganizer"));
    const QDir target(folder);
    const QByteArray own = "the user's own file";
    if (!present.isEmpty()) {
        QVERIFY(QDir().mkpath(folder));
    }
    if (present == QLatin1String("link")) {
        QVERIFY(QFile::link(root.filePath(QStringLiteral("gone.mdb")),
                            target.filePath(store::kDatabaseFileName)));
    } else if (!present.isEmpty()) {
        Write(target.filePath(present), own);
    }

    store::PrepareDataFolder(folder, kShippedFolder);
    // A second start finds everything in place and changes nothing.
    store::PrepareDataFolder(folder, kShippedFolder);

    const QString database = target.filePath(store::kDatabaseFileName);
    if (present == QLatin1String("link")) {
        QVERIFY(QFileInfo(database).isSymLink());
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("gone.mdb"))));
    } else if (present == QLatin1String("data.mdb")) {
        QCOMPARE(Contents(database), own);
    } else {
        QCOMPARE(Contents(database), Contents(QStringLiteral(ORGANIZER_EMPTY_DB)));
        QCOMPARE(QFile::permissions(database) & kModeBits, QFile::ReadOwner | QFile::WriteOwner);
    }
    if (present.isEmpty()) {
        QCOMPARE(QFile::permissions(folder) & kModeBits,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    for (const QString& layout : kLayouts) {
        const QByteArray expected =
            layout == present ? own : Contents(QDir(kShippedFolder).filePath(layout));
        QCOMPARE(Contents(target.filePath(layout)), expected);
    }
}

void TestEntry::enteringTheDataFolder() {
    const QString previous = QDir::currentPath();
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("KaveloOrganizer"));

    const bool entered = EnterDataFolder(folder, kShippedFolder);
    const QString working = store::CurrentAppDirectory();
    QDir::setCurrent(previous);

    QVERIFY(entered);
    QCOMPARE(working, QFileInfo(folder).canonicalFilePath());
}

void TestEntry::aFolderThatCannotBeEnteredIsReported() {
    const QString previous = QDir::currentPath();
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("organizer"));
    Write(folder, "not a folder");
    testsupport::MessageLog messages;

    QVERIFY(!EnterDataFolder(folder, kShippedFolder));

    QCOMPARE(QDir::currentPath(), previous);
    QCOMPARE(messages.requests.size(), 1);
    QCOMPARE(messages.requests.at(0).caption, QStringLiteral("Error"));
    QVERIFY2(messages.requests.at(0).text.startsWith(
                 QStringLiteral("Ο φάκελος των δεδομένων δεν μπορεί να χρησιμοποιηθεί.\r\r")),
             qPrintable(messages.requests.at(0).text));
    QVERIFY2(messages.requests.at(0).text.contains(folder),
             qPrintable(messages.requests.at(0).text));
}

// The first program waits at the set-password window, holding the folder.
void TestEntry::secondProgramOnOneFolderIsRefused() {
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("organizer"));
    const QString lockFile = QDir(folder).filePath(store::kDataFolderLockName);
    QProcess first;
    first.start(kProgram, {QStringLiteral("--data-dir"), folder});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile), kProgramStartMs);

    {
        testsupport::MessageLog messages;
        QVERIFY(ClaimDataFolder(folder) == nullptr);
        QCOMPARE(messages.requests.size(), 1);
        QCOMPARE(messages.requests.at(0).caption, kApplicationTitle);
        QCOMPARE(messages.requests.at(0).text, kAlreadyRunning.arg(folder));
    }

    // The built program does the same: it says so on standard error, then
    // waits at its notice (never answered here) and goes no further.
    QProcess second;
    second.start(kProgram, {QStringLiteral("--data-dir"), folder});
    QByteArray secondErrors;
    QTRY_VERIFY_WITH_TIMEOUT((secondErrors += second.readAllStandardError())
                                 .contains("already running with this data folder"),
                             kProgramStartMs);
    second.kill();
    second.waitForFinished();

    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(QFileInfo::exists(lockFile));
    first.kill();
    QVERIFY(first.waitForFinished());
}

void TestEntry::leftLock_data() {
    const QString here = QSysInfo::machineHostName();
    const QString ownName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString ownNumber = QString::number(QCoreApplication::applicationPid());
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<bool>("taken");
    QTest::newRow("left by a killed organizer") << "killed" << QString() << true;
    QTest::newRow("empty: a power cut before it was written") << "file" << QString() << true;
    QTest::newRow("its process number now runs another organizer")
        << "file" << ownNumber + '\n' + ownName + '\n' + here + '\n'
        << true;
    QTest::newRow("its process number now runs another program")
        << "file" << ownNumber + "\nkavelo-organizer\n" + here + '\n'
        << true;
    QTest::newRow("held by an organizer on another computer")
        << "file" << QStringLiteral("4242\nkavelo-organizer\nanother-computer.example\n") << false;
}

// A lock whose holder no longer runs never keeps the user out; one that
// cannot be judged from here is respected.
void TestEntry::leftLock() {
    QFETCH(QString, left);
    QFETCH(QString, contents);
    QFETCH(bool, taken);
    QTemporaryDir root;
    const QString folder = root.path();
    const QString lockFile = QDir(folder).filePath(store::kDataFolderLockName);
    if (left == QLatin1String("killed")) {
        QProcess holder;
        holder.start(kProgram, {QStringLiteral("--data-dir"), folder});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile), kProgramStartMs);
        holder.kill();
        QVERIFY(holder.waitForFinished());
    } else {
        Write(lockFile, contents.toUtf8());
    }
    QVERIFY(QFileInfo::exists(lockFile));
    testsupport::MessageLog messages;

    const std::unique_ptr<store::DataFolderLock> lock = ClaimDataFolder(folder);

    QCOMPARE(lock != nullptr, taken);
    QCOMPARE(messages.requests.size(), taken ? 0 : 1);
    if (taken) {
        QCOMPARE(lock->state(), store::DataFolderLock::State::Held);
        // This program's own now.
        QVERIFY(Contents(lockFile).startsWith(
            QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    } else {
        QCOMPARE(Contents(lockFile), contents.toUtf8());
    }
}

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
