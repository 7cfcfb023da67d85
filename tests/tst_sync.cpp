// Publishing to a real CalDAV/CardDAV server: Radicale started on a free
// local port with a storage folder of its own, read back through HTTP and
// through its own parser (vobject).
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "access/PasswordHash.h"
#include "interchange/DavPublisher.h"
#include "interchange/SyncError.h"
#include "interchange/SyncState.h"
#include "store/Command.h"
#include "store/Schema.h"

using interchange::CollectionKind;
using interchange::DavItem;
using interchange::PublishCounts;

namespace {

const QString kUser = QStringLiteral("anna");
// The Python of the system, whose packages hold the server and its parser,
// whatever python3 comes first on the PATH.
const QString kSystemPython = QStringLiteral("/usr/bin/python3");

int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QByteArray Crlf(const QString& text) {
    return text.toUtf8().replace("\n", "\r\n");
}

DavItem Event(const QString& uid, const QString& summary) {
    return {uid,
            Crlf(QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Kavelo//Organizer//EL\n"
                                "BEGIN:VEVENT\nUID:%1\nDTSTAMP:20261210T100000Z\n"
                                "DTSTART:20080305T080000\nDTEND:20080305T083000\n"
                                "SUMMARY:%2\nEND:VEVENT\nEND:VCALENDAR\n")
                     .arg(uid, summary))};
}

DavItem Card(const QString& uid, const QString& name) {
    return {
        uid,
        Crlf(
            QStringLiteral("BEGIN:VCARD\nVERSION:4.0\nUID:%1\nFN:%2\nEND:VCARD\n").arg(uid, name))};
}

// The hrefs of the items a collection holds, as the server lists them.
QStringList ListedItems(interchange::DavSession& session, const QUrl& collection) {
    const interchange::DavResponse listing = session.send("PROPFIND", collection, {{"Depth", "1"}});
    QStringList hrefs;
    static const QRegularExpression href(QStringLiteral("<[^>]*href>([^<]*\\.(?:ics|vcf))<"));
    for (const auto& match : href.globalMatch(QString::fromUtf8(listing.body))) {
        hrefs.append(match.captured(1));
    }
    return hrefs;
}

// Every item file the server stored, parsed by the library the server
// itself parses with; the output counts the items read or shows the failure.
QString ParsedByServerLibrary(const QString& storage) {
    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(
        kSystemPython,
        {QStringLiteral("-c"),
         QStringLiteral("import pathlib, sys, vobject\n"
                        "n = 0\n"
                        "for p in sorted(pathlib.Path(sys.argv[1]).rglob('*')):\n"
                        "    if p.suffix in ('.ics', '.vcf') and '.Radicale' not in str(p):\n"
                        "        vobject.readOne(p.read_text(encoding='utf-8'))\n"
                        "        n += 1\n"
                        "print('parsed', n)\n"),
         storage});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAll()).trimmed();
}

}  // namespace

// Radicale on 127.0.0.1, anyone let in as the user they name; over TLS with
// a certificate of its own for 127.0.0.1 when asked.
class Radicale {
public:
    enum class Transport { Http, Https };

    // Empty when the server runs; otherwise why it does not.
    QString start(Transport transport = Transport::Http) {
        if (QProcess::execute(kSystemPython,
                              {QStringLiteral("-c"), QStringLiteral("import radicale")}) != 0) {
            return QStringLiteral("Radicale is not installed (Debian package python3-radicale)");
        }
        scheme_ = transport == Transport::Https ? QStringLiteral("https") : QStringLiteral("http");
        QString tls;
        if (transport == Transport::Https) {
            if (!makeCertificate()) {
                return QStringLiteral("openssl cannot make a certificate (Debian package openssl)");
            }
            tls = QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n")
                      .arg(certificate(), dir_.filePath(QStringLiteral("key.pem")));
        }
        port_ = FreePort();
        const QString config = dir_.filePath(QStringLiteral("config"));
        QFile file(config);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%3[auth]\ntype = none\n"
                                  "[storage]\nfilesystem_folder = %2\n[web]\ntype = none\n"
                                  "[logging]\nlevel = warning\n")
                       .arg(port_)
                       .arg(storage(), tls)
                       .toUtf8());
        file.close();
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(kSystemPython, {QStringLiteral("-m"), QStringLiteral("radicale"),
                                      QStringLiteral("--config"), config});
        server_.waitForStarted();
        const bool listening = QTest::qWaitFor(
            [this] {
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, quint16(port_));
                return server_.state() != QProcess::Running || socket.waitForConnected(200);
            },
            15000);
        if (!listening || server_.state() != QProcess::Running) {
            return QStringLiteral("Radicale did not start: %1")
                .arg(QString::fromLocal8Bit(server_.readAll()));
        }
        return QString();
    }

    ~Radicale() {
        server_.terminate();
        server_.waitForFinished(5000);
    }

    // The address of the user's collections, on the host named.
    QString home(const QString& host = QStringLiteral("127.0.0.1")) const {
        return QStringLiteral("%1://%2:%3/%4/").arg(scheme_, host).arg(port_).arg(kUser);
    }

    QUrl collection(const QString& name) const { return QUrl(home() + name + QLatin1Char('/')); }
    QString storage() const { return dir_.filePath(QStringLiteral("collections")); }
    // The server's own certificate, made for the address 127.0.0.1 only.
    QString certificate() const { return dir_.filePath(QStringLiteral("certificate.pem")); }

private:
    bool makeCertificate() {
        return QProcess::execute(
                   QStringLiteral("openssl"),
                   {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                    QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                    QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                    QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                    QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                    QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"),
                    dir_.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
                    certificate()}) == 0;
    }

    QTemporaryDir dir_;
    QProcess server_;
    QString scheme_;
    int port_ = 0;
};

class TestSync : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { server_.reset(); }

    void failures_data();
    void failures();
    void publishCycle_data();
    void publishCycle();
    void serverChangesAreNeverOverwritten();
    void lostStateDoesNotDuplicate();
    void stateSurvivesTheFile();
    void commandPublishesTheData();
    void commandOverHttps_data();
    void commandOverHttps();

private:
    std::unique_ptr<Radicale> server_;
};

void TestSync::init() {
    if (QByteArray(QTest::currentTestFunction()) == "stateSurvivesTheFile") {
        return;
    }
    server_ = std::make_unique<Radicale>();
    const bool tls = QByteArray(QTest::currentTestFunction()) == "commandOverHttps";
    const QString why =
        server_->start(tls ? Radicale::Transport::Https : Radicale::Transport::Http);
    if (!why.isEmpty()) {
        QSKIP(qPrintable(why));
    }
}

void TestSync::failures_data() {
    QTest::addColumn<bool>("serverDown");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no server on the port") << true << QStringLiteral("does not answer");
    QTest::newRow("an item the server refuses") << false << QStringLiteral("broken (400)");
}

void TestSync::failures() {
    QFETCH(bool, serverDown);
    QFETCH(QString, expected);
    QUrl collection = server_->collection(QStringLiteral("contacts"));
    if (serverDown) {
        collection.setPort(FreePort());
    }
    interchange::DavSession session(kUser, QStringLiteral("secret"));
    QHash<QString, interchange::PublishedItem> published;
    const QList<DavItem> items{Card(QStringLiteral("good"), QStringLiteral("Ελένη")),
                               {QStringLiteral("broken"), "BEGIN:VCARD\r\nFN\r\n"}};
    try {
        const PublishCounts counts = interchange::Publish(
            session, collection, CollectionKind::AddressBook, items, published);
        QVERIFY2(!serverDown, "a server that does not answer was reported as published");
        QCOMPARE(counts.refused, QStringList{expected});
        QCOMPARE(counts.created, 1);
        QCOMPARE(published.keys(), QStringList{QStringLiteral("good")});
    } catch (const interchange::SyncError& error) {
        QVERIFY2(serverDown, qPrintable(error.message()));
        QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
        QVERIFY(published.isEmpty());
    }
}

void TestSync::publishCycle_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("day tasks to a calendar")
        << int(CollectionKind::Calendar) << QStringLiteral("tasks");
    QTest::newRow("contacts to an address book")
        << int(CollectionKind::AddressBook) << QStringLiteral("contacts");
}

// Created, left alone when unchanged, replaced when changed here, deleted
// when removed here; the server's own parser reads every item.
void TestSync::publishCycle() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    const auto collectionKind = CollectionKind(kind);
    const auto make = collectionKind == CollectionKind::Calendar ? Event : Card;
    const QUrl collection = server_->collection(name);
    interchange::DavSession session(kUser, QStringLiteral("secret"));
    QHash<QString, interchange::PublishedItem> published;
    QList<DavItem> items{make(QStringLiteral("20080305-1@kavelo"), QStringLiteral("Πρώτο, α; β")),
                         make(QStringLiteral("20080305-2@kavelo"), QStringLiteral("Δεύτερο")),
                         make(QStringLiteral("20080229-3@kavelo"), QStringLiteral("Τρίτο"))};

    PublishCounts counts =
        interchange::Publish(session, collection, collectionKind, items, published);
    QCOMPARE(counts.created, 3);
    QCOMPARE(ListedItems(session, collection).size(), 3);

    counts = interchange::Publish(session, collection, collectionKind, items, published);
    QCOMPARE(counts.unchanged, 3);
    QCOMPARE(counts.created + counts.updated + counts.deleted, 0);

    items[1] = make(items[1].uid, QStringLiteral("Αλλαγμένο εδώ"));
    items.removeLast();
    counts = interchange::Publish(session, collection, collectionKind, items, published);
    QCOMPARE(counts.updated, 1);
    QCOMPARE(counts.deleted, 1);
    QCOMPARE(counts.unchanged, 1);
    QVERIFY(counts.conflicts.isEmpty());
    const QByteArray held = session.send("GET", QUrl(published.value(items[1].uid).href)).body;
    QVERIFY2(QString::fromUtf8(held).contains(QStringLiteral("Αλλαγμένο εδώ")), held.constData());
    QCOMPARE(ListedItems(session, collection).size(), 2);
    QCOMPARE(ParsedByServerLibrary(server_->storage()), QStringLiteral("parsed 2"));
}

// An item changed or removed on the server since it was published is left
// as the server has it, and said so.
void TestSync::serverChangesAreNeverOverwritten() {
    const QUrl collection = server_->collection(QStringLiteral("tasks"));
    interchange::DavSession session(kUser, QStringLiteral("secret"));
    QHash<QString, interchange::PublishedItem> published;
    QList<DavItem> items{Event(QStringLiteral("changed-there"), QStringLiteral("Αρχικό")),
                         Event(QStringLiteral("removed-here"), QStringLiteral("Αρχικό"))};
    interchange::Publish(session, collection, CollectionKind::Calendar, items, published);
    for (const DavItem& item : std::as_const(items)) {
        const DavItem changed = Event(item.uid, QStringLiteral("Από άλλο πρόγραμμα"));
        QVERIFY(session
                    .send("PUT", QUrl(published.value(item.uid).href),
                          {{"Content-Type", "text/calendar"}}, changed.text)
                    .status < 300);
    }

    const QList<DavItem> now{Event(QStringLiteral("changed-there"), QStringLiteral("Από εδώ"))};
    const PublishCounts counts =
        interchange::Publish(session, collection, CollectionKind::Calendar, now, published);
    QCOMPARE(counts.conflicts,
             (QStringList{QStringLiteral("changed-there"), QStringLiteral("removed-here")}));
    QCOMPARE(counts.updated + counts.deleted, 0);
    for (const DavItem& item : std::as_const(items)) {
        const QByteArray held = session.send("GET", QUrl(published.value(item.uid).href)).body;
        QVERIFY2(QString::fromUtf8(held).contains(QStringLiteral("Από άλλο πρόγραμμα")),
                 held.constData());
    }
}

// Without the record of the last publication (a new computer, a lost
// file), the items are not made twice and nothing on the server is
// overwritten.
void TestSync::lostStateDoesNotDuplicate() {
    const QUrl collection = server_->collection(QStringLiteral("contacts"));
    interchange::DavSession session(kUser, QStringLiteral("secret"));
    const QList<DavItem> items{Card(QStringLiteral("same"), QStringLiteral("Νίκος")),
                               Card(QStringLiteral("other"), QStringLiteral("Μαρία"))};
    QHash<QString, interchange::PublishedItem> first;
    interchange::Publish(session, collection, CollectionKind::AddressBook, items, first);

    QHash<QString, interchange::PublishedItem> lost;
    const QList<DavItem> again{items[0], Card(QStringLiteral("other"), QStringLiteral("Μαρία Κ."))};
    const PublishCounts counts =
        interchange::Publish(session, collection, CollectionKind::AddressBook, again, lost);
    QCOMPARE(counts.created, 0);
    QCOMPARE(counts.unchanged + counts.conflicts.size(), 2);
    QVERIFY(counts.conflicts.contains(QStringLiteral("other")));
    QCOMPARE(ListedItems(session, collection).size(), 2);
}

void TestSync::stateSurvivesTheFile() {
    QTemporaryDir folder;
    const QString path = interchange::SyncStatePath(folder.path());
    interchange::SyncState state;
    state.collection(QStringLiteral("http://h/anna/tasks/"))
        .insert(QStringLiteral("ü;,1"), {QStringLiteral("http://h/anna/tasks/x.ics"),
                                         QStringLiteral("\"e1\""), "\x01\xff"});
    state.save(path);
    interchange::SyncState loaded = interchange::SyncState::Load(path);
    const interchange::PublishedItem item =
        loaded.collection(QStringLiteral("http://h/anna/tasks/")).value(QStringLiteral("ü;,1"));
    QCOMPARE(item.etag, QStringLiteral("\"e1\""));
    QCOMPARE(item.digest, QByteArray("\x01\xff"));

    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"http://h/anna/tasks/\": {");
    damaged.close();
    QVERIFY_THROWS_EXCEPTION(interchange::SyncError, interchange::SyncState::Load(path));
}

namespace {

const QString kLoginPassword = QStringLiteral("Μυστικό 7");
const QString kServerPassword = QStringLiteral("server secret");

struct ProgramRun {
    int exitCode = -1;
    QString output;
    QString error;
};

// The built program as a user runs it, without a display.
ProgramRun RunProgram(const QString& dataFolder, const QStringList& arguments,
                      const QByteArray& typed = {}) {
    QProcess program;
    program.setProcessEnvironment(testsupport::TerminalEnvironment(dataFolder));
    program.setWorkingDirectory(QFileInfo(dataFolder).absolutePath());
    program.start(QStringLiteral(ORGANIZER_PROGRAM), arguments);
    program.write(typed);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000)) {
        return {-1, {}, QStringLiteral("the program did not end by itself")};
    }
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

QString SlotOfTen() {
    return QStringLiteral("[%1]").arg(store::SlotColumns().at(4));
}

// The login password, one filled slot and one contact.
void FillOrganizer(store::Connection& connection) {
    store::Execute(connection,
                   QStringLiteral("insert into ADMINISTRATOR_ACCOUNT (PASSWORD) values (?)"),
                   {accesscontrol::HashPassword(kLoginPassword)});
    store::Execute(
        connection,
        QStringLiteral("insert into RANTEBOU (HMEROMHNIA, %1) values (?, ?)").arg(SlotOfTen()),
        {QStringLiteral("2008-02-29"), QStringLiteral("Οδοντίατρος, 2ος όροφος")});
    store::Execute(connection,
                   QStringLiteral("insert into XRHSIMA_THLEFWNA (ONOMATEPWNYMO, THLEFWNO_1) "
                                  "values (?, ?)"),
                   {QStringLiteral("Ελένη Παππά"), QStringLiteral("210 1234567")});
}

QString WriteFileIn(const QTemporaryDir& folder, const QString& name, const QString& text) {
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8() + '\n');
    return file.fileName();
}

}  // namespace

// Both passwords from files, then both typed on standard input (the login
// password first) and the data folder given by --data-dir: a slot changed in
// between replaces the published item.
void TestSync::commandPublishesTheData() {
    testsupport::TestDatabase database;
    FillOrganizer(database.connection);
    database.connection.close();
    QTemporaryDir work;
    const QStringList sync{QStringLiteral("sync"), QStringLiteral("--url"), server_->home(),
                           QStringLiteral("--user"), kUser};
    ProgramRun run = RunProgram(
        database.work.path(),
        sync + QStringList{QStringLiteral("--login-password-file"),
                           WriteFileIn(work, QStringLiteral("login"), kLoginPassword),
                           QStringLiteral("--password-file"),
                           WriteFileIn(work, QStringLiteral("server"), kServerPassword)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.error));
    QVERIFY2(run.output.contains(
                 QStringLiteral("day tasks and notes: 1 created, 0 updated, 0 unchanged")),
             qPrintable(run.output));
    interchange::DavSession session(kUser, kServerPassword);
    const QUrl tasksCollection = server_->collection(QStringLiteral("kavelo-organizer-tasks"));
    const QStringList tasks = ListedItems(session, tasksCollection);
    QCOMPARE(tasks.size(), 1);
    QCOMPARE(ListedItems(session, server_->collection(QStringLiteral("kavelo-organizer-contacts")))
                 .size(),
             1);

    database.connection.reopen(database.work.connectionString());
    store::Execute(
        database.connection,
        QStringLiteral("update RANTEBOU set %1 = ? where HMEROMHNIA = ?").arg(SlotOfTen()),
        {QStringLiteral("Οδοντίατρος, 3ος όροφος"), QStringLiteral("2008-02-29")});
    database.connection.close();
    // The data folder named relative to where the command is given.
    run = RunProgram(
        database.work.path(),
        sync +
            QStringList{QStringLiteral("--data-dir"), QFileInfo(database.work.path()).fileName()},
        (kLoginPassword + QLatin1Char('\n') + kServerPassword + QLatin1Char('\n')).toUtf8());
    QVERIFY2(run.exitCode == 0, qPrintable(run.output + run.error));
    QVERIFY2(run.output.contains(
                 QStringLiteral("day tasks and notes: 0 created, 1 updated, 0 unchanged")),
             qPrintable(run.output));
    const QByteArray held =
        session.send("GET", tasksCollection.resolved(QUrl(tasks.constFirst()))).body;
    QVERIFY2(QString::fromUtf8(held).contains(QStringLiteral("3ος όροφος")), held.constData());
    QFile state(interchange::SyncStatePath(database.work.path()));
    QVERIFY(state.open(QIODevice::ReadOnly));
    QVERIFY(!state.readAll().contains(kServerPassword.toUtf8()));
    QCOMPARE(ParsedByServerLibrary(server_->storage()), QStringLiteral("parsed 2"));
}

void TestSync::commandOverHttps_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("trusted");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a certificate nobody vouches for")
        << "127.0.0.1" << QString() << 1 << "the certificate of https://127.0.0.1:";
    QTest::newRow("the certificate of another name") << "localhost"
                                                     << "server" << 1 << "is not trusted";
    QTest::newRow("a file without certificates")
        << "127.0.0.1"
        << "login" << 1 << "no certificate (PEM) can be read";
    QTest::newRow("the server's certificate given")
        << "127.0.0.1"
        << "server" << 0 << "day tasks and notes: 1 created";
}

// A certificate that cannot be checked stops the sync before the password
// is sent; trusting the server's own certificate is the only way past it.
void TestSync::commandOverHttps() {
    QFETCH(QString, host);
    QFETCH(QString, trusted);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    testsupport::TestDatabase database;
    FillOrganizer(database.connection);
    database.connection.close();
    QTemporaryDir work;
    const QString login = WriteFileIn(work, QStringLiteral("login"), kLoginPassword);
    QStringList arguments{QStringLiteral("sync"),
                          QStringLiteral("--url"),
                          server_->home(host),
                          QStringLiteral("--user"),
                          kUser,
                          QStringLiteral("--login-password-file"),
                          login,
                          QStringLiteral("--password-file"),
                          WriteFileIn(work, QStringLiteral("server"), kServerPassword)};
    if (!trusted.isEmpty()) {
        arguments << QStringLiteral("--ca-file")
                  << (trusted == QLatin1String("server") ? server_->certificate() : login);
    }
    const ProgramRun run = RunProgram(database.work.path(), arguments);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.output + run.error));
    QVERIFY2((run.output + run.error).contains(expected), qPrintable(run.output + run.error));

    interchange::DavSession session(kUser, kServerPassword,
                                    QSslCertificate::fromPath(server_->certificate()));
    QCOMPARE(
        ListedItems(session, server_->collection(QStringLiteral("kavelo-organizer-tasks"))).size(),
        exitCode == 0 ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestSync)
#include "tst_sync.moc"
